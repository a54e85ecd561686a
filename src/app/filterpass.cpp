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

std::int32_t FilterPasses(app::Message& message, const app::Tables& tables, std::int32_t flags,
                          std::int32_t headerSize, std::int32_t footerSize) {
  List* lines = message.Lines;
  flags |= kQuoted;
  const std::int32_t before = lines::LineCount(lines);
  QuoteFilter(lines, tables.FilterList, nullptr, 1, headerSize, flags, PrintReport);
  std::int32_t footerStart = lines::LineCount(lines) - footerSize + 1;
  QuoteFilter(lines, tables.FilterList, nullptr, footerStart, -1, flags, PrintReport);
  QuoteFilter(lines, tables.Filter2List, nullptr, -1, -1, flags, PrintReport);
  return before - lines::LineCount(lines);
}

}  // namespace filterpass
