#include "platform/memory.h"

namespace platform {

// Windows commits pages on first touch and has no call that fills a range
// of fresh private pages ahead; the hint is not taken.
void Prefault(void*, std::size_t) {}

}  // namespace platform
