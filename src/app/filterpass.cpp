#include "app/filterpass.h"

#include "console/console.h"
#include "console/keyb.h"
#include "console/writer.h"
#include "filter/quote_filter.h"
#include "console/timing.h"
#include "textlib/lines.h"
#include "textlib/tr.h"

namespace filterpass {

using namespace quote_filter;
using listman::List;
using shortstr::ShortStr;
using writer::Writer;

namespace {

constexpr std::uint16_t kKeyWindowMs = 540;

// The filter's reports are printed like the writer's plain lines.
void PrintReport(const ShortStr& line) { Writer->PlainLine(line); }

// A key pressed within the window after the prompt can change the mode.
std::int32_t KeyWindow(std::int32_t mode) {
  keyb::QuietBegin();  // a key pressed in the window is not echoed
  Writer->Notice(tr::Say("Waiting a key [F1, F2, F3, Esc]... "));
  console::Flush();
  timing::DelayMs(kKeyWindowMs);
  Writer->Notice(tr::Say("Or not..."));
  if (keyb::KeyWaiting()) {
    switch (keyb::ReadKeyCode()) {
      case keyb::kEsc: mode = kModeSqueeze; break;
      case keyb::kF1: mode = kModeService; break;
      case keyb::kF2: mode = kModePatterns; break;
      case keyb::kF3: mode = kModeAll; break;
      default: break;
    }
  }
  keyb::DiscardKeys();
  keyb::QuietEnd();
  return mode;
}

}  // namespace

std::int32_t ChooseFlags(std::int32_t mode, const settings::Settings& options, bool keyWindow) {
  if (keyWindow && options.KeyWindow) mode = KeyWindow(mode);
  if (!options.Squeeze) mode &= ~kSqueeze;
  if (options.FilterInfo) mode |= kInfo;
  return mode;
}

void FilterPasses(app::RunContext& run) {
  List* message = run.MessageLines;
  const std::int32_t flags = run.FilterFlags | kQuoted;
  const std::int32_t before = lines::LineCount(message);
  QuoteFilter(message, run.FilterList, nullptr, 1, run.HeaderSize, flags, PrintReport);
  std::int32_t footerStart = lines::LineCount(message) - run.FooterSize + 1;
  QuoteFilter(message, run.FilterList, nullptr, footerStart, -1, flags, PrintReport);
  QuoteFilter(message, run.Filter2List, nullptr, -1, -1, flags, PrintReport);
  run.LinesSkipped = before - lines::LineCount(message);
}

}  // namespace filterpass
