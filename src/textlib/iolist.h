// IOList: whole text files to line lists and back, with optional per-line
// transformations chosen by the options word, and a text cache that reads a
// file once per run. Results: 0, 3 (empty name), 203 (no memory), 204 (no
// list / no cache entry), or the I/O error code negated (-2 not found).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "textlib/charset.h"
#include "textlib/files.h"
#include "textlib/listman.h"
#include "textlib/shortstr.h"
#include "textlib/textlines.h"

namespace iolist {

using listman::List;
using shortstr::ShortStr;

inline constexpr int kMaxLines = 65535;
// A text with optWrap that holds more than kMaxLines lines.
inline constexpr int kErrTooManyLines = 214;

// How a text file is laid out: what TextLoad found, what TextSave writes.
struct TextFormat {
  textlines::LineEnd Ending = textlines::LineEnd::CrLf;  // the first line end
  charset::Charset Charset = charset::Charset::Cp866;
  bool Bom = false;  // a UTF-8 text began with a byte-order mark: kept out of
                     // its first line, written back in front of it
  // The run's escapes the text is decoded and encoded with; none: escapes
  // off (a CP866 text is then its bytes).
  charset::EscapeTable* Escapes = nullptr;
};

// Loads the file into a new list stored in lines (created first, so every
// failure leaves an empty list); format, when given, receives its layout.
// The file is CP866, or UTF-8 when it is valid UTF-8 with a multi-byte
// character. Lines longer than 255 bytes are cut, and lines past 65,535 are
// dropped; with optWrap they are wrapped instead and more than 65,535 lines
// (after wrapping) gives kErrTooManyLines. A read error part-way returns its
// code negated and keeps the lines read so far. The text is decoded with
// escapes (the run's table), or without them when none is given.
int TextLoad(const std::string& name, List*& lines, std::uint32_t options,
             TextFormat* format = nullptr, charset::EscapeTable* escapes = nullptr);
// Reads the whole file into bytes; 0, or an error code as TextLoad gives it
// (the bytes read before a read error are kept).
int TextRead(const std::string& name, std::string& bytes);
// The lines of a whole file's bytes, decoded from format.Charset with
// format.Escapes, into a
// new list as TextLoad makes them; format.Ending receives the first line
// end. 0 or kErrTooManyLines (then the list is empty). The bytes are kept
// (the lines are stored in them) until the last of those lines is freed.
int TextParse(std::string bytes, List*& lines, std::uint32_t options, TextFormat& format);
// Writes lines first..last (negative: 1 / the count) with prefix, in the
// format's charset and line end; appends unless optRewrite. A write error part-way is
// returned negated and, with optBackup, leaves the old file and its backup
// as they were.
int TextSave(const std::string& name, List* lines, std::int32_t first, std::int32_t last,
             const ShortStr& prefix, std::uint32_t options, const TextFormat& format = {});
int TextWrite(const std::string& name, List* lines, const ShortStr& prefix, std::uint32_t options,
              const TextFormat& format = {});
// The bytes TextWrite writes for lines (no prefix, no options) in format.
std::string TextBytes(List* lines, const TextFormat& format);

// Stored in the cache list by a byte copy, so its names are held by pointer
// (owned by the entry, released with it).
struct CacheEntry {
  std::string* Key;   // the name upper-cased
  std::string* Name;  // the name as given, for writing back
  List* Lines;
  std::string* Prefix;  // for writing back; empty
  std::uint32_t LoadOptions;
  std::uint32_t SaveOptions;
  bool Changed;
};
static_assert(std::is_trivially_copyable_v<CacheEntry>);

// Start-up: creates the cache (start-up registers TextCacheRelease to run at
// the end).
void TextCacheInit();
bool TextCacheFind(const std::string& name, CacheEntry*& entry);
// Finds or loads the file into the cache; a failed load stays cached empty.
int TextCacheLoad(const std::string& name, std::uint32_t options, CacheEntry*& entry);
// Exit procedure: writes back changed entries, releases the cache.
void TextCacheRelease();

}  // namespace iolist
