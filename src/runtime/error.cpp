#include "runtime/error.h"

#include "console/console.h"
#include "runtime/error_text.h"
#include "platform/files.h"
#include "platform/process.h"
#include "textlib/dates.h"
#include "runtime/exitproc.h"
#include "textlib/files.h"
#include "textlib/paths.h"

namespace error {

using namespace shortstr;
using error_text::ErrorText;

bool ErrorEnglish = false;
bool ErrorShow = true;
bool ErrorWriteReport = true;
bool ErrorClearFault = true;
std::int32_t ExitCode = 0;
std::uint32_t FaultAddress = 0;

namespace {

constexpr int kMessageLimit = 150;
constexpr int kMapLineLimit = 80;

ShortStr Say(const ShortStr& english, const ShortStr& russian) {
  return ErrorEnglish ? english : russian;
}

void OnFatal(int code, std::uint32_t address) { RunErrorAt(code, address); }

// Module name between "Line numbers for " and the first "(" after it.
ShortStr ModuleOf(const ShortStr& line, int at) {
  ShortStr rest = Copy(line, at + 17, kMaxLen);
  int paren = Pos("(", rest);
  return paren > 0 ? Copy(rest, 1, (paren - 1) < 18 ? paren - 1 : 18) : ShortStr();
}

}  // namespace

void ErrorInit() {
  exitproc::InsertExitProc(ErrorDone, 1);
  platform::InstallFatalHandlers(OnFatal);
}

void ErrorDone() {
  const std::int32_t e = ExitCode;
  const std::uint32_t a = FaultAddress;
  ShortStr m;
  if (a != 0) {
    if (ErrorWriteReport) {
      ErrorReport(e, "", Say("reported by ErrorDone from unit Error", Cp866("сообщено ErrorDone из модуля Error")), a);
    }
    m = Say("ERROR ", Cp866("ОШИБКА ")) + Num(e) + ShortStr(": \"") + ErrorText(e) + ShortStr("\"") +
        Say(" at ", Cp866(" по адресу ")) + FormatSegOfs(a) + ShortStr(" !");
    m = Copy(m, 1, kMessageLimit);
    ShortStr module;
    std::int32_t line = MapLineLookup("", a, module);
    m = m + ShortStr("\r\n") + Say("Line # ", Cp866("Строка # ")) + Num(line) +
        Say(" in ", Cp866(" в модуле ")) + module;
    m = Copy(m, 1, kMessageLimit);
  } else if (e == 255) {
    m = Say("Program was stopped by <Ctrl-Break> !", Cp866("Программа прервана по <Ctrl-Break> !"));
  } else {
    m = Say("Normal shutdown. Exit code: ", Cp866("Нормальное завершение. Код завершения: ")) + Num(e) +
        ShortStr(".");
  }
  if (ErrorShow) {
    console::WriteOutLn("");
    console::WriteOutLn(m);
    if (a != 0) {
      console::WriteOutLn(Say("Please, inform author about this error!", Cp866("Пожалуйста, сообщите об ошибке автору программы!")));
      console::WriteOutLn(Say("ERROR! Press <Enter> to exit...", Cp866("ОШИБКА! Нажмите <Enter> для выхода...")));
      platform::WaitForEnter();
    }
  }
  if (e > 255) ExitCode = 234;
  if (ErrorClearFault) FaultAddress = 0;
}

void ErrorReport(std::int32_t code, const ShortStr& text, const ShortStr& title,
                 std::uint32_t address) {
  platform::IoResult();
  files::File file;
  if (files::FileOpen(file, 0, paths::ProgramOutputFile(".err"), files::optAppend | files::optText) != 0) {
    platform::IoResult();
    return;
  }
  ShortStr first = dates::DateTimeText(dates::NowPacked(), "-", ":");
  if (code != 0) first = first + ShortStr(", ERROR # ") + NumText(3, code);
  first = first + ShortStr(" : \"") + (code > 0 ? ErrorText(code) : Copy(text, 1, 80)) + ShortStr("\"");
  if (address != 0) first = first + ShortStr(" at ") + FormatSegOfs(address);
  ShortStr module;
  std::int32_t line = MapLineLookup("", address, module);
  const ShortStr block[] = {
      first,
      ShortStr("WHERE: ") + Copy(title, 1, 80),
      ShortStr("Line # ") + Num(line) + ShortStr(" in module ") + module,
      ShortStr("FreeMem = ") + Num(MemAvailable()) + ShortStr("  MaxMemBlock = ") + Num(MemAvailable()),
      RepeatChar('-', 80),
  };
  for (const ShortStr& l : block) files::WriteLine(file, l);
  files::FileClose(file);
  platform::IoResult();
}

std::int32_t MapLineLookup(const std::string& name, std::uint32_t x, ShortStr& module) {
  const std::string mapName = name.empty() ? paths::ProgramDataFile(".map") : name;
  module = ShortStr();
  files::File file;
  int r = files::FileOpen(file, 0, mapName, files::optRead | files::optText);
  if (r != 0) return -r;
  static const CharSet blank(" ");
  ShortStr current, raw;
  std::int32_t previous = 0;
  std::uint32_t previousAddress = 0;
  std::int32_t result = 0;
  bool found = false;
  while (!found && files::ReadLine(file, raw)) {
    ShortStr line = Copy(raw, 1, kMapLineLimit);
    int at = Pos("Line numbers for ", line);
    if (at > 0) {
      current = ModuleOf(line, at);
      continue;
    }
    if (current.Empty() || !OccursIn(":", line)) continue;
    for (int i = 0; i < 4 && !found; ++i) {
      int k = 2 * i + 1;
      ShortStr number = ExtractWord(line, k, blank);
      if (k < 0) continue;
      int k2 = 2 * i + 2;
      std::uint32_t a = ParseSegOfs(ExtractWord(line, k2, blank));
      double value = StrToReal(number);
      std::int32_t n = value > 2e9 || value < -2e9 ? 0 : static_cast<std::int32_t>(value);
      if (HiWord(x) == HiWord(previousAddress) && HiWord(x) == HiWord(a) &&
          LoWord(x) >= LoWord(previousAddress) && LoWord(x) < LoWord(a)) {
        result = previous;
        found = true;
      } else {
        previous = n;
        previousAddress = a;
        module = current;
      }
    }
  }
  if (!found) {
    int code = file.Failed ? platform::IoResult() : 0;
    result = file.Failed ? -(code != 0 ? code : 100) : 0;
    module = ShortStr();
  }
  files::FileClose(file);
  platform::IoResult();
  return result;
}

void Halt(std::int32_t code) {
  ExitCode = code;
  exitproc::RunExitProcs();
  console::ConsoleShutdown();
  if (FaultAddress != 0) {
    ShortStr report = ShortStr("Runtime error ") + Num(ExitCode) + ShortStr(" at ") +
                      FormatSegOfs(FaultAddress) + ShortStr("\n");
    platform::ErrWrite(report.View());
  }
  platform::ProcessExit(ExitCode > 255 ? 234 : ExitCode);
}

void RunErrorAt(std::int32_t code, std::uint32_t address) {
  FaultAddress = address != 0 ? address : 1;
  Halt(code);
}

void RunError(std::int32_t code) {
  RunErrorAt(code, platform::CallerOffset());
}

}  // namespace error
