// ListMan: the linked list behind every collection of the program. Items are
// addressed by 1-based position; a cursor remembers the node last reached, so
// a front-to-back pass that reads, deletes or replaces costs one step an item.
// Failures are recorded as codes (900-906) and never stop the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace listman {

inline constexpr int kErrChain = 900;       // ListClearAll met fewer nodes than Count
inline constexpr int kErrAboveCount = 901;  // delete position above Count
inline constexpr int kErrEmpty = 902;       // lookup or delete on an empty list
inline constexpr int kErrNoNode = 903;      // insert given no node
inline constexpr int kErrBelowOne = 904;    // insert or delete position below 1
inline constexpr int kErrNoList = 906;      // the operation was given no list

struct Node {
  void* Data = nullptr;
  Node* Next = nullptr;
  std::uint16_t Size = 0;  // 0: the list does not own the block
};

struct List {
  Node* First = nullptr;
  Node* Cursor = nullptr;
  std::int32_t Count = 0;
  std::int32_t CursorIndex = 0;  // 0: no cursor
  std::int32_t LastError = 0;
  // Kept so that appends, and deletes at or just after the cursor, stay O(1).
  Node* Last = nullptr;
  Node* CursorPrev = nullptr;  // the node before Cursor, when CursorPrevKnown
  bool CursorPrevKnown = false;
};

// Module-wide: 906 after an operation given no list, 0 after ListCheck of a list.
extern std::int32_t ListError;

void ListCreate(List*& list);
// 906 for a null list, else 0; also stored in ListError.
std::int32_t ListCheck(const List* list);
// Node at position (wrapping above Count, below 1 means 1); null when none.
Node* ListGetNode(List* list, std::int32_t position);
void* ListGet(List* list, std::int32_t position);
// Links a ready node in at position; above Count + 1 it is appended.
void ListInsertNode(List* list, Node* node, std::int32_t position);
void ListAddAt(List* list, void* block, std::uint16_t size, std::int32_t position);
void ListAppend(List* list, void* block, std::uint16_t size);
void ListAppendCopy(List* list, const void* block, std::uint16_t size);
void ListDeleteNode(List* list, std::int32_t position, bool freeBlock);
void ListDelete(List* list, std::int32_t position);
void ListRemove(List* list, std::int32_t position);
void ListClear(List* list);
void ListClearAll(List* list);
void ListDispose(List*& list);
void ListDisposeAll(List*& list);
// New destination with private copies of owned blocks (an old list is not released).
void ListCopy(List* source, List*& destination);
// Inserts copies of the source items at start, start + 1, ...; creates destination.
void ListInsertList(List* source, List*& destination, std::int32_t start);

// Blocks owned by lists come from here and go back here.
void* BlockAlloc(std::uint16_t size);
void BlockFree(void* block);

// Makes room for blocks and nodes of about `bytes` in all in one piece,
// made ready at once: a caller about to store a large text says so first.
void BlocksAhead(std::size_t bytes);

// Blocks a list owns may also be made by a store of another module (lines
// kept where a file's bytes lie): when such a block is freed, the store's
// claim takes it back and answers true; it answers false for every other
// block. One store at a time; the one before is returned.
using BlockClaim = bool (*)(void* block);
BlockClaim SetBlockStore(BlockClaim claim);

}  // namespace listman
