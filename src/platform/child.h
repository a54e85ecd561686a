// Running a piece of the program in a child process, for tests of what
// happens under faults (a file-size limit) or at process end.
#pragma once

#include <functional>

namespace platform {

// Runs body in a forked child whose files may grow to at most fileSizeLimit
// bytes (negative: no limit; SIGXFSZ ignored, so writes fail instead) and
// returns the child's exit code, or 128 + the signal that ended it.
int RunInChild(const std::function<int()>& body, long long fileSizeLimit = -1);

}  // namespace platform
