// The process on Windows: the command line as UTF-16, faults through an
// unhandled-exception filter, the wait for Enter on a console.
#include <windows.h>

#include <cstdlib>

#include "platform/process.h"
#include "platform/wide_win32.h"

namespace platform {
namespace {

FatalHandler fatalHandler = nullptr;

LONG WINAPI OnException(EXCEPTION_POINTERS* info) {
  int code;
  switch (info->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION: case EXCEPTION_IN_PAGE_ERROR: code = 216; break;
    case EXCEPTION_INT_DIVIDE_BY_ZERO: case EXCEPTION_INT_OVERFLOW: code = 200; break;
    default: return EXCEPTION_CONTINUE_SEARCH;
  }
  SetUnhandledExceptionFilter(nullptr);  // a fault inside the handler ends the process
  if (fatalHandler != nullptr) fatalHandler(code, CodeOffset(info->ExceptionRecord->ExceptionAddress));
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace

std::vector<std::string> CommandArguments(int, char**) {
  // Runs of characters at or below the blank separate arguments; a double
  // quote starts or ends a part in which blanks belong to the argument and
  // is itself dropped; an argument of only an empty pair of quotes is
  // skipped. The first argument is the program's own name.
  std::vector<std::string> args;
  const wchar_t* p = GetCommandLineW();
  bool first = true;
  while (*p != 0) {
    while (*p != 0 && *p <= L' ') ++p;
    if (*p == 0) break;
    std::wstring arg;
    bool quoted = false;
    for (; *p != 0 && (quoted || *p > L' '); ++p) {
      if (*p == L'"') quoted = !quoted;
      else arg.push_back(*p);
    }
    if (!first && !arg.empty()) args.push_back(Utf8(arg));
    first = false;
  }
  return args;
}

std::uint32_t CodeOffset(const void* address) {
  const auto base = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  const auto offset = static_cast<std::uint32_t>(at >= base ? at - base : at);
  return offset != 0 ? offset : 1;
}

void InstallFatalHandlers(FatalHandler handler) {
  fatalHandler = handler;
  // No message box: a fault ends the run with its code and report.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(OnException);
}

const char* SystemName() { return "Windows"; }

bool IsPositionalArgument(const std::string& arg) {
  // '-' and '/' start options ('-' alone names standard input); Windows
  // paths begin with a drive or '\'.
  return arg == "-" || (!arg.empty() && arg[0] != '-' && arg[0] != '/');
}

void WaitForEnter() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsConsole(in)) return;
  wchar_t c;
  DWORD n;
  while (ReadConsoleW(in, &c, 1, &n, nullptr) && n == 1) {
    if (c == L'\r' || c == L'\n') return;
  }
}

void ErrWrite(std::string_view bytes) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(err)) {
    ConsoleWriteCp866(err, bytes);
    return;
  }
  while (!bytes.empty()) {
    DWORD n = 0;
    if (!WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) || n == 0) return;
    bytes.remove_prefix(n);
  }
}

void ProcessExit(int code) { std::_Exit(code); }

}  // namespace platform
