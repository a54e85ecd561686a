// Files on Windows: UTF-8 paths opened through the wide API; the pending
// error is the Windows error code itself.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/files_common.h"
#include "platform/wide_win32.h"

namespace platform {
namespace {

HANDLE H(Handle handle) { return reinterpret_cast<HANDLE>(handle); }  // NOLINT(performance-no-int-to-ptr)
Handle Of(HANDLE h) { return reinterpret_cast<Handle>(h); }

// The Windows code of the last failure, never 0; an existing name is 5, as
// a POSIX rename that would replace is, and a full disk the write error.
int CodeOf(DWORD err, bool writing) {
  switch (err) {
    case 0: return writing ? 101 : 100;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: return 5;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return 101;
    case ERROR_FILENAME_EXCED_RANGE: case ERROR_INVALID_NAME: case ERROR_DIRECTORY: return 3;
    default: return err > 0x7FFF ? (writing ? 101 : 100) : static_cast<int>(err);
  }
}

bool Fail(bool writing = false) {
  IoSet(CodeOf(GetLastError(), writing));
  return false;
}

// The wide form of a path for the file calls. One of MAX_PATH characters
// or more is made absolute and given the "\\?\" prefix, which lifts that
// limit: a path is never cut, and a long one must not fail.
std::wstring Path(const std::string& name) {
  std::wstring wide = Wide(name);
  if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

std::string FolderOf(const std::string& name) {
  std::size_t i = name.size();
  while (i > 0 && !IsSeparator(name[i - 1])) --i;
  return name.substr(0, i);
}

DWORD Attributes(const std::string& name) {
  return name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Path(name).c_str());
}

// Opens a file that must be a disk file (not a folder, device or pipe).
bool OpenRegular(const std::string& name, DWORD access, DWORD disposition, Handle& handle) {
  HANDLE h = CreateFileW(Path(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(access != GENERIC_READ);
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    IoSet(5);  // a device or pipe is not a text file
    return false;
  }
  handle = Of(h);
  return true;
}

// Removes temporary files that killed runs left for the same target (what
// this user may not remove stays).
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Path(folder + prefix + "??????").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Utf8(found.cFileName);
    if (name.size() == prefix.size() + 6 && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      DeleteFileW(Path(folder + name).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

char RandomLetter() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static unsigned state = GetTickCount() ^ (GetCurrentProcessId() << 16);
  state = state * 1103515245u + 12345u;
  return kLetters[(state >> 16) % 36];
}

}  // namespace

Kind KindOf(const std::string& name) {
  const DWORD a = Attributes(name);
  if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
  if (a & FILE_ATTRIBUTE_DIRECTORY) return Kind::Directory;
  return (a & FILE_ATTRIBUTE_DEVICE) ? Kind::Other : Kind::Regular;
}

std::string FollowLinks(const std::string& name) {
  const DWORD a = Attributes(name);
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return name;
  HANDLE h = CreateFileW(Path(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return name;
  wchar_t buffer[32768];
  const DWORD n = GetFinalPathNameByHandleW(h, buffer, 32768, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(h);
  if (n == 0 || n >= 32768) return name;
  std::wstring path(buffer, n);
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) path = L"\\\\" + path.substr(8);
  else if (path.rfind(L"\\\\?\\", 0) == 0) path = path.substr(4);
  return Utf8(path);
}

Handle StandardInput() { return Of(GetStdHandle(STD_INPUT_HANDLE)); }

bool FileOpenRead(const std::string& name, Handle& handle) {
  return OpenRegular(name, GENERIC_READ, OPEN_EXISTING, handle);
}

bool FileOpenAppend(const std::string& name, Handle& handle) {
  if (!OpenRegular(name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, handle)) return false;
  LARGE_INTEGER zero{};
  SetFilePointerEx(H(handle), zero, nullptr, FILE_END);
  return true;
}

bool FileCreate(const std::string& name, Handle& handle) {
  if (IsDirectory(name)) {
    IoSet(5);
    return false;
  }
  return OpenRegular(name, GENERIC_WRITE, CREATE_ALWAYS, handle);
}

bool FileCreateTemp(const std::string& target, std::string& name, Handle& handle) {
  const std::string folder = FolderOf(target), prefix = TempPrefix(target.substr(folder.size()));
  RemoveLeftovers(folder, prefix);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = folder + prefix;
    for (int i = 0; i < 6; ++i) candidate.push_back(RandomLetter());
    HANDLE h = CreateFileW(Path(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      name = candidate;
      handle = Of(h);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return Fail(true);
  }
  IoSet(5);
  return false;
}

namespace {

// True when both names exist and stand for the same file (links followed).
bool SameFile(const std::string& a, const std::string& b) {
  auto identity = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileW(Path(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION x, y;
  return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

}  // namespace

bool SameEntry(const std::string& a, const std::string& b) {
  if (Attributes(a) == INVALID_FILE_ATTRIBUTES || Attributes(b) == INVALID_FILE_ATTRIBUTES) return false;
  const std::string folderA = FolderOf(a), folderB = FolderOf(b);
  // Windows compares names without regard to case.
  return CompareStringOrdinal(Wide(a.substr(folderA.size())).c_str(), -1,
                              Wide(b.substr(folderB.size())).c_str(), -1, TRUE) == CSTR_EQUAL &&
         SameFile(folderA.empty() ? "." : folderA, folderB.empty() ? "." : folderB);
}

bool LockForRewrite(const std::string& name, int waitMs) {
  // A lock file beside the target, open to this process alone and gone
  // when it ends: a handle on the target itself would stand in the way of
  // the file that replaces it.
  const std::string folder = FolderOf(name);
  const std::string lock = folder + TempPrefix(name.substr(folder.size())) + "lock";
  const double deadline = MonotonicSeconds() + waitMs / 1000.0;
  for (;;) {
    HANDLE h = CreateFileW(Path(lock).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return true;  // held to the end
    if (GetLastError() != ERROR_SHARING_VIOLATION) return true;  // no room for a lock file: as before
    if (MonotonicSeconds() >= deadline) {
      IoSet(5);
      return false;
    }
    SleepMs(20);
  }
}

bool FileSync(Handle handle) {
  if (!FlushFileBuffers(H(handle))) return Fail(true);
  return true;
}

bool FileCommit(const std::string& temp, const std::string& target, const std::string& backup) {
  if (!backup.empty()) {
    const std::wstring wideBackup = Path(backup);
    if (!DeleteFileW(wideBackup.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return Fail(true);
    // A hard link keeps the old text under the backup name without a
    // moment in which the reply's name is missing; a copy where links are
    // not possible (FAT, network shares).
    if (!CreateHardLinkW(wideBackup.c_str(), Path(target).c_str(), nullptr) &&
        !CopyFileW(Path(target).c_str(), wideBackup.c_str(), TRUE)) {
      return Fail(true);
    }
  }
  if (!MoveFileExW(Path(temp).c_str(), Path(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail(true);
  }
  return true;
}

long FileRead(Handle handle, void* buffer, std::size_t size) {
  DWORD n = 0;
  const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!ReadFile(H(handle), buffer, want, &n, nullptr)) {
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    Fail();
    return -1;
  }
  return static_cast<long>(n);
}

bool FileWrite(Handle handle, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD n = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!WriteFile(H(handle), p, want, &n, nullptr)) return Fail(true);
    if (n == 0) {
      IoSet(101);
      return false;
    }
    p += n;
    size -= n;
  }
  return true;
}

bool FileClose(Handle handle) {
  if (!CloseHandle(H(handle))) return Fail(true);
  return true;
}

long long FileSize(Handle handle) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(H(handle), &size)) {
    Fail();
    return -1;
  }
  return size.QuadPart;
}

bool FileReadAt(Handle handle, long long offset, void* buffer, std::size_t size) {
  // As pread: the file position is left where it was.
  LARGE_INTEGER zero{}, was{}, at{};
  at.QuadPart = offset;
  if (!SetFilePointerEx(H(handle), zero, &was, FILE_CURRENT) || !SetFilePointerEx(H(handle), at, nullptr, FILE_BEGIN)) {
    return Fail();
  }
  const long n = FileRead(handle, buffer, size);
  SetFilePointerEx(H(handle), was, nullptr, FILE_BEGIN);
  if (n < 0) return false;
  if (static_cast<std::size_t>(n) != size) {
    IoSet(100);
    return false;
  }
  return true;
}

bool FileTruncate(Handle handle, long long size) {
  LARGE_INTEGER zero{}, was{}, at{};
  at.QuadPart = size;
  if (!SetFilePointerEx(H(handle), zero, &was, FILE_CURRENT) || !SetFilePointerEx(H(handle), at, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(H(handle))) {
    return Fail(true);
  }
  if (was.QuadPart > size) was.QuadPart = size;
  SetFilePointerEx(H(handle), was, nullptr, FILE_BEGIN);
  return true;
}

bool FileDelete(const std::string& name) {
  if (!DeleteFileW(Path(name).c_str())) return Fail(true);
  return true;
}

bool FileRename(const std::string& from, const std::string& to) {
  if (!MoveFileExW(Path(from).c_str(), Path(to).c_str(), 0)) return Fail(true);
  return true;
}

bool IsDirectory(const std::string& name) {
  const DWORD a = Attributes(name);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const std::string& name) { return Attributes(name) != INVALID_FILE_ATTRIBUTES; }

std::string CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(n, L'\0');
  const DWORD got = GetCurrentDirectoryW(n, buffer.data());
  if (got == 0 || got >= n) {
    Fail();
    return "";
  }
  buffer.resize(got);
  return Utf8(buffer);
}

bool ChangeDirectory(const std::string& name) {
  if (!SetCurrentDirectoryW(Path(name).c_str())) return Fail();
  return true;
}

bool MakeDirectory(const std::string& name) {
  if (!CreateDirectoryW(Path(name).c_str(), nullptr)) return Fail(true);
  return true;
}

bool NativePathsAreWindows() { return true; }

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) {
      buffer.resize(n);
      return Utf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string UserConfigHome() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return appData != nullptr && *appData != 0 ? Utf8(appData) : "";
}

bool FolderOwned(const std::string& folder) { return FolderWritable(folder); }

std::string UserStateHome() {
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  return local != nullptr && *local != 0 ? Utf8(local) : UserConfigHome();
}

bool FolderWritable(const std::string& folder) {
  // Access rights on Windows are only known by trying.
  std::string probe = folder.empty() ? std::string(".\\") : folder;
  if (!IsSeparator(probe.back())) probe.push_back('\\');
  probe += ".salvetor-probe-" + std::to_string(GetCurrentProcessId());
  HANDLE h = CreateFileW(Path(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

void AppendNow(const std::string& name, std::string_view bytes) {
  HANDLE h = CreateFileW(Path(name).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD n;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

void MakeFolderNow(const std::string& name) { CreateDirectoryW(Path(name).c_str(), nullptr); }

}  // namespace platform
