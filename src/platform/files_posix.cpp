#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/files_common.h"
#include "platform/files_posix.h"

namespace platform {
namespace {

int Fd(Handle handle) { return static_cast<int>(handle); }

bool ParentMissing(const std::string& name) {
  size_t slash = name.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return false;
  struct stat st;
  return stat(name.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode);
}

// Maps errno to the program's error codes; never 0.
int CodeOf(int err, const std::string& name, bool writing) {
  switch (err) {
    case ENOENT: return ParentMissing(name) ? 3 : 2;
    case ENOTDIR: return 3;
    case EMFILE: case ENFILE: return 4;
    case EACCES: case EPERM: case EROFS: case EISDIR: case EEXIST: return 5;
    case EBADF: return 6;
    case ENOSPC: case EDQUOT: case EFBIG: return 101;
    case EIO: return writing ? 101 : 100;
    case ENAMETOOLONG: return 3;
    default: return writing ? 101 : 100;
  }
}

bool Fail(const std::string& name = "", bool writing = false) {
  IoSet(CodeOf(errno, name, writing));
  return false;
}

bool OpenRegular(const std::string& name, int flags, Handle& handle) {
  int fd;
  // Never wait on a FIFO: it is refused below like any file that is not regular.
  do fd = open(name.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return Fail(name, (flags & O_ACCMODE) != O_RDONLY);
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    IoSet(5);  // a directory, device or pipe is not a text file
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  handle = fd;
  return true;
}

std::string FolderOf(const std::string& name) {
  size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? "" : name.substr(0, slash + 1);
}

// True when no live run holds the file (a run holds its temporary file
// locked while it writes it).
bool Abandoned(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

// Removes temporary files that killed runs left for the same target.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st;
    std::string path = folder + name;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && Abandoned(path)) {
      unlink(path.c_str());
    }
  }
  closedir(dir);
}

bool Holds(int fd, const std::string& name) {
  struct stat held, named;
  return fstat(fd, &held) == 0 && stat(name.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

void SyncFolder(const std::string& name) {
  std::string folder = FolderOf(name);
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A copy of from as to (a new file), for file systems without hard links.
bool CopyFile(const std::string& from, const std::string& to) {
  Handle in;
  if (!OpenRegular(from, O_RDONLY, in)) return false;
  struct stat st;
  fstat(Fd(in), &st);
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
  if (out < 0) {
    close(Fd(in));
    return Fail(to, true);
  }
  char buffer[1 << 16];
  long n;
  bool ok = true;
  while (ok && (n = FileRead(in, buffer, sizeof buffer)) > 0) ok = FileWrite(out, buffer, static_cast<size_t>(n));
  ok = ok && n == 0 && fsync(out) == 0;
  close(Fd(in));
  if (close(out) != 0) ok = false;
  if (!ok) {
    const int code = IoResult();
    IoSet(code != 0 ? code : 101);
    unlink(to.c_str());
  }
  return ok;
}

}  // namespace

Kind KindOf(const std::string& name) {
  struct stat st;
  if (name.empty() || stat(name.c_str(), &st) != 0) return Kind::Missing;
  if (S_ISREG(st.st_mode)) return Kind::Regular;
  return S_ISDIR(st.st_mode) ? Kind::Directory : Kind::Other;
}

std::string FollowLinks(const std::string& name) {
  std::string path = name;
  for (int hop = 0; hop < 40; ++hop) {
    char target[PATH_MAX];
    ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) break;
    std::string next(target, static_cast<size_t>(n));
    path = next[0] == '/' ? next : FolderOf(path).append(next);
  }
  return path;
}

namespace {

// True when both names exist and stand for the same file (links followed).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat x, y;
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace

bool SameEntry(const std::string& a, const std::string& b) {
  struct stat x, y;
  if (lstat(a.c_str(), &x) != 0 || lstat(b.c_str(), &y) != 0) return false;
  const std::string folderA = FolderOf(a), folderB = FolderOf(b);
  return a.substr(folderA.size()) == b.substr(folderB.size()) &&
         SameFile(folderA.empty() ? "." : folderA, folderB.empty() ? "." : folderB);
}

Handle StandardInput() { return 0; }

bool FailErrno(const std::string& name, bool writing) { return Fail(name, writing); }

bool FileOpenRead(const std::string& name, Handle& handle) {
  return OpenRegular(name, O_RDONLY, handle);
}

bool FileOpenAppend(const std::string& name, Handle& handle) {
  return OpenRegular(name, O_RDWR | O_APPEND, handle);
}

bool FileCreate(const std::string& name, Handle& handle) {
  if (IsDirectory(name)) {
    IoSet(5);
    return false;
  }
  return OpenRegular(name, O_WRONLY | O_CREAT | O_TRUNC, handle);
}

bool FileCreateTemp(const std::string& target, std::string& name, Handle& handle) {
  const std::string folder = FolderOf(target), prefix = TempPrefix(target.substr(folder.size()));
  RemoveLeftovers(folder, prefix);
  std::string pattern = folder + prefix + "XXXXXX";
  int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return Fail(target, true);
  flock(fd, LOCK_EX);  // a live run's file, no leftover: see RemoveLeftovers
  struct stat st;
  mode_t mode;
  if (stat(target.c_str(), &st) == 0) {
    // Owner and group first: a change of owner may clear the set-id bits.
    if (fchown(fd, st.st_uid, st.st_gid) != 0) errno = 0;  // not permitted: keep ours
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);
  name = pattern;
  handle = fd;
  return true;
}

bool LockForRewrite(const std::string& name, int waitMs) {
  const std::string target = FollowLinks(name);
  const double deadline = MonotonicSeconds() + waitMs / 1000.0;
  for (;;) {
    // The file, or its folder while it does not exist yet.
    const bool exists = access(target.c_str(), F_OK) == 0;
    const std::string folder = FolderOf(target);
    const int fd = exists ? open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
                          : open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;  // nothing to hold a lock with (a file we may not read): as before
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // While this run waited, another may have put a new file in the
      // name's place: the lock must be on the file the name has now.
      if (exists ? Holds(fd, target) : access(target.c_str(), F_OK) != 0) return true;  // held to the end
      close(fd);
      continue;
    }
    const bool busy = errno == EWOULDBLOCK;
    close(fd);
    if (!busy) return true;  // a file system without locks
    if (MonotonicSeconds() >= deadline) {
      IoSet(5);
      return false;
    }
    SleepMs(20);
  }
}

bool FileSync(Handle handle) {
  if (fsync(Fd(handle)) != 0 && errno != EINVAL) return Fail("", true);
  return true;
}

bool FileCommit(const std::string& temp, const std::string& target, const std::string& backup) {
  if (!backup.empty()) {
    if (unlink(backup.c_str()) != 0 && errno != ENOENT) return Fail(backup, true);
    if (link(target.c_str(), backup.c_str()) != 0) {
      const bool noLinks = errno == EPERM || errno == ENOTSUP || errno == EXDEV || errno == EMLINK;
      if (!noLinks) return Fail(backup, true);
      if (!CopyFile(target, backup)) return false;
    }
  }
  if (rename(temp.c_str(), target.c_str()) != 0) return Fail(target, true);
  SyncFolder(target);
  return true;
}

long FileRead(Handle handle, void* buffer, std::size_t size) {
  ssize_t n;
  for (;;) {
    n = read(Fd(handle), buffer, size);
    if (n >= 0) break;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) break;
    // A descriptor left non-blocking (standard input, by some parents):
    // wait for its data rather than take "none yet" for an error.
    pollfd ready{Fd(handle), POLLIN, 0};
    if (poll(&ready, 1, -1) < 0 && errno != EINTR) break;
  }
  if (n < 0) {
    Fail("", false);
    return -1;
  }
  return static_cast<long>(n);
}

bool FileWrite(Handle handle, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(Fd(handle), p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return Fail("", true);
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool FileClose(Handle handle) {
  if (close(Fd(handle)) != 0 && errno != EINTR) return Fail("", true);
  return true;
}

long long FileSize(Handle handle) {
  struct stat st;
  if (fstat(Fd(handle), &st) != 0) {
    Fail();
    return -1;
  }
  return st.st_size;
}

bool FileReadAt(Handle handle, long long offset, void* buffer, std::size_t size) {
  ssize_t n = pread(Fd(handle), buffer, size, offset);
  if (n < 0) return Fail();
  if (static_cast<std::size_t>(n) != size) {
    IoSet(100);
    return false;
  }
  return true;
}

bool FileTruncate(Handle handle, long long size) {
  if (ftruncate(Fd(handle), size) != 0) return Fail("", true);
  return true;
}

bool FileDelete(const std::string& name) {
  // Unlinking needs no write permission on the file itself, so nothing is
  // changed on it first (a link to it elsewhere keeps its mode).
  if (unlink(name.c_str()) != 0) return Fail(name, true);
  return true;
}

bool IsDirectory(const std::string& name) {
  struct stat st;
  return !name.empty() && stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& name) {
  struct stat st;
  return !name.empty() && lstat(name.c_str(), &st) == 0;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) {
    Fail();
    return "";
  }
  return buffer;
}

bool ChangeDirectory(const std::string& name) {
  if (chdir(name.c_str()) != 0) return Fail(name);
  return true;
}

bool MakeDirectory(const std::string& name) {
  if (mkdir(name.c_str(), 0777) != 0) return Fail(name, true);
  return true;
}

bool NativePathsAreWindows() { return false; }

namespace {
// An XDG base folder: the variable when it is set and not empty, else the
// fallback under $HOME; empty when neither is known.
std::string XdgHome(const char* variable, const char* underHome) {
  const char* xdg = std::getenv(variable);
  if (xdg != nullptr && *xdg != 0) return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != 0) return std::string(home) + underHome;
  return "";
}
}  // namespace

std::string UserConfigHome() { return XdgHome("XDG_CONFIG_HOME", "/.config"); }

void AppendNow(const std::string& name, std::string_view bytes) {
  int fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return;
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  close(fd);
}

void MakeFolderNow(const std::string& name) { mkdir(name.c_str(), 0777); }

bool FolderWritable(const std::string& folder) {
  return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

bool FolderOwned(const std::string& folder) {
  struct stat st;
  return stat(folder.empty() ? "." : folder.c_str(), &st) == 0 && st.st_uid == geteuid();
}

std::string UserStateHome() { return XdgHome("XDG_STATE_HOME", "/.local/state"); }


}  // namespace platform
