#include <windows.h>

#include "platform/codepages.h"
#include "platform/wide_win32.h"

namespace platform {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

wchar_t Cp866Char(unsigned char b) { return b < 0x80 ? static_cast<wchar_t>(b) : static_cast<wchar_t>(kCp866High[b - 0x80]); }

unsigned char Cp866Byte(wchar_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  for (int i = 0; i < 128; ++i) {
    if (kCp866High[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

bool IsConsole(void* handle) {
  DWORD mode;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void ConsoleWriteCp866(void* handle, std::string_view bytes) {
  wchar_t buffer[512];
  while (!bytes.empty()) {
    DWORD used = 0;
    while (used < 512 && !bytes.empty()) {
      buffer[used++] = Cp866Char(static_cast<unsigned char>(bytes.front()));
      bytes.remove_prefix(1);
    }
    DWORD written;
    WriteConsoleW(handle, buffer, used, &written, nullptr);
  }
}

}  // namespace platform
