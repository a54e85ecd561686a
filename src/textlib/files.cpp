#include "textlib/files.h"

#include <cstring>
#include <type_traits>

#include "platform/memory.h"
#include "textlib/listman.h"
#include "textlib/paths.h"

namespace files {

using namespace shortstr;
using listman::List;

namespace {

constexpr std::uint16_t kDefaultBuffer = 4096;
constexpr int kCtrlZWindow = 128;
constexpr unsigned char kCtrlZ = 0x1A;

// Stored in the registry by a byte copy, so it holds no owning members.
struct OpenRecord {
  platform::Handle Handle;
  std::uint32_t Options;
  unsigned char* Buffer;
  std::uint16_t BufferSize;
};
static_assert(std::is_trivially_copyable_v<OpenRecord>);

List* registry = nullptr;

void Register(const File& file) {
  FilesInit();
  OpenRecord record{file.Handle, file.Options, file.Buffer, file.BufferSize};
  listman::ListAppendCopy(registry, &record, sizeof record);
}

// Removes the record of the handle; false when it has none.
bool Unregister(platform::Handle handle) {
  if (registry == nullptr) return false;
  for (std::int32_t i = 1; i <= registry->Count; ++i) {
    auto* record = static_cast<OpenRecord*>(listman::ListGet(registry, i));
    if (record->Handle == handle) {
      listman::ListDelete(registry, i);
      return true;
    }
  }
  return false;
}

void ReleaseBuffer(File& file) {
  if (file.Buffer != nullptr) listman::BlockFree(file.Buffer);
  file.Buffer = nullptr;
  file.BufferSize = file.BufferPos = file.BufferLen = 0;
}

bool Writing(const File& file) {
  return (file.Options & (optAppend | optRewrite)) != 0 && (file.Options & optRead) == 0;
}

// Records the first error of a read or a write: the pending one, else
// fallback. The file's error, which is never left pending.
int Failure(File& file, int fallback) {
  const int code = platform::IoResult();
  if (file.Error == 0) file.Error = code != 0 ? code : fallback;
  return file.Error;
}

bool Flush(File& file) {
  if (file.BufferLen == 0) return true;
  bool ok = platform::FileWrite(file.Handle, file.Buffer, file.BufferLen);
  file.BufferLen = 0;
  if (!ok) Failure(file, 101);
  return ok;
}

// A text file opened for appending loses everything from the first Ctrl-Z
// among its last 128 bytes.
void CutAtCtrlZ(platform::Handle handle) {
  long long size = platform::FileSize(handle);
  if (size <= 0) return;
  long long from = size > kCtrlZWindow ? size - kCtrlZWindow : 0;
  unsigned char tail[kCtrlZWindow];
  if (!platform::FileReadAt(handle, from, tail, static_cast<size_t>(size - from))) return;
  for (long long i = 0; i < size - from; ++i) {
    if (tail[i] == kCtrlZ) {
      platform::FileTruncate(handle, from + i);
      return;
    }
  }
}

bool OpenForAppend(File& file, const std::string& name) {
  if (platform::FileOpenAppend(name, file.Handle)) {
    if (file.Options & optText) CutAtCtrlZ(file.Handle);
    return true;
  }
  platform::IoResult();
  return platform::FileCreate(name, file.Handle);
}

bool OpenForRewrite(File& file, const std::string& name) {
  if (!(file.Options & optBackup)) return platform::FileCreate(name, file.Handle);
  // A link stays a link: the file it names is rewritten, its backup beside it.
  const std::string target = platform::FollowLinks(name);
  if (platform::KindOf(target) == platform::Kind::Directory) {
    platform::IoSet(5);
    return false;
  }
  file.Target = target;
  return platform::FileCreateTemp(target, file.TempName, file.Handle);
}

// Puts a finished safe rewrite in place: the old file becomes the backup
// and the new text takes its name in one step.
void CommitRewrite(const File& file) {
  const bool replacing = platform::KindOf(file.Target) == platform::Kind::Regular;
  if (!platform::FileCommit(file.TempName, file.Target, replacing ? BackupName(file.Target) : "")) {
    int code = platform::IoResult();
    platform::FileDelete(file.TempName);
    platform::IoSet(code != 0 ? code : 5);
  }
}

}  // namespace

void FilesInit() {
  if (registry == nullptr) listman::ListCreate(registry);
}

int OpenFileCount() { return registry == nullptr ? 0 : registry->Count; }

std::string BackupName(const std::string& name) {
  const std::string file = paths::FileNameOf(name);
  const std::size_t dot = file.rfind('.');
  const std::string stem =
      name.substr(0, name.size() - file.size() + (dot == std::string::npos ? file.size() : dot));
  return stem + ".~" + (dot == std::string::npos ? "" : file.substr(dot + 1));
}

std::string NumberedName(const std::string& name) {
  // Only one number is ever handed out in a run.
  return paths::ChangeExt(name, paths::ExtOf(name).substr(0, 3) + "1");
}

int FileOpen(File& file, std::uint16_t size, const std::string& rawName, std::uint32_t options) {
  std::string name = rawName;
  platform::IoResult();
  if (options & optNumbered) name = NumberedName(name);
  file = File();
  file.Options = options;
  file.Name = name;
  if (options & optMakeDir) paths::MakePath(paths::DirOf(name));
  if (options & optText) {
    file.BufferSize = size > 0 ? size : kDefaultBuffer;
    file.Buffer = static_cast<unsigned char*>(listman::BlockAlloc(file.BufferSize));
  }
  // Reading unless optRead is absent and optAppend or optRewrite asks to write.
  const bool reading = (options & optRead) || !(options & (optAppend | optRewrite));
  if (reading)
    platform::FileOpenRead(name, file.Handle);
  else if (options & optAppend)
    OpenForAppend(file, name);
  else
    OpenForRewrite(file, name);
  int error = platform::IoResult();
  if (error == 0 && file.Handle == platform::kNoHandle) error = 102;
  if (error == 0) {
    Register(file);
  } else {
    if (file.Handle != platform::kNoHandle) platform::FileClose(file.Handle);
    file.Handle = platform::kNoHandle;
    ReleaseBuffer(file);
  }
  return error;
}

int FileClose(File& file) {
  platform::IoResult();
  if (file.Handle == platform::kNoHandle || !Unregister(file.Handle)) return 0;
  const bool failedBefore = file.Error != 0;
  bool ok = true;
  if (Writing(file)) ok = Flush(file);
  // A safe rewrite reaches the disk before it takes the target's name.
  int error = ok ? 0 : file.Error;
  if (ok && !file.TempName.empty() && !platform::FileSync(file.Handle))
    error = platform::IoResult();
  if (!platform::FileClose(file.Handle) && error == 0) error = platform::IoResult();
  platform::IoResult();
  file.Handle = platform::kNoHandle;
  ReleaseBuffer(file);
  if (!file.TempName.empty()) {
    if (error == 0 && !failedBefore) {
      CommitRewrite(file);
      error = platform::IoResult();
    } else {
      platform::FileDelete(file.TempName);
      platform::IoResult();
      if (error == 0) error = 101;
    }
    file.TempName.clear();
  }
  return error;
}

void FileDiscard(File& file) {
  if (file.Handle != platform::kNoHandle && Unregister(file.Handle)) {
    platform::FileClose(file.Handle);
  }
  file.Handle = platform::kNoHandle;
  ReleaseBuffer(file);
  if (!file.TempName.empty()) platform::FileDelete(file.TempName);
  file.TempName.clear();
  platform::IoResult();
}

bool FileExists(const std::string& name) {
  if (name.empty()) return false;
  File file;
  const bool exists = FileOpen(file, 1, name, optRead) == 0;
  if (exists) FileClose(file);
  return exists;
}

bool DirExists(const std::string& dir) { return platform::IsDirectory(dir); }

int FileErase(const std::string& name) {
  platform::IoResult();
  platform::FileDelete(name);
  return platform::IoResult();
}

int FileMoveTo(const std::string& name, const std::string& newName) {
  std::string dir = paths::DirOf(newName);
  if (!dir.empty() && !DirExists(dir)) paths::MakePath(dir);
  platform::IoResult();
  platform::FileRename(name, newName);
  return platform::IoResult();
}

namespace {

// Appends up to size bytes read from the file (fewer at its end).
void ReadInto(File& file, std::string& bytes, std::size_t size) {
  std::size_t had = bytes.size();
  bytes.reserve(had + size);
  platform::Prefault(bytes.data() + had, size);
  bytes.resize(had + size);
  std::size_t got = 0;
  while (got < size) {
    long n = platform::FileRead(file.Handle, bytes.data() + had + got, size - got);
    if (n < 0) Failure(file, 100);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(had + got);
}

}  // namespace

int ReadFrom(platform::Handle handle, char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  const long n = platform::FileRead(handle, buffer, size);
  if (n >= 0) {
    got = static_cast<std::size_t>(n);
    return 0;
  }
  const int code = platform::IoResult();
  return code != 0 ? code : 100;
}

int ReadAll(File& file, std::string& bytes) {
  // One read of the size the file has, straight into the string; the end is
  // then seen through a small buffer, so a file that did not grow is never
  // copied into a larger string (every fresh page costs a fault).
  long long size = platform::FileSize(file.Handle);
  if (size > 0) ReadInto(file, bytes, static_cast<std::size_t>(size));
  char probe[4096];
  while (!file.AtEnd && file.Error == 0) {
    long n = platform::FileRead(file.Handle, probe, sizeof probe);
    if (n > 0) bytes.append(probe, static_cast<std::size_t>(n));
    if (n < 0) Failure(file, 100);
    if (n <= 0) file.AtEnd = true;
  }
  return file.Error;
}

int WriteLine(File& file, const ShortStr& text, std::string_view lineEnd) {
  return WriteText(file, text.View(), lineEnd);
}

int WriteText(File& file, std::string_view text, std::string_view lineEnd) {
  // Most lines fit in the buffer's room: copied in at once.
  if (file.Error == 0 && file.Buffer != nullptr &&
      static_cast<std::size_t>(file.BufferSize - file.BufferLen) >= text.size() + lineEnd.size()) {
    unsigned char* at = file.Buffer + file.BufferLen;
    if (!text.empty()) std::memcpy(at, text.data(), text.size());  // an empty view may have no data
    at += text.size();
    for (char c : lineEnd) *at++ = static_cast<unsigned char>(c);
    file.BufferLen = static_cast<std::uint16_t>(file.BufferLen + text.size() + lineEnd.size());
    return 0;
  }
  const int error = WriteBytes(file, text.data(), text.size());
  return error != 0 ? error : WriteBytes(file, lineEnd.data(), lineEnd.size());
}

int WriteBytes(File& file, const void* data, std::size_t size) {
  if (file.Error != 0) return file.Error;
  if (file.Buffer == nullptr) {
    if (!platform::FileWrite(file.Handle, data, size)) Failure(file, 101);
    return file.Error;
  }
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    if (file.BufferLen == file.BufferSize && !Flush(file)) return file.Error;
    std::size_t room = file.BufferSize - file.BufferLen;
    std::size_t n = size < room ? size : room;
    std::memcpy(file.Buffer + file.BufferLen, p, n);
    file.BufferLen = static_cast<std::uint16_t>(file.BufferLen + n);
    p += n;
    size -= n;
  }
  return 0;
}

}  // namespace files
