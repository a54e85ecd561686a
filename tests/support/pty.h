// Test support: running a piece of a test program on a pseudo-terminal,
// and the few terminal facts tests look at. Used by tests only.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace support {

struct PtyRun {
  int exitCode = -1;
  std::string output;
};

// Runs child in a forked process on a pseudo-terminal (TERM=xterm, no
// locale, output bytes untranslated). The child calls Ready() when it is
// ready; then each chunk of input is typed after its delay in ms.
PtyRun OnPty(const std::function<int()>& child,
             const std::vector<std::pair<int, std::string>>& typing = {});
// In the child: tells OnPty that typing may start.
void Ready();
// The canonical-mode and echo bits of standard input's terminal mode.
unsigned LineModeOfStdin();
// Makes standard input an empty pipe until RestoreStdin.
void StdinFromPipe();
void RestoreStdin();

}  // namespace support
