// Line lists: ListMan lists whose items are short strings, stored as blocks of
// one byte and the text (the node's size is the text's length + 1). Inserting operations take
// 16-bit positions, so a list of 65,535 lines refuses LineAdd with 904; reads take any position.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace lines {

using listman::List;
using shortstr::ShortStr;

// Stores a copy of text at position; position 0 records 904 and stores nothing.
void LineInsert(List* list, const ShortStr& text, std::uint16_t position);
// LineInsert at Count + 1 taken to 16 bits.
void LineAdd(List* list, const ShortStr& text);
// LineAdd of bytes as they stand (cut at 255 characters), without a copy first.
void LineAddBytes(List* list, std::string_view text);
// LineAdd of the len (at most 255) bytes after `at`, stored where they lie:
// the byte at `at` becomes the length. The caller gives up that byte, which
// must belong to no other line, and the block is a store's (listman
// SetBlockStore), which takes it back when the line goes.
void LineAddInPlace(List* list, char* at, std::uint8_t len);
// The stored line at position (wrapping), empty when the list is empty;
// with no list, ListError = 906 and out stays as it was.
void LineGet(List* list, std::int32_t position, ShortStr& out);
// Convenience form of LineGet returning the line (empty with no list).
ShortStr LineAt(List* list, std::int32_t position);
// ListDelete at position, then LineInsert of text there.
void LineReplace(List* list, const ShortStr& text, std::uint16_t position);
// The line stored in a node of a line list.
ShortStr LineOfNode(const listman::Node* node);
// The stored bytes of a line node, without a copy (valid while the node is).
std::string_view ViewOfNode(const listman::Node* node);
// The same bytes to change in place (a stage that swaps bytes one for one).
std::span<unsigned char> BytesOfNode(listman::Node* node);
// Replaces the line at any 1-based position in place (no 16-bit limit);
// nothing happens outside 1..Count.
void LineSet(List* list, std::int32_t position, const ShortStr& text);
// Replaces every from byte by to in every line in place; the number of bytes
// replaced, 0 for an empty list, -1 (ListError 906) with no list.
std::int32_t LineReplaceChar(List* list, unsigned char from, unsigned char to);
// Number of lines, 0 with no list.
inline std::int32_t LineCount(const List* list) { return list ? list->Count : 0; }

}  // namespace lines
