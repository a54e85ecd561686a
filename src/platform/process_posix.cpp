#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/process.h"

namespace platform {

std::vector<std::string> CommandArguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

const char* SystemName() { return "POSIX"; }

bool IsPositionalArgument(const std::string& arg) {
  // '-' starts an option, but alone it names standard input; '/' starts
  // one too, unless a second '/' makes it an absolute path.
  if (arg == "-") return true;
  if (arg.empty() || arg[0] == '-') return false;
  if (arg[0] == '/') return arg.find('/', 1) != std::string::npos;
  return true;
}

void WaitForEnter() {
  if (isatty(0) != 1) return;
  char c;
  for (;;) {
    ssize_t n = read(0, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n') return;
  }
}

void ErrWrite(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(2, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void ProcessExit(int code) { std::_Exit(code); }

}  // namespace platform
