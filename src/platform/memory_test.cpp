#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

// A large block is aligned to a large page and all of it can be written;
// where the system gives none, null (and the program takes malloc's).
TEST(LargeBlocks, AreAlignedWritableAndGivenBack) {
  for (std::size_t size : {std::size_t{1} << 20, (std::size_t{3} << 20) + 17}) {
    void* block = LargeAlloc(size);
    if (block == nullptr) GTEST_SKIP() << "no large blocks on this system";
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (std::uintptr_t{2} << 20), 0u);
    std::memset(block, 0x5A, size);
    EXPECT_EQ(static_cast<unsigned char*>(block)[size - 1], 0x5A);
    LargeFree(block, size);
  }
  char bytes[64] = {};
  Prefault(bytes, sizeof bytes);  // a hint only: the bytes stay as they were
  EXPECT_EQ(bytes[10], 0);
}

}  // namespace
}  // namespace platform
