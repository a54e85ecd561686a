// Standard output on Windows. On a console the CP866 text is written as
// UTF-16, so that it reads correctly whatever the console's code page, and
// colours are the console's text attributes; redirected, the bytes go out
// unchanged, buffered, as on POSIX.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/codepages.h"
#include "platform/output.h"
#include "platform/output_common.h"
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
  OutBuffer buffer;  // for a file or pipe
  std::string* capture = nullptr;
  HANDLE handle = INVALID_HANDLE_VALUE;
  DWORD which = STD_OUTPUT_HANDLE;  // or STD_ERROR_HANDLE
};

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
  if (!st.console) {
    st.buffer.Start();
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
  st.buffer.Add(bytes, WriteNow);
}

}  // namespace

void OutFlush() { State().buffer.Flush(WriteNow); }

void OutWrite(std::string_view bytes) {
  Learn();
  WriteAll(bytes);
}

void OutWriteLine(std::string_view text) {
  // The fatal-fault path writes its lines through here.
  Learn();
  OutState& st = State();
  auto putByte = [](unsigned char b, auto& put) { put(static_cast<char>(b)); };
  WriteShownLine(text, st.console && st.capture == nullptr, putByte, WriteAll);
}

void OutWriteLineUnicode(std::u32string_view text) {
  Learn();
  OutState& st = State();
  if (!st.console || st.capture != nullptr) {
    OutWriteLine(Cp866Text(text));
    return;
  }
  std::wstring wide;
  for (char32_t c : text) {
    if (c < 0x20 || c == 0x7F) {
      // A control character of message text must not act on the console.
      wide += L'^';
      wide += static_cast<wchar_t>(c ^ 0x40);
    } else if (c < 0x10000) {
      wide += static_cast<wchar_t>(c);
    } else {
      wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  wide += L"\r\n";
  DWORD written;
  WriteConsoleW(st.handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
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
  OutFlush();  // what waits belongs to standard output
  State().which = STD_ERROR_HANDLE;
  OutReset();
}

void GuardStandardStreams() {}  // handles are not numbered: no file can take a closed one's place

bool ResultWrite(std::string_view bytes) { return WriteHandle(GetStdHandle(STD_OUTPUT_HANDLE), bytes); }

void OutCapture(std::string* sink) { State().capture = sink; }

}  // namespace platform
