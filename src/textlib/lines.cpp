#include "textlib/lines.h"

#include <cstring>

namespace lines {

using namespace listman;

namespace {

// A line's block: one byte (the length's low byte; it marks the start of a
// line stored in place) followed by the text. The node's size, one more
// than the text's bytes, is the length: a line of 255 characters may take
// more than 255 bytes.
unsigned char* NewBlock(std::string_view text) {
  const std::size_t len = units::Head(text, shortstr::kMaxLen);  // cut at 255 characters
  auto* block = static_cast<unsigned char*>(BlockAlloc(static_cast<std::uint16_t>(len + 1)));
  block[0] = static_cast<unsigned char>(len);
  if (len > 0) std::memcpy(block + 1, text.data(), len);
  return block;
}

std::size_t StoredLength(const Node* node) { return node->Size - 1u; }

void InsertBytes(List* list, std::string_view text, std::uint16_t position) {
  if (ListCheck(list) != 0) return;
  if (position < 1) {
    list->LastError = kErrBelowOne;
    return;
  }
  const std::size_t len = units::Head(text, shortstr::kMaxLen);
  unsigned char* block = NewBlock(text.substr(0, len));
  ListAddAt(list, block, static_cast<std::uint16_t>(len + 1), position);
}

}  // namespace

void LineInsert(List* list, const ShortStr& text, std::uint16_t position) {
  InsertBytes(list, text.View(), position);
}

void LineAdd(List* list, const ShortStr& text) {
  if (ListCheck(list) != 0) return;
  LineInsert(list, text, static_cast<std::uint16_t>(list->Count + 1));
}

void LineAddBytes(List* list, std::string_view text) {
  if (ListCheck(list) != 0) return;
  InsertBytes(list, text, static_cast<std::uint16_t>(list->Count + 1));
}

void LineAddInPlace(List* list, char* at, std::uint8_t len) {
  if (ListCheck(list) != 0) return;
  *at = static_cast<char>(len);
  ListAppend(list, at, static_cast<std::uint16_t>(len + 1));
}

ShortStr LineOfNode(const Node* node) {
  ShortStr out;
  const auto* block = static_cast<const unsigned char*>(node->Data);
  out.len = static_cast<std::uint16_t>(StoredLength(node));
  std::memcpy(out.s, block + 1, out.len);
  return out;
}

std::span<unsigned char> BytesOfNode(Node* node) {
  return {static_cast<unsigned char*>(node->Data) + 1, StoredLength(node)};
}

std::string_view ViewOfNode(const Node* node) {
  const auto* block = static_cast<const char*>(node->Data);
  return std::string_view(block + 1, StoredLength(node));
}

void LineGet(List* list, std::int32_t position, ShortStr& out) {
  if (ListCheck(list) != 0) return;
  Node* node = ListGetNode(list, position);
  out = node == nullptr ? ShortStr() : LineOfNode(node);
}

ShortStr LineAt(List* list, std::int32_t position) {
  ShortStr out;
  LineGet(list, position, out);
  return out;
}

void LineReplace(List* list, const ShortStr& text, std::uint16_t position) {
  if (ListCheck(list) != 0) return;
  ListDelete(list, position);
  LineInsert(list, text, position);
}

void LineSet(List* list, std::int32_t position, const ShortStr& text) {
  if (ListCheck(list) != 0 || position < 1 || position > list->Count) return;
  Node* node = ListGetNode(list, position);
  if (node->Size > text.len) {
    // The new text fits where the old one lies: no new block, no fresh page.
    auto* block = static_cast<unsigned char*>(node->Data);
    block[0] = static_cast<unsigned char>(text.len);
    std::memcpy(block + 1, text.s, text.len);
    node->Size = static_cast<std::uint16_t>(text.len + 1);
    return;
  }
  if (node->Size > 0) BlockFree(node->Data);
  node->Data = NewBlock(text.View());
  node->Size = static_cast<std::uint16_t>(text.len + 1);
}

std::int32_t LineReplaceChar(List* list, unsigned char from, unsigned char to) {
  if (ListCheck(list) != 0) return -1;
  std::int32_t count = 0;
  for (Node* node = list->First; node != nullptr; node = node->Next) {
    auto* block = static_cast<unsigned char*>(node->Data);
    for (std::size_t i = 1; i <= StoredLength(node); ++i) {
      if (block[i] == from) {
        block[i] = to;
        ++count;
      }
    }
  }
  return count;
}

}  // namespace lines
