// Shared by the POSIX file calls (not part of the platform interface).
#pragma once

#include <string>

namespace platform {

// Leaves the program's code for errno pending (name: the file concerned,
// to tell a missing file from a missing folder); always false.
bool FailErrno(const std::string& name, bool writing);

}  // namespace platform
