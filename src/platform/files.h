// Files, directories and the pending I/O error. Every failing operation
// leaves an error code of the program's error table pending for the thread
// (2 not found, 3 path not found, 5 access denied, 100 read, 101 write, ...);
// IoResult fetches and clears it.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

using Handle = int;
inline constexpr Handle kNoHandle = -1;

// Returns the pending I/O error and clears it.
int IoResult();
// Makes code the pending I/O error (0 clears it).
void IoSet(int code);

// Opens an existing regular file for reading; a directory fails with 5.
bool FileOpenRead(const std::string& name, Handle& handle);
// Opens an existing regular file for writing at its end.
bool FileOpenAppend(const std::string& name, Handle& handle);
// Creates the file, or truncates an existing one.
bool FileCreate(const std::string& name, Handle& handle);
// Creates a fresh, exclusively opened file beside `target` (a random name)
// with the permission bits of `target` when it exists; name receives it.
bool FileCreateTemp(const std::string& target, std::string& name, Handle& handle);
// Bytes read, 0 at the end, -1 on error.
long FileRead(Handle handle, void* buffer, std::size_t size);
bool FileWrite(Handle handle, const void* data, std::size_t size);
bool FileClose(Handle handle);
// Size in bytes, -1 on error.
long long FileSize(Handle handle);
bool FileReadAt(Handle handle, long long offset, void* buffer, std::size_t size);
bool FileTruncate(Handle handle, long long size);

// Clears the read-only permission bits it may, then removes the file.
bool FileDelete(const std::string& name);
// Renames; never replaces an existing file (fails with 5 then).
bool FileRename(const std::string& from, const std::string& to);
bool IsDirectory(const std::string& name);
bool PathExists(const std::string& name);
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& name);
bool MakeDirectory(const std::string& name);
// The absolute path of the running executable, links resolved.
std::string ExecutablePath();

}  // namespace platform
