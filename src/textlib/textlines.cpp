#include "textlib/textlines.h"

#include <algorithm>
#include <cstring>

namespace textlines {

namespace {

constexpr unsigned char kCtrlZ = 0x1A;
constexpr std::size_t kQuoteWindow = 12;

}  // namespace

std::string_view LineEndBytes(LineEnd ending) {
  switch (ending) {
    case LineEnd::Lf: return "\n";
    case LineEnd::Cr: return "\r";
    case LineEnd::CrLf: break;
  }
  return "\r\n";
}

LineEnd FirstLineEnd(std::string_view text) {
  std::size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return LineEnd::CrLf;
  if (text[at] == '\n') return LineEnd::Lf;
  return at + 1 < text.size() && text[at + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
}

std::string_view WithoutEndMark(std::string_view text) {
  // The trailing run of Ctrl-Z, CR and LF bytes; the text ends at its first Ctrl-Z.
  std::size_t runStart = text.size();
  while (runStart > 0) {
    unsigned char c = static_cast<unsigned char>(text[runStart - 1]);
    if (c != kCtrlZ && c != '\r' && c != '\n') break;
    --runStart;
  }
  std::size_t mark = text.find(static_cast<char>(kCtrlZ), runStart);
  return mark == std::string_view::npos ? text : text.substr(0, mark);
}

bool MoreLinesThan(std::string_view text, std::size_t most) {
  std::size_t lines = 0;
  ForEachLine(WithoutEndMark(text), [&](std::string_view) { return ++lines <= most; });
  return lines > most;
}

int QuoteMark(std::string_view line) {
  // The first 12 characters take at most 12 escapes' bytes. A '>' is never
  // part of an escape, and one among the first 12 bytes is among the first
  // 12 characters: only one further on needs the characters before it counted.
  const std::size_t most = kQuoteWindow * (units::EscapesOn() ? units::kLongest : 1);
  const std::size_t window = std::min(line.size(), most);
  const char* p = line.data();
  for (std::size_t from = 0; from < window;) {
    const void* hit = std::memchr(p + from, '>', window - from);
    if (hit == nullptr) return 0;
    const auto i = static_cast<std::size_t>(static_cast<const char*>(hit) - p);
    if (i >= kQuoteWindow && units::Count(line.substr(0, i)) >= kQuoteWindow) return 0;
    if (i == 0 || (p[i - 1] != '-' && p[i - 1] != '=')) return static_cast<int>(i + 1);
    from = i + 1;  // an arrow, not a quote
  }
  return 0;
}

shortstr::ShortStr StripQuotePrefix(const shortstr::ShortStr& line) {
  if (line.Empty()) return {};
  int p = QuoteMark(line.View());
  if (p == 0) return line;
  while (line.At(p) == '>') ++p;
  return shortstr::Copy(line, p, shortstr::kMaxBytes);
}

std::size_t QuotePrefixLength(std::string_view line) {
  std::size_t end = static_cast<std::size_t>(QuoteMark(line));
  if (end == 0) return 0;
  const std::size_t window = units::Head(line, kQuoteWindow);
  while (end < window && line[end] == '>') ++end;
  if (end < line.size() && line[end] == ' ') ++end;
  return end;
}

}  // namespace textlines
