// Memory the program is about to fill: each fresh page costs a fault when
// first touched, and a large reply touches thousands of them.
#pragma once

#include <cstddef>

namespace platform {

// Asks the system to back the bytes with pages now, in one call, rather than
// one fault a page as they are written. Only a hint: nothing happens where
// the system cannot do it, and the bytes are left as they were.
void Prefault(void* data, std::size_t size);

}  // namespace platform
