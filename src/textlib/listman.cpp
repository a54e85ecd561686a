#include "textlib/listman.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory.h"

namespace listman {

std::int32_t ListError = 0;

namespace {

// Blocks and nodes come from chunks (64 KiB at first), each size class (16
// bytes apart) with a free list of its own: a message of 65,535 lines costs
// a few calls to the allocator instead of 130,000. A block carries its
// class in the 8 bytes before it; a large one (class 0) comes from the
// allocator itself. The chunks stay until the process ends.
constexpr std::size_t kHeader = 8, kGrain = 16, kClasses = 18, kChunk = 64 * 1024;
// Chunks grow with the pool, up to a size that the allocator puts on large
// pages: a pool that has grown large goes on growing.
constexpr std::size_t kLargestChunk = 2 * 1024 * 1024;

}  // namespace

namespace {

struct Pool {
  std::size_t total = 0;       // bytes in all chunks
  BlockClaim claim = nullptr;  // the store of blocks made elsewhere
  std::vector<char*> chunks;
  char* next = nullptr;
  char* end = nullptr;
  char* free[kClasses] = {};
};

Pool& ThePool() {
  static Pool* pool = new Pool();  // never destroyed: blocks may be freed at exit
  return *pool;
}

void NewChunk(Pool& p, std::size_t size) {
  p.chunks.push_back(static_cast<char*>(::operator new(size)));
  p.total += size;
  p.next = p.chunks.back();
  p.end = p.next + size;
}

void* PoolAlloc(std::size_t size) {
  const std::size_t total = size + kHeader;
  const std::size_t cls = (total + kGrain - 1) / kGrain;
  char* raw;
  if (cls >= kClasses) {
    // operator new throws on failure, which ends the run as a fatal error.
    raw = static_cast<char*>(::operator new(total));
    const std::uint64_t large = 0;
    std::memcpy(raw, &large, kHeader);
    return raw + kHeader;
  }
  Pool& p = ThePool();
  if (p.free[cls] != nullptr) {
    raw = p.free[cls];
    std::memcpy(&p.free[cls], raw + kHeader, sizeof(char*));
  } else {
    const std::size_t bytes = cls * kGrain;
    if (static_cast<std::size_t>(p.end - p.next) < bytes) {
      NewChunk(p, p.total < kChunk ? kChunk : p.total < kLargestChunk ? p.total : kLargestChunk);
    }
    raw = p.next;
    p.next += bytes;
  }
  const std::uint64_t header = cls;
  std::memcpy(raw, &header, kHeader);
  return raw + kHeader;
}

// Gives a block made by PoolAlloc back.
void PoolGiveBack(Pool& p, void* block) {
  char* raw = static_cast<char*>(block) - kHeader;
  std::uint64_t cls;
  std::memcpy(&cls, raw, kHeader);
  if (cls == 0) {
    ::operator delete(raw);
    return;
  }
  std::memcpy(raw + kHeader, &p.free[cls], sizeof(char*));
  p.free[cls] = raw;
}

// Frees a block, which the store may claim as its own.
void PoolFree(void* block) {
  Pool& pool = ThePool();
  if (pool.claim != nullptr && pool.claim(block)) return;
  PoolGiveBack(pool, block);
}

Node* NewNode(void* block, std::uint16_t size) {
  return new (PoolAlloc(sizeof(Node))) Node{block, nullptr, size};
}

void DeleteNode(Node* node) {
  node->~Node();
  PoolGiveBack(ThePool(), node);  // nodes never lie in a region
}

}  // namespace

void* BlockAlloc(std::uint16_t size) { return PoolAlloc(size == 0 ? 1 : size); }

void BlockFree(void* block) { PoolFree(block); }

void BlocksAhead(std::size_t bytes) {
  Pool& p = ThePool();
  if (bytes <= kChunk || static_cast<std::size_t>(p.end - p.next) >= bytes) return;
  NewChunk(p, bytes);
  platform::Prefault(p.next, bytes);
}

BlockClaim SetBlockStore(BlockClaim claim) { return std::exchange(ThePool().claim, claim); }

namespace {

bool NoList(const List* list) {
  if (list != nullptr) return false;
  ListError = kErrNoList;
  return true;
}

void DropCursor(List* list) {
  list->Cursor = nullptr;
  list->CursorIndex = 0;
  list->CursorPrevKnown = false;
}

void SetCursor(List* list, Node* node, std::int32_t index, Node* prev, bool prevKnown) {
  list->Cursor = node;
  list->CursorIndex = index;
  list->CursorPrev = prev;
  list->CursorPrevKnown = prevKnown;
}

// Links node after the last one of a list that has nodes: no walk to the
// node before it.
void Append(List* list, Node* node) {
  Node* before = list->Last;
  node->Next = nullptr;
  before->Next = node;
  list->Last = node;
  ++list->Count;
  SetCursor(list, node, list->Count, before, true);
  list->LastError = 0;
}

void FreeNode(Node* node, bool freeBlock) {
  if (freeBlock && node->Size > 0) BlockFree(node->Data);
  DeleteNode(node);
}

}  // namespace

void ListCreate(List*& list) { list = new List(); }

std::int32_t ListCheck(const List* list) {
  ListError = list == nullptr ? kErrNoList : 0;
  return ListError;
}

Node* ListGetNode(List* list, std::int32_t position) {
  if (NoList(list)) return nullptr;
  if (list->Count == 0) {
    list->LastError = kErrEmpty;
    return nullptr;
  }
  if (list->CursorIndex > 0 && position == list->CursorIndex) {
    list->LastError = 0;
    return list->Cursor;
  }
  if (position > list->Count) position = (position - 1) % list->Count + 1;
  if (position < 1) position = 1;
  Node* node;
  Node* prev = nullptr;
  bool prevKnown = false;
  std::int32_t index;
  if (position == list->Count && list->CursorIndex != position - 1) {
    node = list->Last;
    index = position;
  } else if (list->CursorIndex > 0 && list->CursorIndex <= position) {
    node = list->Cursor;
    prev = list->CursorPrev;
    prevKnown = list->CursorPrevKnown;
    index = list->CursorIndex;
  } else {
    node = list->First;
    prevKnown = true;
    index = 1;
  }
  for (; index < position; ++index) {
    prev = node;
    prevKnown = true;
    node = node->Next;
  }
  SetCursor(list, node, position, prev, prevKnown);
  list->LastError = 0;
  return node;
}

void* ListGet(List* list, std::int32_t position) {
  Node* node = ListGetNode(list, position);
  return node == nullptr ? nullptr : node->Data;
}

void ListInsertNode(List* list, Node* node, std::int32_t position) {
  if (NoList(list)) return;
  if (node == nullptr) {
    list->LastError = kErrNoNode;
    return;
  }
  if (position < 1) {
    list->LastError = kErrBelowOne;
    return;
  }
  if (position > list->Count + 1) position = list->Count + 1;
  Node* before = nullptr;
  if (list->Count == 0) {
    node->Next = nullptr;
    list->First = list->Last = node;
  } else if (position == 1) {
    node->Next = list->First;
    list->First = node;
  } else if (position == list->Count + 1) {
    return Append(list, node);
  } else {
    if (list->CursorIndex >= position) DropCursor(list);
    before = ListGetNode(list, position - 1);
    node->Next = before->Next;
    before->Next = node;
    if (before == list->Last) list->Last = node;
  }
  ++list->Count;
  SetCursor(list, node, position, before, true);
  list->LastError = 0;
}

void ListAddAt(List* list, void* block, std::uint16_t size, std::int32_t position) {
  if (NoList(list)) return;
  if (position < 1) {
    list->LastError = kErrBelowOne;
    return;
  }
  ListInsertNode(list, NewNode(block, size), position);
}

void ListAppend(List* list, void* block, std::uint16_t size) {
  if (NoList(list)) return;
  Node* node = NewNode(block, size);
  // A text's lines are added so, one by one: straight after the last node.
  if (list->Count > 0)
    Append(list, node);
  else
    ListInsertNode(list, node, 1);
}

void ListAppendCopy(List* list, const void* block, std::uint16_t size) {
  if (NoList(list)) return;
  void* copy = BlockAlloc(size);
  std::memcpy(copy, block, size);
  ListAppend(list, copy, size);
}

void ListDeleteNode(List* list, std::int32_t position, bool freeBlock) {
  if (NoList(list)) return;
  if (position < 1) {
    list->LastError = kErrBelowOne;
    return;
  }
  if (list->Count == 0) {
    list->LastError = kErrEmpty;
    return;
  }
  if (position > list->Count) {
    list->LastError = kErrAboveCount;
    return;
  }
  Node* gone;
  if (list->Count == 1) {
    gone = list->First;
    list->First = list->Last = nullptr;
    DropCursor(list);
  } else if (position == 1) {
    gone = list->First;
    list->First = gone->Next;
    SetCursor(list, list->Last, list->Count - 1, nullptr, false);
  } else {
    // Deleting at the cursor needs the node before it, which the cursor
    // remembers when it got there by a forward step.
    Node* before =
        list->CursorIndex == position && list->CursorPrevKnown && list->CursorPrev != nullptr
            ? list->CursorPrev
            : ListGetNode(list, position - 1);
    gone = before->Next;
    before->Next = gone->Next;
    if (gone == list->Last) list->Last = before;
    SetCursor(list, before, position - 1, nullptr, false);
  }
  --list->Count;
  list->LastError = 0;
  FreeNode(gone, freeBlock);
}

void ListDelete(List* list, std::int32_t position) { ListDeleteNode(list, position, true); }

void ListRemove(List* list, std::int32_t position) { ListDeleteNode(list, position, false); }

void ListClear(List* list) {
  if (NoList(list)) return;
  // Unlinking from the front keeps this linear; the result is the same as
  // removing the last item again and again.
  while (list->Count > 0) ListRemove(list, 1);
}

void ListClearAll(List* list) {
  if (NoList(list)) return;
  std::int32_t seen = 0;
  for (Node* node = list->First; node != nullptr; ++seen) {
    Node* next = node->Next;
    FreeNode(node, true);
    node = next;
  }
  std::int32_t expected = list->Count;
  list->First = list->Last = nullptr;
  DropCursor(list);
  list->Count = 0;
  list->LastError = seen < expected ? kErrChain : 0;
}

void ListDispose(List*& list) {
  if (NoList(list)) return;
  ListClear(list);
  delete list;
  list = nullptr;
}

void ListDisposeAll(List*& list) {
  if (NoList(list)) return;
  ListClearAll(list);
  delete list;
  list = nullptr;
}

void ListCopy(List* source, List*& destination) {
  if (NoList(source)) return;
  ListCreate(destination);
  for (Node* node = source->First; node != nullptr; node = node->Next) {
    if (node->Size > 0)
      ListAppendCopy(destination, node->Data, node->Size);
    else
      ListAppend(destination, node->Data, 0);
  }
}

void ListInsertList(List* source, List*& destination, std::int32_t start) {
  if (NoList(source)) return;
  if (destination == nullptr) ListCreate(destination);
  std::uint16_t i = 0;
  for (Node* node = source->First; node != nullptr && i < 0xFFFF; node = node->Next) {
    ++i;
    void* block = node->Data;
    if (node->Size > 0) {
      block = BlockAlloc(node->Size);
      std::memcpy(block, node->Data, node->Size);
    }
    ListAddAt(destination, block, node->Size, start + i - 1);
  }
}

}  // namespace listman
