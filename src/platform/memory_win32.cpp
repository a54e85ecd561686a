#include "platform/memory.h"

namespace platform {

// Windows commits pages on first touch and has no call that fills a range
// of fresh private pages ahead; the hint is not taken.
void Prefault(void*, std::size_t) {}

// Large pages on Windows need a privilege users do not hold: ordinary
// memory serves.
void* LargeAlloc(std::size_t) { return nullptr; }
void LargeFree(void*, std::size_t) {}

}  // namespace platform
