// IOList: whole text files to line lists and back, with optional per-line
// transformations chosen by the options word, and a text cache that reads a
// file once per run. Results: 0, 3 (empty name), 203 (no memory), 204 (no
// list / no cache entry), or the I/O error code negated (-2 not found).
#pragma once

#include <cstdint>

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
};

// Loads the file into a new list stored in lines (created first, so every
// failure leaves an empty list); format, when given, receives its layout.
// Lines longer than 255 bytes are cut, and lines past 65,535 are dropped;
// with optWrap they are wrapped instead and more than 65,535 lines (after
// wrapping) gives kErrTooManyLines. A read error part-way returns its code
// negated and keeps the lines read so far.
int TextLoad(const ShortStr& name, List*& lines, std::uint32_t options,
             TextFormat* format = nullptr);
// Writes lines first..last (negative: 1 / the count) with prefix and the
// format's line end; appends unless optRewrite. A write error part-way is
// returned negated and, with optBackup, leaves the old file and its backup
// as they were.
int TextSave(const ShortStr& name, List* lines, std::int32_t first, std::int32_t last,
             const ShortStr& prefix, std::uint32_t options, const TextFormat& format = {});
int TextWrite(const ShortStr& name, List* lines, const ShortStr& prefix, std::uint32_t options,
              const TextFormat& format = {});

struct CacheEntry {
  ShortStr Key;       // the name upper-cased
  ShortStr Name;      // the name as given, for writing back
  List* Lines;
  ShortStr Prefix;
  std::uint32_t LoadOptions;
  std::uint32_t SaveOptions;
  bool Changed;
};

// Start-up: creates the cache and registers its release as an exit procedure.
void TextCacheInit();
bool TextCacheFind(const ShortStr& name, CacheEntry*& entry);
// Finds or loads the file into the cache; a failed load stays cached empty.
int TextCacheLoad(const ShortStr& name, std::uint32_t options, CacheEntry*& entry);
// Exit procedure: writes back changed entries, releases the cache.
void TextCacheRelease();

}  // namespace iolist
