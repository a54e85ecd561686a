#include "runtime/logfile.h"

#include "console/console.h"
#include "console/writer.h"
#include "runtime/error_text.h"
#include "runtime/exitproc.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "textlib/paths.h"

namespace logfile {

using namespace shortstr;
using error_text::ErrorText;

namespace {

// Set while a failure of direct mode is being reported, so that a failing
// error file cannot report itself without end.
bool reporting = false;

ShortStr Failure(const ShortStr& what, int code, const ShortStr& where, const std::string& name) {
  return Cp866("Ошибка ") + what + ShortStr(" (") + ErrorText(code < 0 ? -code : code) +
         ShortStr(") ") + where + ShortStr(name) + ShortStr("!");
}

void ReportDirectFailure(const ShortStr& message) {
  console::WriteOutLn(message);
  if (reporting) return;
  reporting = true;
  ErrorLogWrite(message);
  reporting = false;
}

}  // namespace

LogState& State() {
  static LogState state;
  return state;
}

void LogInit() {
  LogState& s = State();
  // The user folder, where it is needed, is made when a record is written.
  s.LogFileName = paths::ProgramOutputFile(".log", false);
  s.ErrorFileName = paths::ProgramOutputFile(".err", false);
  if (s.LogLines == nullptr) listman::ListCreate(s.LogLines);
  if (s.ErrorLines == nullptr) listman::ListCreate(s.ErrorLines);
  exitproc::AddExitProc(LogFlush);
  writer::SetCopySinks(LogWrite, ErrorLogWrite);  // the writers' copies come here
}

void LogWrite(const ShortStr& record, std::uint8_t level) {
  LogState& s = State();
  if (!s.LogEnabled || level > s.LogLevelLimit) return;
  if (s.LogDirect)
    LogAppendLine(s.LogFileName, record);
  else
    lines::LineAdd(s.LogLines, record);
}

void ErrorLogWrite(const ShortStr& record) {
  LogState& s = State();
  if (!s.ErrorLogEnabled) return;
  if (s.LogDirect)
    LogAppendLine(s.ErrorFileName, record);
  else
    lines::LineAdd(s.ErrorLines, record);
}

void LogAppendLine(const std::string& name, const ShortStr& record) {
  files::File file;
  int r = files::FileOpen(file, 0, name, files::optAppend | files::optText | files::optMakeDir);
  if (r != 0) {
    ReportDirectFailure(Failure(Cp866("открытия"), r, Cp866("log-файла "), name));
    return;
  }
  // A buffered write may fail only when the close flushes it.
  int code = files::WriteLine(file, record);
  const int closed = files::FileClose(file);
  if (code == 0) code = closed;
  if (code != 0)
    ReportDirectFailure(Failure(Cp866("записи"), code, Cp866("log-record в файл "), name));
}

void LogFlush() {
  LogState& s = State();
  if (s.LogLines != nullptr && s.LogLines->Count > 0) {
    int r = iolist::TextWrite(s.LogFileName, s.LogLines, "", 0);
    if (r != 0) {
      ShortStr message = Failure(Cp866("записи"), r, Cp866("протокола в файл "), s.LogFileName);
      console::WriteOutLn(message);
      ErrorLogWrite(message);
    }
    listman::ListClearAll(s.LogLines);
  }
  if (s.LogLines != nullptr) listman::ListDisposeAll(s.LogLines);
  if (s.ErrorLines != nullptr && s.ErrorLines->Count > 0) {
    int r = iolist::TextWrite(s.ErrorFileName, s.ErrorLines, "", 0);
    if (r != 0) {
      console::WriteOutLn(
          Failure(Cp866("записи"), r, Cp866("протокола ошибок в файл "), s.ErrorFileName));
    }
    listman::ListClearAll(s.ErrorLines);
  }
  if (s.ErrorLines != nullptr) listman::ListDisposeAll(s.ErrorLines);
}

}  // namespace logfile
