// The file layer: every file is opened through FileOpen under an open-file
// registry that releases a file's text buffer at close. Results are the I/O
// error codes (0 = success), and no error is ever left pending for a caller
// to fetch; names are used whole, never cut. A rewrite with
// optBackup goes to a temporary file beside the target that replaces it in
// one step at a clean close, the old file becoming the backup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "textlib/shortstr.h"

namespace files {

using shortstr::ShortStr;

inline constexpr std::uint32_t optUpper = 0x1;
inline constexpr std::uint32_t optLower = 0x2;
inline constexpr std::uint32_t optToOem = 0x4;
inline constexpr std::uint32_t optToAnsi = 0x8;
inline constexpr std::uint32_t optTrimRight = 0x10;
inline constexpr std::uint32_t optTrimLeft = 0x20;
inline constexpr std::uint32_t optSkipEmpty = 0x40;
inline constexpr std::uint32_t optComments = 0x80;
inline constexpr std::uint32_t optNoCache = 0x200;
inline constexpr std::uint32_t optRead = 0x400;
inline constexpr std::uint32_t optAppend = 0x800;
inline constexpr std::uint32_t optRewrite = 0x1000;
inline constexpr std::uint32_t optMakeDir = 0x2000;
inline constexpr std::uint32_t optText = 0x4000;
inline constexpr std::uint32_t optBackup = 0x8000;
inline constexpr std::uint32_t optNumbered = 0x10000;
// Load: wrap lines longer than 255 bytes instead of cutting them, and refuse
// a text of more lines than a list holds (the user's own text is never cut).
inline constexpr std::uint32_t optWrap = 0x20000;

// A file variable. Text files read and write through their buffer.
struct File {
  platform::Handle Handle = platform::kNoHandle;
  std::uint32_t Options = 0;
  std::string Name;      // the name as opened
  std::string TempName;  // safe rewrite: where the new text goes first
  std::string Target;    // safe rewrite: the file it replaces, links followed
  unsigned char* Buffer = nullptr;
  std::uint16_t BufferSize = 0;
  std::uint16_t BufferPos = 0;
  std::uint16_t BufferLen = 0;
  bool AtEnd = false;  // physical end or Ctrl-Z reached
  int Error = 0;       // the first read or write error since the open
};

// Opens file under name. size: text buffer bytes (0 = default).
int FileOpen(File& file, std::uint16_t size, const std::string& name, std::uint32_t options);
// Closes a registered file (a safe rewrite is put in place here, unless a
// write failed); 0, or the error of a write or of the close itself.
int FileClose(File& file);
// Closes a registered file and throws away what a safe rewrite wrote.
void FileDiscard(File& file);
// True for an existing regular file (links followed) that can be opened;
// false for a directory, a device or a pipe.
bool FileExists(const std::string& name);
bool DirExists(const std::string& dir);
// Deletes the file; the I/O error code.
int FileErase(const std::string& name);
// Renames, creating the new name's directory first; never replaces a file.
int FileMoveTo(const std::string& name, const std::string& newName);
// The backup name: the name up to its last dot, ".~" and the whole
// extension (reply.txt -> reply.~txt, page.html -> page.~html, notes.a.txt ->
// notes.a.~txt, notes -> notes.~). Never the name itself.
std::string BackupName(const std::string& name);

// Reads the rest of the file into bytes; 0, or the read error's code (100
// when the system names none), with the bytes read so far kept.
int ReadAll(File& file, std::string& bytes);
// Writes the bytes through the text buffer; 0, or the file's first write
// error (101 when the system names none): after one, nothing more is written.
int WriteBytes(File& file, const void* data, std::size_t size);
// Writes the text and the line end (CR LF unless given), as WriteBytes.
int WriteLine(File& file, const ShortStr& text, std::string_view lineEnd = "\r\n");
// Writes bytes of any length and the line end, as WriteBytes.
int WriteText(File& file, std::string_view text, std::string_view lineEnd);
// Reads up to size bytes from an open handle (standard input) into buffer:
// 0 with got (0 at its end), or the read error's code (100 when the system
// names none).
int ReadFrom(platform::Handle handle, char* buffer, std::size_t size, std::size_t& got);

// The name with its extension replaced by a numbered one (optNumbered).
std::string NumberedName(const std::string& name);

// Start-up: creates the open-file registry.
void FilesInit();
// Number of files in the registry (for tests).
int OpenFileCount();

}  // namespace files
