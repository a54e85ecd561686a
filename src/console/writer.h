// The console writer: every message the program shows passes through it.
// Each kind of message sets its own colour first; with its copy flags on,
// headings, details, notices and error lines are also copied, stamped with
// the date and time, into the log and the error log. A text comes in both
// of its forms: the console shows the user's language, the copies keep the
// English.
#pragma once

#include <cstdint>

#include "textlib/shortstr.h"
#include "textlib/tr.h"

namespace writer {

using shortstr::ShortStr;
using tr::Text;

class ConsoleWriter {
 public:
  ConsoleWriter() = default;
  virtual ~ConsoleWriter() = default;
  ConsoleWriter(const ConsoleWriter&) = delete;
  ConsoleWriter& operator=(const ConsoleWriter&) = delete;

  // Slot order of the operations.
  virtual void Release() {}
  // Text and CR LF in the colour last set.
  virtual void PlainLine(const Text& text);
  // CR, ' 50% [  5/ 10]', three blanks and a 50-cell bar; no line end.
  // total <= 0 shows 0% and an empty bar; done is taken as 0..total.
  virtual void Progress(std::int32_t done, std::int32_t total);
  virtual void Heading(const Text& text);    // white (15)
  virtual void Detail(const Text& text);     // light grey, three blanks first
  virtual void Notice(const Text& text);     // yellow (14)
  virtual void ErrorLine(const Text& text);  // light red (12)
  virtual void Info(const Text& text);       // light grey (7)
  // An empty Info line, then the message text file's "CBrk" as ErrorLine.
  virtual void BreakNotice();
  // A note on a problem the run met and went on from (light grey, as Info);
  // shown even when the writer is quiet.
  virtual void Problem(const Text& text);

  bool LogCopy = true;
  bool ErrorCopy = true;
  // Quiet: only error lines and problems reach the console (the filter
  // mode, whose standard error an editor may put into the message).
  bool Quiet = false;

 private:
  void Line(std::uint8_t colour, const ShortStr& text);
  void CopyToLog(const ShortStr& english, std::uint8_t level);
  // A log record: the date and time, a blank, the text.
  static ShortStr Record(const ShortStr& text);
};

// The program's one writer; set by the entry point.
extern ConsoleWriter* Writer;

// Where the writers' copies go: the log (a record and its level) and the
// error log. The log module sets them at its start-up; unset, no copies.
using LogSink = void (*)(const ShortStr& record, std::uint8_t level);
using ErrorSink = void (*)(const ShortStr& record);
void SetCopySinks(LogSink log, ErrorSink errors);

}  // namespace writer
