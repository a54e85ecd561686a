// Charsets of text files: CP866 (the program's own), UTF-8, KOI8-R and
// CP1251. Text is decoded to CP866 for the stages and encoded back when it is
// written. While escapes are on, every character CP866 cannot hold, every
// byte invalid in its charset and every box-drawing character (CP866
// 0xB0..0xDF) travels as an escape (units.h) that indexes a per-run table;
// escapes are whole characters to every stage, so such characters come back
// byte-identical.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// Escapes on, with a new empty table, or off.
void UseEscapes(bool on);
bool EscapesOn();
// True when some text decoded since UseEscapes holds an escape.
bool EscapesMade();
// text with each escape whose character cs cannot write (and each invalid
// byte) as '?': the form in which a text put into a reply is written.
std::string Writable(std::string_view text, Charset cs);
// The characters of text as Unicode code points, for the console: an escape
// is its character ('?' for an invalid byte), other bytes are CP866.
std::u32string Shown(std::string_view text);
// True when text holds an escape (escapes on).
bool HoldsEscape(std::string_view text);

// Bytes of charset cs as CP866 text. With escapes off a character CP866
// lacks becomes '?' (only data files meet that: a reply that is not CP866
// turns escapes on first).
std::string Decode(std::string_view bytes, Charset cs);
// True when Decode and Encode give the bytes back unchanged (CP866, escapes
// off), so a caller may use the bytes as they stand.
bool KeepsBytes(Charset cs);
// CP866 text as bytes of charset cs: an escape gives back its own bytes, a
// character cs lacks (from a data file) becomes '?'.
std::string Encode(std::string_view text, Charset cs);
// Encode into out (its earlier content replaced, its room kept).
void EncodeInto(std::string_view text, Charset cs, std::string& out);

}  // namespace charset
