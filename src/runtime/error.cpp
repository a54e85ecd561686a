#include "runtime/error.h"

#include <string_view>
#include <vector>

#include "console/console.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "runtime/error_text.h"
#include "runtime/exitproc.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/paths.h"
#include "textlib/textlines.h"
#include "textlib/tr.h"

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
constexpr int kReportLines = 5;

// What a fault caught as a signal needs, made at start-up, so that the
// handler does only async-signal-safe work: no allocation, no stdio, no
// locks, no exit procedures. Short strings live on the stack.
// The console's phrases of an error, in English and the old Russian.
enum Phrase { kErrorWord, kAt, kLineWord, kIn, kInform, kPressEnter, kStopped, kNormal, kPhrases };
struct PhraseText {
  const char* english;
  ShortStr russian;
};
constexpr PhraseText kPhraseTexts[kPhrases] = {
    {N_("ERROR "), Cp866("ОШИБКА ")},
    {N_(" at "), Cp866(" по адресу ")},
    {N_("Line # "), Cp866("Строка # ")},
    {N_(" in "), Cp866(" в модуле ")},
    {N_("Please, inform author about this error!"),
     Cp866("Пожалуйста, сообщите об ошибке автору программы!")},
    {N_("ERROR! Press <Enter> to exit..."), Cp866("ОШИБКА! Нажмите <Enter> для выхода...")},
    {N_("Program was stopped by <Ctrl-Break> !"), Cp866("Программа прервана по <Ctrl-Break> !")},
    {N_("Normal shutdown. Exit code: "), Cp866("Нормальное завершение. Код завершения: ")},
};

struct Prepared {
  ShortStr shown[kPhrases];                // the English phrases as the console shows them
  std::string reportPath;                  // the ".err" file
  std::vector<std::string> reportFolders;  // made first when missing
  std::string mapText;                     // the ".map" file, when there is one
};

Prepared& Ready() {
  static Prepared prepared;
  return prepared;
}

// A text of the report file: English, or the old Russian.
ShortStr InReport(const ShortStr& english, const ShortStr& russian) {
  return ErrorEnglish ? english : russian;
}

// A phrase for the console: the English one in the user's language (as
// prepared at start-up), or the old Russian.
ShortStr Say(Phrase p) {
  if (!ErrorEnglish) return kPhraseTexts[p].russian;
  const ShortStr& shown = Ready().shown[p];
  return shown.Empty() ? ShortStr(kPhraseTexts[p].english) : shown;
}

// Plain decimal, made without allocating.
ShortStr Dec(long long x) {
  char digits[24];
  int n = 0;
  unsigned long long u =
      x < 0 ? 0ULL - static_cast<unsigned long long>(x) : static_cast<unsigned long long>(x);
  do digits[n++] = static_cast<char>('0' + u % 10);
  while ((u /= 10) != 0);
  ShortStr r;
  if (x < 0) r.AppendChar('-');
  while (n > 0) r.AppendChar(static_cast<unsigned char>(digits[--n]));
  return r;
}

// x right-aligned in width with blanks (or zeros).
ShortStr Padded(long long x, int width, unsigned char fill = ' ') {
  const ShortStr digits = Dec(x);
  ShortStr r;
  for (int i = digits.len; i < width; ++i) r.AppendChar(fill);
  r.Append(digits);
  return r;
}

// DD-MM-YYYY HH:MM:SS, seconds to two as the packed file time keeps them.
ShortStr TimeStamp(const platform::LocalTime& t) {
  return Padded(t.Day, 2, '0') + ShortStr("-") + Padded(t.Month, 2, '0') + ShortStr("-") +
         Padded(t.Year, 4, '0') + ShortStr(" ") + Padded(t.Hour, 2, '0') + ShortStr(":") +
         Padded(t.Minute, 2, '0') + ShortStr(":") + Padded(t.Second / 2 * 2, 2, '0');
}

// Module name between "Line numbers for " and the first "(" after it.
ShortStr ModuleOf(const ShortStr& line, int at) {
  ShortStr rest = Copy(line, at + 17, kMaxBytes);
  int paren = Pos("(", rest);
  return paren > 0 ? Copy(rest, 1, (paren - 1) < 18 ? paren - 1 : 18) : ShortStr();
}

// The source line of address x in a map file's text; false when it is not
// there (module then empty). Allocates nothing.
bool MapLookupIn(std::string_view text, std::uint32_t x, std::int32_t& result, ShortStr& module) {
  static const CharSet blank(" ");
  module = ShortStr();
  ShortStr current;
  std::int32_t previous = 0;
  std::uint32_t previousAddress = 0;
  bool found = false;
  textlines::ForEachLine(textlines::WithoutEndMark(text), [&](std::string_view raw) {
    if (found) return;
    ShortStr line = Copy(ShortStr(raw), 1, kMapLineLimit);
    int at = Pos("Line numbers for ", line);
    if (at > 0) {
      current = ModuleOf(line, at);
      return;
    }
    if (current.Empty() || !OccursIn(":", line)) return;
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
  });
  if (!found) module = ShortStr();
  return found;
}

// The error and its source line, as the console shows them.
ShortStr FaultMessage(std::int32_t e, std::uint32_t a, std::int32_t line, const ShortStr& module) {
  ShortStr m = Say(kErrorWord) + Dec(e) + ShortStr(": \"") + ErrorText(e) + ShortStr("\"") +
               Say(kAt) + FormatSegOfs(a) + ShortStr(" !");
  m = Copy(m, 1, kMessageLimit);
  m = m + ShortStr("\r\n") + Say(kLineWord) + Dec(line) + Say(kIn) + module;
  return Copy(m, 1, kMessageLimit);
}

// The five lines of a failure report.
void ReportBlock(std::int32_t code, const ShortStr& text, const ShortStr& title,
                 std::uint32_t address, const ShortStr& stamp, std::int32_t line,
                 const ShortStr& module, ShortStr (&block)[kReportLines]) {
  ShortStr first = stamp;
  if (code != 0) first = first + ShortStr(", ERROR # ") + Padded(code, 3);
  first =
      first + ShortStr(" : \"") + (code > 0 ? ErrorText(code) : Copy(text, 1, 80)) + ShortStr("\"");
  if (address != 0) first = first + ShortStr(" at ") + FormatSegOfs(address);
  block[0] = first;
  block[1] = ShortStr("WHERE: ") + Copy(title, 1, 80);
  block[2] = ShortStr("Line # ") + Dec(line) + ShortStr(" in module ") + module;
  block[3] = ShortStr("FreeMem = ") + Dec(MemAvailable()) + ShortStr("  MaxMemBlock = ") +
             Dec(MemAvailable());
  block[4] = RepeatChar('-', 80);
}

ShortStr ReportTitle() {
  return InReport("reported by ErrorDone from unit Error",
                  Cp866("сообщено ErrorDone из модуля Error"));
}

void ShowFault(const ShortStr& message) {
  console::WriteOutLn("");
  console::WriteOutLn(message);
  console::WriteOutLn(Say(kInform));
  console::WriteOutLn(Say(kPressEnter));
  console::Flush();
  platform::WaitForEnter();
}

// With /Debug the fault address stays for the runtime's own report.
void RuntimeReport(std::int32_t code, std::uint32_t address) {
  if (address == 0) return;
  ShortStr report = ShortStr("Runtime error ") + Dec(code) + ShortStr(" at ") +
                    FormatSegOfs(address) + ShortStr("\n");
  platform::ErrWrite(report.View());
}

// A fault caught as a signal: the report and the message from what start-up
// prepared, then the end, all async-signal-safe. Buffered log records are
// not written: that would take the program's own file layer.
void OnFatalSignal(int code, std::uint32_t address) {
  const Prepared& ready = Ready();
  ExitCode = code;
  FaultAddress = address;
  ShortStr module;
  std::int32_t line = 0;
  MapLookupIn(ready.mapText, address, line, module);
  if (ErrorWriteReport && !ready.reportPath.empty()) {
    for (const std::string& folder : ready.reportFolders) platform::MakeFolderNow(folder);
    ShortStr block[kReportLines];
    ReportBlock(code, "", ReportTitle(), address, TimeStamp(platform::LocalNowPrepared()), line,
                module, block);
    char bytes[kReportLines * (kMaxBytes + 2)];
    std::size_t used = 0;
    for (const ShortStr& l : block) {
      for (int i = 0; i < l.len; ++i) bytes[used++] = static_cast<char>(l.s[i]);
      bytes[used++] = '\r';
      bytes[used++] = '\n';
    }
    platform::AppendNow(ready.reportPath, std::string_view(bytes, used));
  }
  if (ErrorShow) ShowFault(FaultMessage(code, address, line, module));
  console::ConsoleShutdown();
  if (!ErrorClearFault) RuntimeReport(code, address);
  platform::ProcessExit(code > 255 ? 234 : code);
}

void PrepareForFaults() {
  Prepared& ready = Ready();
  for (int p = 0; p < kPhrases; ++p) ready.shown[p] = tr::Tr(kPhraseTexts[p].english);
  platform::ClockPrepare();
  ready.reportPath = paths::ProgramOutputFile(".err", false);
  const std::string state = paths::StateFolder();
  if (!state.empty() && ready.reportPath.compare(0, state.size(), state) == 0) {
    ready.reportFolders = paths::MakePathPrefixes(state);
  }
  const std::string map = paths::ProgramDataFile(".map");
  if (platform::KindOf(map) == platform::Kind::Regular) iolist::TextRead(map, ready.mapText);
}

}  // namespace

void ErrorInit() {
  exitproc::InsertExitProc(ErrorDone, 1);
  PrepareForFaults();
  platform::InstallFatalHandlers(OnFatalSignal);
}

void ErrorDone() {
  const std::int32_t e = ExitCode;
  const std::uint32_t a = FaultAddress;
  ShortStr m;
  if (a != 0) {
    if (ErrorWriteReport) ErrorReport(e, "", ReportTitle(), a);
    ShortStr module;
    std::int32_t line = MapLineLookup("", a, module);
    m = FaultMessage(e, a, line, module);
  } else if (e == 255) {
    m = Say(kStopped);
  } else {
    m = Say(kNormal) + Dec(e) + ShortStr(".");
  }
  if (ErrorShow) {
    if (a != 0) {
      ShowFault(m);
    } else {
      console::WriteOutLn("");
      console::WriteOutLn(m);
    }
  }
  if (e > 255) ExitCode = 234;
  if (ErrorClearFault) FaultAddress = 0;
}

void ErrorReport(std::int32_t code, const ShortStr& text, const ShortStr& title,
                 std::uint32_t address) {
  // A report that cannot be written is given up silently: it is the last
  // word of a run that is failing already.
  files::File file;
  if (files::FileOpen(file, 0, paths::ProgramOutputFile(".err"),
                      files::optAppend | files::optText) != 0) {
    return;
  }
  ShortStr module;
  std::int32_t line = MapLineLookup("", address, module);
  ShortStr block[kReportLines];
  ReportBlock(code, text, title, address, TimeStamp(platform::LocalNow()), line, module, block);
  for (const ShortStr& l : block) files::WriteLine(file, l);
  files::FileClose(file);
}

std::int32_t MapLineLookup(const std::string& name, std::uint32_t x, ShortStr& module) {
  const std::string mapName = name.empty() ? paths::ProgramDataFile(".map") : name;
  module = ShortStr();
  std::string text;
  int r = iolist::TextRead(mapName, text);
  if (r != 0 && text.empty()) return r;
  std::int32_t result = 0;
  if (!MapLookupIn(text, x, result, module)) result = r;
  return result;
}

void Halt(std::int32_t code) {
  ExitCode = code;
  exitproc::RunExitProcs();
  console::ConsoleShutdown();
  RuntimeReport(ExitCode, FaultAddress);
  platform::ProcessExit(ExitCode > 255 ? 234 : ExitCode);
}

void RunErrorAt(std::int32_t code, std::uint32_t address) {
  FaultAddress = address != 0 ? address : 1;
  Halt(code);
}

void RunError(std::int32_t code) { RunErrorAt(code, platform::CallerOffset()); }

}  // namespace error
