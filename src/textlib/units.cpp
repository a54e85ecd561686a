#include "textlib/units.h"

namespace units {

namespace {
bool escapes = false;
}  // namespace

void SetEscapes(bool on) { escapes = on; }
bool EscapesOn() { return escapes; }

std::size_t Length(std::string_view text, std::size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (!escapes || !IsLead(c)) return 1;
  const std::size_t n = LeadLength(c);
  if (at + n > text.size()) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if (!IsTrail(static_cast<unsigned char>(text[at + k]))) return 1;
  }
  return n;
}

std::size_t Count(std::string_view text) {
  if (!escapes) return text.size();
  std::size_t n = 0;
  for (std::size_t at = 0; at < text.size(); at += Length(text, at)) ++n;
  return n;
}

std::size_t Head(std::string_view text, std::size_t n) {
  // Every character takes at least one byte: a text no longer than n bytes
  // has at most n characters.
  if (text.size() <= n) return text.size();
  if (!escapes) return n;
  std::size_t at = 0;
  for (std::size_t chars = 0; chars < n && at < text.size(); ++chars) at += Length(text, at);
  return at;
}

}  // namespace units
