#include "app/letters.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "textlib/lines.h"

namespace letters {

namespace {

constexpr unsigned char kCyrillicEn = 0x8D, kCyrillicEr = 0xE0;  // Н, р

// Sixteen bytes at a time (the compiler's vector types: SSE2 on x86-64,
// NEON on ARM). A byte once swapped matches neither letter again, so the
// last block may overlap the one before it.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

// The bytes of x that are 0xFF (the others are 0), by one multiplication
// that adds the low bit of each byte into the top one.
std::int32_t Ones(std::uint64_t x) {
  constexpr std::uint64_t kLowBits = 0x0101010101010101u;
  return static_cast<std::int32_t>(((x & kLowBits) * kLowBits) >> 56);
}

std::int32_t SwapBlock(unsigned char* at) {
  Bytes16 block;
  std::memcpy(&block, at, 16);
  const Bytes16 en = block == kCyrillicEn, er = block == kCyrillicEr;
  const Bytes16 either = en | er;
  std::uint64_t half[2];
  std::memcpy(half, &either, 16);
  if ((half[0] | half[1]) == 0) return 0;
  block = (block & ~either) | (en & 'H') | (er & 'p');
  std::memcpy(at, &block, 16);
  return Ones(half[0]) + Ones(half[1]);
}

std::int32_t SwapLine(std::span<unsigned char> bytes) {
  std::int32_t count = 0;
  const std::size_t n = bytes.size();
  if (n < 16) {
    for (unsigned char& c : bytes) {
      if (c == kCyrillicEn || c == kCyrillicEr) {
        c = c == kCyrillicEn ? 'H' : 'p';
        ++count;
      }
    }
    return count;
  }
  for (std::size_t i = 0; i + 16 <= n; i += 16) count += SwapBlock(bytes.data() + i);
  if (n % 16 != 0) count += SwapBlock(bytes.data() + n - 16);
  return count;
}

}  // namespace

std::int32_t LatinHAndP(listman::List* list) {
  if (listman::ListCheck(list) != 0) return -1;
  std::int32_t count = 0;
  for (listman::Node* node = list->First; node != nullptr; node = node->Next)
    count += SwapLine(lines::BytesOfNode(node));
  return count;
}

}  // namespace letters
