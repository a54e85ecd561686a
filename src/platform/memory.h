// Memory the program is about to fill: each fresh page costs a fault when
// first touched, and a large reply touches thousands of them; large blocks
// go on large pages where the system has them.
#pragma once

#include <cstddef>

namespace platform {

// Asks the system to back the bytes with pages now, in one call, rather than
// one fault a page as they are written. Only a hint: nothing happens where
// the system cannot do it, and the bytes are left as they were.
void Prefault(void* data, std::size_t size);

// A block of size bytes (a megabyte or more is worth it) on the system's
// large pages where it allows them: 2 MiB aligned, its pages made on first
// touch. Null when the system has no such memory to give; the caller then
// takes ordinary memory. Given back with LargeFree and the same size.
void* LargeAlloc(std::size_t size);
void LargeFree(void* data, std::size_t size);

}  // namespace platform
