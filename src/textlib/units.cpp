#include "textlib/units.h"

namespace units {

namespace {
bool escapes = false;
}  // namespace

void SetEscapes(bool on) { escapes = on; }
bool EscapesOn() { return escapes; }

std::size_t Length(std::string_view text, std::size_t at) {
  std::size_t n = 1;
  if (escapes) {
    while (at + n < text.size() && IsTrail(static_cast<unsigned char>(text[at + n]))) ++n;
  }
  return n;
}

std::size_t Count(std::string_view text) {
  if (!escapes || text.empty()) return text.size();
  std::size_t n = IsTrail(static_cast<unsigned char>(text[0])) ? 1 : 0;
  for (char c : text) n += IsTrail(static_cast<unsigned char>(c)) ? 0 : 1;
  return n;
}

std::size_t Head(std::string_view text, std::size_t n) {
  // Every character takes at least one byte: a text no longer than n bytes
  // has at most n characters.
  if (text.size() <= n) return text.size();
  if (!escapes) return n;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && IsTrail(static_cast<unsigned char>(text[i]))) continue;
    if (chars == n) return i;
    ++chars;
  }
  return text.size();
}

}  // namespace units
