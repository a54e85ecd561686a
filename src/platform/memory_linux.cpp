#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/memory.h"

namespace platform {

void Prefault(void* data, std::size_t size) {
  // Only whole pages inside the bytes: a page shared with other data is
  // left to fault as usual.
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
  // Linux 5.14 and later; an older kernel refuses it and the pages fault
  // one by one as before.
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

std::size_t LargeLength(std::size_t size) { return (size + kLargePage - 1) & ~(kLargePage - 1); }

}  // namespace

void* LargeAlloc(std::size_t size) {
  // Mapped a large page longer than needed, then cut to the aligned part:
  // transparent huge pages take only aligned 2 MiB spans. One fault a large
  // page instead of 512 matters most on virtual machines.
  const std::size_t length = LargeLength(size);
  void* raw = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto from = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t start = (from + kLargePage - 1) & ~(kLargePage - 1);
  if (start > from) munmap(raw, start - from);
  const std::uintptr_t tail = from + length + kLargePage - (start + length);
  if (tail > 0) munmap(reinterpret_cast<void*>(start + length), tail);
  madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);  // a hint: without it, small pages
  return reinterpret_cast<void*>(start);
}

void LargeFree(void* data, std::size_t size) {
  if (data != nullptr) munmap(data, LargeLength(size));
}

}  // namespace platform
