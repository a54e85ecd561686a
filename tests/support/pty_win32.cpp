// Pseudo-terminals are POSIX only: the tests that need one are left out of
// the Windows test run (see CMakeLists.txt); these fail if called anyway.
#include <gtest/gtest.h>

#include "support/pty.h"

namespace support {

PtyRun OnPty(const std::function<int()>&, const std::vector<std::pair<int, std::string>>&) {
  ADD_FAILURE() << "no pseudo-terminal on Windows";
  return {};
}
void Ready() {}
unsigned LineModeOfStdin() { return 0; }
void StdinFromPipe() {}
void RestoreStdin() {}

}  // namespace support
