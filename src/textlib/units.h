// Characters of the program's text. A character is one byte, except while
// escapes are on (a run whose reply or data hold characters CP866 lacks):
// then such a character, and every box-drawing one, is an escape of two to
// five bytes, a lead byte 0xB0..0xBF that tells the length and trail bytes
// 0xC0..0xDF. No byte of an escape starts or ends another character, so a
// byte search finds whole characters only, and lengths count characters:
// a character starts at every byte that is no trail byte (and at the first
// byte of a text).
#pragma once

#include <cstddef>
#include <string_view>

namespace units {

inline constexpr unsigned char kFirstLead = 0xB0;
inline constexpr unsigned char kLastLead = 0xBF;
inline constexpr unsigned char kFirstTrail = 0xC0;
inline constexpr unsigned char kLastTrail = 0xDF;
// Leads from these on start escapes of three and of five bytes.
inline constexpr unsigned char kThreeByteLead = 0xBC;
inline constexpr unsigned char kFiveByteLead = 0xBE;
// The longest escape: 255 characters of any kind fit in 5 * 255 bytes.
inline constexpr std::size_t kLongest = 5;

// Escapes on or off for the run (the charset module switches them).
void SetEscapes(bool on);
bool EscapesOn();

inline bool IsLead(unsigned char c) { return c >= kFirstLead && c <= kLastLead; }
inline bool IsTrail(unsigned char c) { return c >= kFirstTrail && c <= kLastTrail; }
// Bytes of an escape that starts with lead.
inline std::size_t LeadLength(unsigned char lead) {
  return lead < kThreeByteLead ? 2 : lead < kFiveByteLead ? 3 : 5;
}

// Bytes of the character at text[at] (at < size): 1, or with escapes on
// 1 and the trail bytes that follow.
std::size_t Length(std::string_view text, std::size_t at);
// Characters in text.
std::size_t Count(std::string_view text);
// Bytes of the longest head of text with at most n characters (no escape
// split).
std::size_t Head(std::string_view text, std::size_t n);

}  // namespace units
