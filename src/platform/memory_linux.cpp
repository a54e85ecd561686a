#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/memory.h"

namespace platform {

namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

std::size_t LargeLength(std::size_t size) { return (size + kLargePage - 1) & ~(kLargePage - 1); }

// The offset from p up to the next multiple of align (0 when p is one).
std::size_t ToBoundary(const void* p, std::uintptr_t align) {
  const auto at = reinterpret_cast<std::uintptr_t>(p);
  return static_cast<std::size_t>((align - at % align) % align);
}

}  // namespace

void Prefault(void* data, std::size_t size) {
  // Only whole pages inside the bytes: a page shared with other data is
  // left to fault as usual.
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::size_t skip = ToBoundary(data, page);
  if (size <= skip) return;
  const std::size_t length = (size - skip) / page * page;
  // Linux 5.14 and later; an older kernel refuses it and the pages fault
  // one by one as before.
  if (length > 0) madvise(static_cast<char*>(data) + skip, length, MADV_POPULATE_WRITE);
}

void* LargeAlloc(std::size_t size) {
  // Mapped a large page longer than needed, then cut to the aligned part:
  // transparent huge pages take only aligned 2 MiB spans. One fault a large
  // page instead of 512 matters most on virtual machines.
  const std::size_t length = LargeLength(size);
  void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  char* raw = static_cast<char*>(mapped);
  const std::size_t head = ToBoundary(raw, kLargePage);
  char* start = raw + head;
  if (head > 0) munmap(raw, head);
  munmap(start + length, kLargePage - head);  // the rest past the aligned part
  madvise(start, length, MADV_HUGEPAGE);  // a hint: without it, small pages
  return start;
}

void LargeFree(void* data, std::size_t size) {
  if (data != nullptr) munmap(data, LargeLength(size));
}

}  // namespace platform
