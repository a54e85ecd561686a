// How a text file becomes lines: the line ends (CR LF, CR or LF), the DOS
// end-of-file mark, the wrapping of a line longer than 255 characters, and
// the quote mark that wrapping and the quote filter both follow.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "textlib/shortstr.h"
#include "textlib/units.h"

namespace textlines {

enum class LineEnd { CrLf, Lf, Cr };

// The bytes that end a line written with ending.
std::string_view LineEndBytes(LineEnd ending);
// The first line end of text; CR LF when it has none.
LineEnd FirstLineEnd(std::string_view text);
// The text without its DOS end mark: a Ctrl-Z ends the text only when
// nothing but Ctrl-Z, CR and LF bytes follows it.
std::string_view WithoutEndMark(std::string_view text);

// Position of the first c in text from `from` on; text.size() when none.
inline std::size_t LineEndAt(std::string_view text, std::size_t from, char c) {
  if (from >= text.size()) return text.size();
  const void* at = std::memchr(text.data() + from, c, text.size() - from);
  return at == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
}

// Calls line(view) for each line of text, in order. A line ends at CR LF,
// at CR or at LF; a text ending in a line end gives no extra empty line.
// A line that returns bool stops the walk by returning false.
template <class F>
void ForEachLine(std::string_view text, F&& line) {
  auto call = [&line](std::string_view view) {
    if constexpr (std::is_same_v<decltype(line(view)), bool>) return line(view);
    else return line(view), true;
  };
  std::size_t start = 0;
  const std::size_t n = text.size();
  // The next CR and the next LF, each found with memchr and kept until
  // passed, so that the text is scanned once at memchr's speed.
  std::size_t cr = LineEndAt(text, 0, '\r'), lf = LineEndAt(text, 0, '\n');
  while (start < n) {
    if (cr < start) cr = LineEndAt(text, start, '\r');
    if (lf < start) lf = LineEndAt(text, start, '\n');
    const std::size_t end = cr < lf ? cr : lf;
    if (end == n) {
      call(text.substr(start));
      return;
    }
    if (!call(text.substr(start, end - start))) return;
    start = end + 1;
    if (text[end] == '\r' && start < n && text[start] == '\n') ++start;
  }
}

// True when text (without its end mark) has more than `most` lines.
bool MoreLinesThan(std::string_view text, std::size_t most);

// 1-based (byte) position of the quote mark: the first '>' within the first 12
// characters that does not directly follow '-' or '=' (an arrow such as
// "=>" is no quote mark); 0 when the line is not quoted.
int QuoteMark(std::string_view line);
// True when a quote mark stands within the first 12 characters: a '>' that
// is not the head of an arrow such as "->" or "=>".
inline bool IsQuoted(std::string_view line) { return QuoteMark(line) > 0; }
// The text after the quote prefix when the line is quoted (the run of '>'
// from its quote mark included in the prefix); otherwise the line unchanged.
shortstr::ShortStr StripQuotePrefix(const shortstr::ShortStr& line);
// Length of the quote prefix that wrapped pieces repeat: up to the quote
// mark and the '>' right after it (not past the 12th character), plus one
// space when a space follows; 0 for a line that is not quoted.
std::size_t QuotePrefixLength(std::string_view line);

// Calls piece(ShortStr) for the pieces of a line of any length, each at
// most 255 characters: a longer line is split after the last blank (space or
// TAB) of its first 255 characters, or after 255 when there is none; the
// pieces after the first of a quoted line start with its quote prefix, and
// blanks inside the prefix are never split points. Joining the pieces
// without their repeated prefixes gives the line back.
template <class F>
void WrapLine(std::string_view line, F&& piece) {
  constexpr std::size_t kMax = shortstr::kMaxLen;
  if (line.size() <= kMax || units::Count(line) <= kMax) {
    piece(shortstr::ShortStr(line));
    return;
  }
  const std::size_t prefixLen = QuotePrefixLength(line);
  const std::string_view prefix = line.substr(0, prefixLen);
  const std::size_t prefixChars = units::Count(prefix);
  std::string_view rest = line;
  shortstr::ShortStr out;
  for (bool first = true;; first = false) {
    const std::size_t room = kMax - (first ? 0 : prefixChars);  // characters
    const std::size_t roomBytes = units::Head(rest, room);
    out = shortstr::ShortStr(first ? std::string_view() : prefix);
    if (roomBytes == rest.size()) {
      out.Append(rest);
      piece(out);
      return;
    }
    // In the first piece the prefix is part of rest and its blanks do not count.
    const std::size_t skip = first ? prefixLen : 0;
    std::size_t cut = roomBytes;
    for (std::size_t i = roomBytes; i > skip; --i) {
      if (rest[i - 1] == ' ' || rest[i - 1] == '\t') {
        cut = i;
        break;
      }
    }
    out.Append(rest.substr(0, cut));
    piece(out);
    rest.remove_prefix(cut);
  }
}

}  // namespace textlines
