// Shared by the output files of each system (not part of the platform
// interface): the buffer of a file or pipe, and a console line built in a
// fixed buffer (nothing allocated: the fatal-fault path writes through it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/codepages.h"

namespace platform {

// Bytes for a file or pipe, gathered and written in large pieces. The
// capacity is reserved once, so that a signal handler may write it out.
struct OutBuffer {
  static constexpr std::size_t kSize = 1 << 16;
  std::string pending;

  void Start() { pending.reserve(kSize); }
  template <class Write>
  void Add(std::string_view bytes, Write&& write) {
    if (pending.size() + bytes.size() > kSize) Flush(write);
    if (bytes.size() > kSize) write(bytes);
    else pending.append(bytes);
  }
  template <class Write>
  void Flush(Write&& write) {
    if (pending.empty()) return;
    write(std::string_view(pending));
    pending.clear();
  }
};

// Hands the line and its end (CR LF, or lineEnd) to writeAll, with each
// control character (below 32, and 127) as ^X when shown; putByte(byte,
// put) puts one byte of text in the console's form through put (printable
// ASCII is the same in every console charset and goes as it is). A text of
// several lines (CR LF inside) takes lineEnd between them too.
template <class PutByte, class WriteAll>
void WriteShownLine(std::string_view text, bool shown, PutByte&& putByte, WriteAll&& writeAll,
                    std::string_view lineEnd = "\r\n") {
  char buffer[1024];
  std::size_t used = 0;
  auto put = [&](char c) {
    if (used == sizeof buffer) {
      writeAll(std::string_view(buffer, used));
      used = 0;
    }
    buffer[used++] = c;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x20 && b < 0x7F) {
      put(static_cast<char>(b));
    } else if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      for (char c : lineEnd) put(c);
      ++i;
    } else if (shown && (b < 0x20 || b == 0x7F)) {
      // A control character of message text must not act on the console.
      put('^');
      put(static_cast<char>(b ^ 0x40));
    } else {
      putByte(b, put);
    }
  }
  for (char c : lineEnd) put(c);
  writeAll(std::string_view(buffer, used));
}

// The byte of a character in a single-byte charset given by its high half,
// '?' when the charset lacks it.
inline char ByteOf(char32_t c, const unsigned short (&high)[128]) {
  if (c < 0x80) return static_cast<char>(c);
  for (unsigned b = 0; b < 128; ++b) {
    if (high[b] == c) return static_cast<char>(0x80 + b);
  }
  return '?';
}

// The CP866 byte of a character, '?' when CP866 lacks it.
inline char Cp866Of(char32_t c) { return ByteOf(c, kCp866High); }

// Characters as CP866 bytes ('?' for what CP866 lacks).
inline std::string Cp866Text(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out += Cp866Of(c);
  return out;
}

}  // namespace platform
