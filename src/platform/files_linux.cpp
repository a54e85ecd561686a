// File calls only Linux has: the executable's path from /proc and the
// rename that never replaces.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/files.h"
#include "platform/files_posix.h"

namespace platform {

bool FileRename(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return FailErrno(errno == ENOENT ? from : to, true);
  // A file system without RENAME_NOREPLACE: test first, then rename.
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) {
    IoSet(5);
    return false;
  }
  if (rename(from.c_str(), to.c_str()) != 0) return FailErrno(to, true);
  return true;
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace platform
