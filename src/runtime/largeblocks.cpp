// The program's allocation functions: blocks of a megabyte or more (a large
// reply's bytes, its decoded text, the piece its lines are stored in) come
// from platform::LargeAlloc, on large pages; everything else from malloc as
// usual. Linked into the program only (the sanitizers bring their own).
// It assumes one thread, as the program has: its table of large blocks is
// not guarded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/memory.h"

namespace {

constexpr std::size_t kLarge = std::size_t{1} << 20;
constexpr int kSlots = 32;  // large blocks alive at once; more take malloc

struct LargeBlock {
  void* data;
  std::size_t size;
};

// Constant-initialised: nothing runs before main.
LargeBlock blocks[kSlots] = {};
std::uintptr_t lowest = UINTPTR_MAX, highest = 0;  // the addresses blocks span

void* Large(std::size_t size) {
  for (LargeBlock& b : blocks) {
    if (b.data != nullptr) continue;
    b.data = platform::LargeAlloc(size);
    if (b.data == nullptr) return nullptr;
    b.size = size;
    const auto at = reinterpret_cast<std::uintptr_t>(b.data);
    if (at < lowest) lowest = at;
    if (at + size > highest) highest = at + size;
    return b.data;
  }
  return nullptr;
}

// Gives a large block back; false when p is none.
bool FreeLarge(void* p) {
  const auto at = reinterpret_cast<std::uintptr_t>(p);
  if (at < lowest || at >= highest) return false;
  for (LargeBlock& b : blocks) {
    if (b.data != p) continue;
    platform::LargeFree(b.data, b.size);
    b.data = nullptr;
    return true;
  }
  return false;
}

}  // namespace

void* operator new(std::size_t size) {
  if (size >= kLarge) {
    if (void* p = Large(size)) return p;
  }
  for (;;) {
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void operator delete(void* p) noexcept {
  if (p != nullptr && !FreeLarge(p)) std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
