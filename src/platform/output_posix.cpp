#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/output.h"

namespace platform {
namespace {

struct OutState {
  bool known = false;
  bool terminal = false;
  bool utf8 = false;
  bool colour = false;
  bool coloured = false;  // a colour was written and must be reset
  std::string* capture = nullptr;
};

OutState& State() {
  static OutState state;
  return state;
}

void Learn() {
  OutState& st = State();
  if (st.known) return;
  st.known = true;
  st.terminal = isatty(1) == 1;
  if (!st.terminal) return;
  const char* term = std::getenv("TERM");
  st.colour = term == nullptr || std::strcmp(term, "dumb") != 0;
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  st.utf8 = codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 ||
                                   std::strcmp(codeset, "utf8") == 0);
}

void WriteAll(std::string_view bytes) {
  OutState& st = State();
  if (st.capture != nullptr) {
    st.capture->append(bytes);
    return;
  }
  while (!bytes.empty()) {
    ssize_t n = write(1, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

// Unicode code points of CP866 0x80..0xFF.
constexpr unsigned short kHigh[128] = {
    0x410, 0x411, 0x412, 0x413, 0x414, 0x415, 0x416, 0x417, 0x418, 0x419, 0x41A,
    0x41B, 0x41C, 0x41D, 0x41E, 0x41F, 0x420, 0x421, 0x422, 0x423, 0x424, 0x425,
    0x426, 0x427, 0x428, 0x429, 0x42A, 0x42B, 0x42C, 0x42D, 0x42E, 0x42F, 0x430,
    0x431, 0x432, 0x433, 0x434, 0x435, 0x436, 0x437, 0x438, 0x439, 0x43A, 0x43B,
    0x43C, 0x43D, 0x43E, 0x43F, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561,
    0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B,
    0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568,
    0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518,
    0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x440, 0x441, 0x442, 0x443,
    0x444, 0x445, 0x446, 0x447, 0x448, 0x449, 0x44A, 0x44B, 0x44C, 0x44D, 0x44E,
    0x44F, 0x401, 0x451, 0x404, 0x454, 0x407, 0x457, 0x40E, 0x45E, 0xB0, 0x2219,
    0xB7, 0x221A, 0x2116, 0xA4, 0x25A0, 0xA0};

}  // namespace

std::string Cp866ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
      continue;
    }
    unsigned code = kHigh[c - 0x80];
    if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
  return out;
}

void OutWrite(std::string_view bytes) {
  Learn();
  if (State().utf8 && State().capture == nullptr) {
    WriteAll(Cp866ToUtf8(bytes));
  } else {
    WriteAll(bytes);
  }
}

void OutSetColour(int colour) {
  Learn();
  OutState& st = State();
  if (!st.colour || st.capture != nullptr) return;
  // Console colour numbers count blue as 1 and red as 4; ANSI the reverse.
  static constexpr int kAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  int base = kAnsi[colour & 7];
  std::string seq = "\x1b[" + std::to_string((colour & 8) ? 90 + base : 30 + base) + "m";
  WriteAll(seq);
  st.coloured = true;
}

void OutResetColours() {
  OutState& st = State();
  if (st.coloured && st.capture == nullptr) WriteAll("\x1b[0m");
  st.coloured = false;
}

void OutReset() {
  State().known = false;
  Learn();
}

void OutCapture(std::string* sink) { State().capture = sink; }

}  // namespace platform
