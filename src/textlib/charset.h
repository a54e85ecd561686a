// Charsets of text files: CP866 (the program's own), UTF-8, KOI8-R and
// CP1251. Text is decoded to CP866 for the stages and encoded back when it is
// written. With escapes, every character CP866 cannot hold, every byte
// invalid in its charset and every box-drawing character (CP866 0xB0..0xDF)
// travels as an escape (units.h) that indexes the run's table; escapes are
// whole characters to every stage, so such characters come back
// byte-identical.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace charset {

enum class Charset { Cp866, Utf8, Koi8r, Cp1251 };

// The charset a name stands for, as FTS-5003 writes them, letter case
// ignored: CP866 (866, IBM866, +7_FIDO, IBMPC), UTF-8 (UTF8), KOI8-R (KOI8),
// CP1251 (1251, WINDOWS-1251). False for any other name.
bool ByName(std::string_view name, Charset& out);
// The first name of the charset: "CP866", "UTF-8", "KOI8-R" or "CP1251".
std::string_view Name(Charset cs);
// True for valid UTF-8 that holds at least one multi-byte character.
bool IsUtf8Text(std::string_view bytes);
// The charset of the first CHRS or CHARSET control line (0x01 "CHRS: name",
// a level may follow) whose name is known; false when there is none.
bool FromControlLines(std::string_view text, Charset& out);

// The escapes of a run: each character CP866 cannot hold (and each invalid
// byte, and each box-drawing character) met in the text decoded with the
// table, with the escape (units.h) that stands for it. A run keeps one: the
// data files and the reply are decoded with it, and every text made from
// them is written and shown with the same table. Escapes are on (units)
// while a run's text holds escapes of a table; a function handed no table
// (nullptr) works with escapes off.
class EscapeTable {
 public:
  // True when some text decoded with the table holds an escape.
  bool Made() const { return !keys_.empty(); }
  // Appends the escape of key (a code point, or 0x110000 + an invalid byte),
  // taking the next free one for a key met first.
  void Append(std::string& out, std::uint32_t key);
  // The key of the escape at text[at]; false when no whole escape of the
  // table stands there.
  bool Key(std::string_view text, std::size_t at, std::uint32_t& key) const;

 private:
  std::vector<std::uint32_t> keys_;
  std::unordered_map<std::uint32_t, std::uint32_t> index_;
};

// text with each escape whose character cs cannot write (and each invalid
// byte) as '?': the form in which a text put into a reply is written.
std::string Writable(std::string_view text, Charset cs, const EscapeTable* escapes);
// The characters of text as Unicode code points, for the console: an escape
// is its character ('?' for an invalid byte), other bytes are CP866.
std::u32string Shown(std::string_view text, const EscapeTable* escapes);
// True when text holds an escape (escapes on).
bool HoldsEscape(std::string_view text);

// Bytes of charset cs as CP866 text. Without escapes a character CP866
// lacks becomes '?' (only data files meet that: a reply that is not CP866
// is decoded with escapes).
std::string Decode(std::string_view bytes, Charset cs, EscapeTable* escapes);
// True when Decode and Encode give the bytes back unchanged (CP866 without
// escapes), so a caller may use the bytes as they stand.
bool KeepsBytes(Charset cs, const EscapeTable* escapes);
// CP866 text as bytes of charset cs: an escape gives back its own bytes, a
// character cs lacks (from a data file) becomes '?'.
std::string Encode(std::string_view text, Charset cs, const EscapeTable* escapes);
// Encode into out (its earlier content replaced, its room kept).
void EncodeInto(std::string_view text, Charset cs, const EscapeTable* escapes, std::string& out);

}  // namespace charset
