// Short strings: the one text type of the program. A short string holds at
// most 255 characters of CP866 text (bytes, or escapes while they are on:
// see units.h); positions are 1-based byte positions, and every operation
// that would build a longer text cuts it silently at 255 characters, never
// inside one. Operations take their inputs by value and return a new value.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "textlib/units.h"

namespace shortstr {

inline constexpr int kMaxLen = 255;  // characters
// Bytes: 255 characters of the longest kind.
inline constexpr int kMaxBytes = kMaxLen * static_cast<int>(units::kLongest);

struct ShortStr {
  std::uint16_t len = 0;      // bytes
  unsigned char s[kMaxBytes];  // bytes past len are never read

  constexpr ShortStr() {}
  // Copies only the bytes in use: texts are short, the buffer is not.
  constexpr ShortStr(const ShortStr& other) : len(other.len) { CopyBytes(other); }
  constexpr ShortStr& operator=(const ShortStr& other) {
    len = other.len;
    if (this != &other) CopyBytes(other);
    return *this;
  }
  // Takes the bytes as they are, cut at 255 characters.
  ShortStr(std::string_view text);
  ShortStr(const char* text) : ShortStr(std::string_view(text)) {}
  ShortStr(const std::string& text) : ShortStr(std::string_view(text)) {}

  // Byte at 1-based position pos; 0 outside the text.
  unsigned char At(int pos) const {
    return pos >= 1 && pos <= len ? s[pos - 1] : 0;
  }
  std::string_view View() const {
    return {reinterpret_cast<const char*>(s), len};
  }
  std::string Std() const { return std::string(View()); }
  bool Empty() const { return len == 0; }
  // Appends bytes, cutting at 255 characters.
  void Append(std::string_view more);
  void Append(const ShortStr& more) { Append(more.View()); }
  // Appends one byte while the text has room for another character.
  void AppendChar(unsigned char c) {
    if (len < kMaxLen || (units::EscapesOn() && len < kMaxBytes && units::Count(View()) < kMaxLen)) s[len++] = c;
  }

 private:
  constexpr void CopyBytes(const ShortStr& other) {
    if (std::is_constant_evaluated()) {
      for (int i = 0; i < kMaxBytes; ++i) s[i] = other.s[i];
    } else {
      std::memcpy(s, other.s, len);
    }
  }
};

bool operator==(const ShortStr& a, const ShortStr& b);
// Characters of the text (its bytes while escapes are off).
int Chars(const ShortStr& text);
// The first count characters of text.
ShortStr Head(const ShortStr& text, int count);
ShortStr operator+(ShortStr a, const ShortStr& b);

// Converts a UTF-8 literal to CP866 at compile time, so Russian texts stay
// readable in the source. Letters outside Cyrillic and ASCII are not allowed.
consteval ShortStr Cp866(const char* utf8) {
  ShortStr r;
  for (unsigned char& b : r.s) b = 0;
  int i = 0;
  while (utf8[i] != 0) {
    unsigned c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    if (c >= 0x80) {
      if ((c & 0xE0) != 0xC0) throw "only two-byte UTF-8 sequences are known";
      code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      ++i;
    }
    ++i;
    unsigned char b = 0;
    if (code < 0x80) b = static_cast<unsigned char>(code);
    else if (code >= 0x410 && code <= 0x43F) b = static_cast<unsigned char>(code - 0x410 + 0x80);
    else if (code >= 0x440 && code <= 0x44F) b = static_cast<unsigned char>(code - 0x440 + 0xE0);
    else if (code == 0x401) b = 0xF0;
    else if (code == 0x451) b = 0xF1;
    else throw "character has no CP866 form here";
    if (r.len == kMaxLen) throw "literal longer than 255 bytes";
    r.s[r.len++] = b;
  }
  return r;
}

// A 256-member membership set over byte values.
struct CharSet {
  // A flag a byte value: one load a test, for loops over every byte.
  std::array<bool, 256> members{};
  constexpr CharSet() = default;
  constexpr CharSet(std::string_view text) {
    for (char c : text) members[static_cast<unsigned char>(c)] = true;
  }
  bool Has(unsigned char c) const { return members[c]; }
};

const CharSet& BlankSet();  // TAB, space
const CharSet& TokenSet();  // TAB, space, comma, slash, semicolon
const CharSet& FieldSet();  // comma, semicolon
const CharSet& TrimSet();   // TAB, LF, CR, space

// The 14 (Latin, Cyrillic) look-alike pairs, as a pair string.
const ShortStr& LatinToCyrillic();
// PairReplace(text, LatinToCyrillic()), by one table lookup a byte.
ShortStr FoldLookAlikes(ShortStr text);
// The byte map FoldLookAlikes applies.
const std::array<unsigned char, 256>& FoldTable();

// --- primitives -----------------------------------------------------------
// First position of pattern in text, 0 when absent; empty or longer pattern: 0.
int Pos(const ShortStr& pattern, const ShortStr& text);
// The part of text that exists from index (below 1 counts as 1), count bytes.
ShortStr Copy(const ShortStr& text, int index, int count);
// Removes the existing part; bad index or count <= 0 changes nothing.
ShortStr Delete(ShortStr text, int index, int count);
// Inserts piece before index (clamped into 1..len+1); cut at 255.
ShortStr Insert(const ShortStr& piece, const ShortStr& text, int index);

// --- words and fields -----------------------------------------------------
// n-th word separated by runs of set members; n becomes -1 when there is
// no n-th word. A text ending in members has one further, empty word.
ShortStr ExtractWord(const ShortStr& text, int& n, const CharSet& set);
ShortStr ExtractToken(const ShortStr& text, int n);
ShortStr ExtractBlankWord(const ShortStr& text, int n);
// n-th field of a comma/semicolon list; double quotes group a field.
ShortStr ExtractField(const ShortStr& text, int n);
// Removes one pair of enclosing double quotes.
ShortStr Unquote(const ShortStr& text);

// --- case, code pages, replacement -----------------------------------------
unsigned char UpCaseChar(unsigned char c);
unsigned char LoCaseChar(unsigned char c);
ShortStr UpCaseStr(ShortStr text);
// UpCaseChar of every byte of a text of any length (file names, options).
std::string UpCaseText(std::string_view text);
// UpCaseChar of every byte value, for loops over many bytes.
const std::array<unsigned char, 256>& UpperTable();
ShortStr LoCaseStr(ShortStr text);
// Mode 1: CP866 to Windows-1251; mode 2: back; other modes: unchanged.
unsigned char RecodeChar(unsigned char c, int mode);
ShortStr RecodeStr(ShortStr text, int mode);
// Each (from, to) pair of pairs replaces bytes in order; an odd last byte is ignored.
ShortStr PairReplace(ShortStr text, const ShortStr& pairs);
ShortStr ReplaceChar(ShortStr text, unsigned char from, unsigned char to);
// True when pattern occurs in text (exact bytes); an empty pattern never does.
bool OccursIn(const ShortStr& pattern, const ShortStr& text);
// The bytes a text holds, for a quick test before a search: a pattern whose
// first or last byte the text lacks cannot occur in it.
struct ByteSet {
  std::bitset<256> has;
  explicit ByteSet(const ShortStr& text) {
    for (int i = 0; i < text.len; ++i) has.set(text.s[i]);
  }
  bool MayHold(const ShortStr& pattern) const {
    return pattern.len > 0 && has.test(pattern.s[0]) && has.test(pattern.s[pattern.len - 1]);
  }
};
// Start of the n-th (overlapping) occurrence; 0 when fewer; n = 0 acts as 1.
int PosNth(const ShortStr& pattern, const ShortStr& text, std::uint16_t n);
ShortStr TrimLeft(const ShortStr& text);
ShortStr TrimRight(const ShortStr& text);
ShortStr Trim(const ShortStr& text);
ShortStr RemoveSpaces(const ShortStr& text);
// count copies of c, cut at 255.
ShortStr RepeatChar(unsigned char c, int count);
ShortStr DeleteChars(const ShortStr& text, const CharSet& set);
// Case-insensitive replacement of every occurrence, searching again from the
// start after each one; when the replacement itself holds the find text the
// search goes on after it instead. At most 1,000 replacements; cut at 255.
ShortStr ReplaceAll(const ShortStr& text, const ShortStr& find,
                    const ShortStr& replacement, int& count);
// ReplaceAll that never cuts: when the result would pass 255 bytes, text
// stays as it was, count is 0 and the result is false.
bool ReplaceAllWhole(ShortStr& text, const ShortStr& find,
                     const ShortStr& replacement, int& count);
// A ReplaceAllWhole prepared once for many texts: the key and the
// replacement upper-cased, and whether the replacement holds the key.
// The texts are kept as strings: a table of many macros holds one each.
struct Replacement {
  std::string find, upperFind, with, upperWith;
  bool onward = false;  // the search goes on after each inserted text
  bool grows = false;   // the text may get more bytes or characters
};
Replacement PrepareReplacement(const ShortStr& find, const ShortStr& with);
// ReplaceAllWhole with a prepared replacement; allocates nothing.
bool ReplaceAllWhole(ShortStr& text, const Replacement& r, int& count);
// The bytes at either end of a text that a change left as they were.
struct Untouched {
  std::size_t head = 0, tail = 0;
};
// The same given upper, the text upper-cased, which it keeps in step: both
// change together or not at all. When count > 0, kept (if given) receives
// the bytes at each end of the result that no replacement touched.
bool ReplaceAllWhole(ShortStr& text, ShortStr& upper, const Replacement& r, int& count,
                     Untouched* kept = nullptr);
ShortStr ReplaceText(const ShortStr& text, const ShortStr& find,
                     const ShortStr& replacement);
// First count bytes from start, with the leading-tilde rule of the library.
ShortStr TildeCopy(const ShortStr& text, int start, int count);

// --- numbers ---------------------------------------------------------------
// Value of the whole text (leading spaces allowed); 0 when not a number.
double StrToReal(const ShortStr& text);
// Nearest whole number, right-aligned in at least width characters.
ShortStr NumText(int width, double x);
ShortStr ZeroPad(int width, double x);
// A centred dash mark for the empty-value marker, else x with decimals.
ShortStr NumTextOrDash(int width, int decimals, double x);
ShortStr HexStr8(std::uint32_t x);
// Upper-case hex digits of the first 8 bytes; other bytes count as 0.
std::int32_t HexVal(const ShortStr& text);
ShortStr FormatSegOfs(std::uint32_t x);
std::uint32_t ParseSegOfs(const ShortStr& text);
inline bool HasFlags(std::int64_t value, std::int64_t mask) {
  return (value & mask) == mask;
}
inline std::uint16_t HiWord(std::uint32_t x) { return static_cast<std::uint16_t>(x >> 16); }
inline std::uint16_t LoWord(std::uint32_t x) { return x & 0xFFFF; }
inline std::int32_t Max(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t MemAvailable() { return 99999999; }
// Plain decimal, no padding (NumText of width 1).
ShortStr Num(long long x);

}  // namespace shortstr
