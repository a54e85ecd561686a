// Standard output on Windows. On a console the CP866 text is written as
// UTF-16, so that it reads correctly whatever the console's code page, and
// colours are the console's text attributes; redirected, the bytes go out
// unchanged, buffered, as on POSIX.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/codepages.h"
#include "platform/output.h"
#include "platform/wide_win32.h"

namespace platform {
namespace {

struct OutState {
  bool known = false;
  bool console = false;
  bool colour = false;
  bool coloured = false;  // an attribute was set and must be put back
  WORD savedAttribute = 7;
  bool pagesSaved = false;
  UINT savedOutputPage = 0, savedInputPage = 0;
  bool buffered = false;
  std::string pending;
  std::string* capture = nullptr;
  HANDLE handle = INVALID_HANDLE_VALUE;
  DWORD which = STD_OUTPUT_HANDLE;  // or STD_ERROR_HANDLE
};

constexpr std::size_t kBufferSize = 1 << 16;

OutState& State() {
  static OutState state;
  return state;
}

void Learn() {
  OutState& st = State();
  if (st.known) return;
  st.known = true;
  st.handle = GetStdHandle(st.which);
  st.console = IsConsole(st.handle);
  st.buffered = !st.console;
  if (st.buffered) {
    st.pending.reserve(kBufferSize);
    return;
  }
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(st.handle, &info)) st.savedAttribute = info.wAttributes;
  const char* noColour = std::getenv("NO_COLOR");  // the no-color convention
  st.colour = noColour == nullptr || *noColour == 0;
  if (!st.pagesSaved) {
    // The console's code pages are set for the run and put back at its
    // end; the text itself goes out as UTF-16 and does not depend on them.
    st.savedOutputPage = GetConsoleOutputCP();
    st.savedInputPage = GetConsoleCP();
    SetConsoleOutputCP(1252);
    SetConsoleCP(1252);
    st.pagesSaved = true;
  }
}

// Writes all of bytes to h; false on an error.
bool WriteHandle(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD n = 0;
    const DWORD want = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    if (!WriteFile(h, bytes.data(), want, &n, nullptr) || n == 0) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

void WriteNow(std::string_view bytes) { WriteHandle(State().handle, bytes); }

void WriteAll(std::string_view bytes) {
  OutState& st = State();
  if (st.capture != nullptr) {
    st.capture->append(bytes);
    return;
  }
  if (st.console) {
    ConsoleWriteCp866(st.handle, bytes);
    return;
  }
  if (st.pending.size() + bytes.size() > kBufferSize) {
    WriteNow(st.pending);
    st.pending.clear();
  }
  if (bytes.size() > kBufferSize) WriteNow(bytes);
  else st.pending.append(bytes);
}

}  // namespace

void OutFlush() {
  OutState& st = State();
  if (st.pending.empty()) return;
  WriteNow(st.pending);
  st.pending.clear();
}

void OutWrite(std::string_view bytes) {
  Learn();
  WriteAll(bytes);
}

void OutWriteLine(std::string_view text) {
  // Built in a fixed buffer, never on the heap: the fatal-fault path writes
  // its lines through here.
  Learn();
  OutState& st = State();
  const bool shown = st.console && st.capture == nullptr;
  char buffer[1024];
  std::size_t used = 0;
  auto put = [&](char c) {
    if (used == sizeof buffer) {
      WriteAll(std::string_view(buffer, used));
      used = 0;
    }
    buffer[used++] = c;
  };
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (shown && (b < 0x20 || b == 0x7F)) {
      // A control character of message text must not act on the console.
      put('^');
      put(static_cast<char>(b ^ 0x40));
    } else {
      put(ch);
    }
  }
  put('\r');
  put('\n');
  WriteAll(std::string_view(buffer, used));
}

void OutSetColour(int colour) {
  Learn();
  OutState& st = State();
  if (!st.colour || st.capture != nullptr) return;
  SetConsoleTextAttribute(st.handle, static_cast<WORD>((st.savedAttribute & 0xF0) | (colour & 0x0F)));
  st.coloured = true;
}

void OutResetColours() {
  OutState& st = State();
  if (st.coloured && st.capture == nullptr) SetConsoleTextAttribute(st.handle, st.savedAttribute);
  st.coloured = false;
  if (st.pagesSaved) {
    SetConsoleOutputCP(st.savedOutputPage);
    SetConsoleCP(st.savedInputPage);
    st.pagesSaved = false;
  }
}

void OutReset() {
  OutFlush();
  State().known = false;
  Learn();
}

void OutToStandardError() {
  OutFlush();
  State().which = STD_ERROR_HANDLE;
  State().known = false;
  Learn();
}

bool ResultWrite(std::string_view bytes) { return WriteHandle(GetStdHandle(STD_OUTPUT_HANDLE), bytes); }

void OutCapture(std::string* sink) { State().capture = sink; }

}  // namespace platform
