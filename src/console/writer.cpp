#include "console/writer.h"

#include "console/console.h"
#include "textlib/charset.h"
#include "textlib/dates.h"
#include "textlib/msgtext.h"

namespace writer {

using namespace shortstr;

ConsoleWriter* Writer = nullptr;

namespace {
LogSink logSink = nullptr;
ErrorSink errorSink = nullptr;
}  // namespace

void SetCopySinks(LogSink log, ErrorSink errors) {
  logSink = log;
  errorSink = errors;
}

namespace {
constexpr std::uint8_t kLevelError = 1;
constexpr std::uint8_t kLevelNotice = 3;
constexpr std::uint8_t kLevelHeading = 5;
constexpr std::uint8_t kLevelDetail = 7;
}  // namespace

void ConsoleWriter::Line(std::uint8_t colour, const ShortStr& text) {
  if (Quiet) return;
  console::SetTextColour(colour);
  console::WriteOutLn(text);
}

ShortStr ConsoleWriter::Record(const ShortStr& text) {
  return dates::NowText() + ShortStr(" ") + text;
}

namespace {
// The log keeps CP866 bytes: an escape goes in as its character's byte, or '?'.
ShortStr Plain(const ShortStr& text) {
  if (!charset::HoldsEscape(text.View())) return text;
  return ShortStr(charset::Encode(text.View(), charset::Charset::Cp866, console::EscapesShown()));
}
}  // namespace

void ConsoleWriter::CopyToLog(const ShortStr& english, std::uint8_t level) {
  if (LogCopy && !english.Empty() && logSink != nullptr) logSink(Record(Plain(english)), level);
}

void ConsoleWriter::PlainLine(const Text& text) {
  if (!Quiet) console::WriteOutLn(text.shown);
}

void ConsoleWriter::Progress(std::int32_t done, std::int32_t total) {
  double share = 0;
  if (total > 0) {
    share = static_cast<double>(done) / total;
    if (share < 0) share = 0;
    if (share > 1) share = 1;
  }
  if (Quiet) return;
  ShortStr head = ShortStr("\r") + NumTextOrDash(3, 0, share * 100) + ShortStr("% [") +
                  NumText(3, done) + ShortStr("/") + NumText(3, total) + ShortStr("]");
  console::WriteOut(head);
  int cells = static_cast<int>(share * 50);
  console::WriteOut(ShortStr("   ") + RepeatChar(0xFE, cells) + RepeatChar(0xF9, 50 - cells));
}

void ConsoleWriter::Heading(const Text& text) {
  Line(console::kWhite, text.shown);
  CopyToLog(text.english, kLevelHeading);
}

void ConsoleWriter::Detail(const Text& text) {
  Line(console::kLightGrey, ShortStr("   ") + text.shown);
  CopyToLog(text.english, kLevelDetail);
}

void ConsoleWriter::Notice(const Text& text) {
  Line(console::kYellow, text.shown);
  CopyToLog(text.english, kLevelNotice);
}

void ConsoleWriter::ErrorLine(const Text& text) {
  console::SetTextColour(console::kLightRed);
  console::WriteOutLn(text.shown);
  // Error lines are copied even when empty.
  ShortStr record = Record(Plain(text.english));
  if (LogCopy && logSink != nullptr) logSink(record, kLevelError);
  if (ErrorCopy && errorSink != nullptr) errorSink(record);
}

void ConsoleWriter::Info(const Text& text) { Line(console::kLightGrey, text.shown); }

void ConsoleWriter::Problem(const Text& text) {
  console::SetTextColour(console::kLightGrey);
  console::WriteOutLn(text.shown);
}

void ConsoleWriter::BreakNotice() {
  Info("");
  ErrorLine(msgtext::MsgText("CBrk", msgtext::LanguageCode()));
}

}  // namespace writer
