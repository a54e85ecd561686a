// Files, directories and the pending I/O error. Every failing operation
// leaves an error code of the program's error table pending for the thread
// (2 not found, 3 path not found, 5 access denied, 100 read, 101 write, ...);
// IoResult fetches and clears it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A file descriptor on POSIX, a HANDLE on Windows.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;
// The longest file name (one path component) the file system takes, in bytes.
inline constexpr std::size_t kMaxFileName = 255;

// What a name stands for, links followed.
enum class Kind { Missing, Regular, Directory, Other };
Kind KindOf(const std::string& name);
// The name with the links of its last component followed (a link's relative
// target is taken from the link's folder); the name itself when it is no link.
std::string FollowLinks(const std::string& name);

// True when both names exist and are one entry: the same name (as the
// system compares names) in the same folder. Removing one removes the
// other; a second name of the same file (a hard or symbolic link) is not one.
bool SameEntry(const std::string& a, const std::string& b);

// Standard input, for FileRead.
Handle StandardInput();

// Returns the pending I/O error and clears it.
int IoResult();
// Makes code the pending I/O error (0 clears it).
void IoSet(int code);

// Opens an existing regular file for reading, never waiting on a FIFO;
// anything but a regular file fails with 5.
bool FileOpenRead(const std::string& name, Handle& handle);
// Opens an existing regular file for writing at its end.
bool FileOpenAppend(const std::string& name, Handle& handle);
// Creates the file, or truncates an existing one.
bool FileCreate(const std::string& name, Handle& handle);
// Creates a fresh, exclusively opened file beside `target`, named after it
// (".reply.txt.salvetor-XXXXXX"), with the owner, group (where permitted)
// and permission bits of `target` when it exists; name receives it. First
// removes leftovers of earlier runs for the same target owned by this user.
bool FileCreateTemp(const std::string& target, std::string& name, Handle& handle);
// Takes this process's lock for rewriting the file name names (links
// followed; its folder while it does not exist), waiting up to waitMs while
// another process holds it; kept until the process ends. False, with 5
// pending, when it stays taken; true also where there are no locks.
bool LockForRewrite(const std::string& name, int waitMs);
// Writes what the file holds through to the disk.
bool FileSync(Handle handle);
// Puts a finished new file in place of `target` in one step, after making
// `backup` a hard link to the old target (a copy where links are not
// possible; an older backup goes first). The target's name always names a
// complete file. backup is empty when the target is new.
bool FileCommit(const std::string& temp, const std::string& target, const std::string& backup);
// Bytes read, 0 at the end, -1 on error.
long FileRead(Handle handle, void* buffer, std::size_t size);
bool FileWrite(Handle handle, const void* data, std::size_t size);
bool FileClose(Handle handle);
// Size in bytes, -1 on error.
long long FileSize(Handle handle);
bool FileReadAt(Handle handle, long long offset, void* buffer, std::size_t size);
bool FileTruncate(Handle handle, long long size);

// Removes the file (a link is removed, not its target).
bool FileDelete(const std::string& name);
// Renames; never replaces an existing file (fails with 5 then).
bool FileRename(const std::string& from, const std::string& to);
bool IsDirectory(const std::string& name);
bool PathExists(const std::string& name);
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& name);
bool MakeDirectory(const std::string& name);
// True where paths take '\\' and drive letters (Windows), false for POSIX.
bool NativePathsAreWindows();
// The absolute path of the running executable, links resolved.
std::string ExecutablePath();
// The folder where the user's settings live: $XDG_CONFIG_HOME, or
// $HOME/.config when that is unset or empty; empty when neither is known.
std::string UserConfigHome();
// True when this process may create files in the folder.
bool FolderWritable(const std::string& folder);
// True when the folder belongs to the user the process runs as (on Windows,
// where folders have no one owner of this kind: when it is writable).
bool FolderOwned(const std::string& folder);
// The folder where the user's programs keep their state: $XDG_STATE_HOME,
// or $HOME/.local/state (%LOCALAPPDATA% on Windows); empty when unknown.
std::string UserStateHome();

// For the fatal-fault path, safe in a signal handler: appends bytes to a
// file (created when missing), and creates one folder. Errors are ignored.
void AppendNow(const std::string& name, std::string_view bytes);
void MakeFolderNow(const std::string& name);

}  // namespace platform
