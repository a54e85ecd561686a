// The whole processing of a reply in memory: message, templates, names,
// macros, filter lists and begin/end texts all from fuzzed bytes, read as
// CP866 or as UTF-8 (escapes on, after thousands of distinct characters CP866
// lacks, so that their escapes take two to five bytes).
#include <cstdint>
#include <string>

#include "app/letters.h"
#include "app/appinfo.h"
#include "app/filterpass.h"
#include "app/inserts.h"
#include "app/result.h"
#include "app/context.h"
#include "app/datafiles.h"
#include "app/macros.h"
#include "app/names.h"
#include "console/writer.h"
#include "fuzz_input.h"
#include "platform/output.h"
#include "textlib/charset.h"
#include "textlib/textlines.h"
#include "textlib/units.h"

namespace {

// What a run without tables and filter makes of a reply, one line a "\n":
// every line wrapped into pieces of at most 255 characters that give the line
// back without their repeated quote prefixes, and Н, р made Latin.
std::string BareResult(const std::string& reply) {
  std::string out;
  textlines::ForEachLine(textlines::WithoutEndMark(reply), [&](std::string_view line) {
    const size_t prefix = textlines::QuotePrefixLength(line);
    std::string back;
    bool first = true;
    textlines::WrapLine(line, [&](const shortstr::ShortStr& piece) {
      if (shortstr::Chars(piece) > 255) __builtin_trap();
      std::string_view text = piece.View();
      if (!first && text.substr(0, prefix) != line.substr(0, prefix)) __builtin_trap();
      back.append(first ? text : text.substr(prefix));
      first = false;
      for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        out += c == 0x8D ? 'H' : c == 0xE0 ? 'p' : ch;
      }
      out += '\n';
    });
    if (back != line) __builtin_trap();  // wrapping lost or added a character
  });
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string sink;
  sink.clear();
  platform::OutCapture(&sink);
  static writer::ConsoleWriter console;
  console.LogCopy = console.ErrorCopy = false;
  writer::Writer = &console;
  appinfo::AppInfoSet("Salvetor", "1.08", "19990827");

  FuzzedDataProvider in(data, size);
  app::RunContext run;
  const bool utf8 = in.ConsumeBool();
  units::SetEscapes(utf8);
  if (utf8) run.Text.Format.Escapes = &run.Escapes;
  if (utf8) {
    std::string many;  // distinct characters first seen in an order of the input's choice
    for (std::uint32_t c = 0, step = in.ConsumeIntegralInRange<std::uint32_t>(1, 97); c < 3000;
         ++c) {
      const std::uint32_t cp = 0x4E00 + (c * step) % 3001;
      many += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
               static_cast<char>(0x80 | (cp & 0x3F))};
    }
    charset::Decode(many, charset::Charset::Utf8, &run.Escapes);
  }
  // Text as the run stores it: UTF-8 decoded with escapes, or CP866 as it is.
  auto text = [utf8, &run](const std::string& bytes) {
    return utf8 ? charset::Decode(bytes, charset::Charset::Utf8, &run.Escapes) : bytes;
  };
  auto lines = [&](size_t max) { return fuzz::Lines(text(in.ConsumeRandomLengthString(max))); };
  // Bare: no tables and no filter, so the result must be the reply itself,
  // wrapped, with only Н and р made Latin.
  const bool bare = in.ConsumeBool();
  const int headerSize = in.ConsumeIntegralInRange(1, 40);
  const int footerSize = in.ConsumeIntegralInRange(1, 40);
  const bool saveFullName = in.ConsumeBool();
  const int filterFlags = bare ? 0 : in.ConsumeIntegral<int>() & 0x41D;
  bool keepReceiver = in.ConsumeBool(), skipMacros = in.ConsumeBool();
  const size_t table = bare ? 0 : 1;
  run.Data.ConfigLines = lines(400 * table);
  datafiles::SplitTemplates(run.Data.ConfigLines, run.Data.TemplateBefore, run.Data.TemplateAfter);
  run.Data.NamesTable = lines(600 * table);
  run.Data.MacroTable = lines(400 * table);
  run.Data.FilterList = lines(300 * table);
  run.Data.Filter2List = lines(200 * table);
  run.Data.BeginLines = lines(100 * table);
  run.Data.EndLines = lines(100 * table);
  const std::string reply = text(in.ConsumeRemainingBytesAsString());
  run.Text.Lines = fuzz::Lines(reply, true);

  if (filterFlags != 0)
    filterpass::FilterPasses(run.Text, run.Data, filterFlags, headerSize, footerSize);
  if (run.Data.BeginLines->Count > 0 &&
      !inserts::MessageContains(run.Text.Lines, run.Data.BeginLines)) {
    listman::ListInsertList(run.Data.BeginLines, run.Text.Lines, 1);
  }
  if (run.Data.EndLines->Count > 0 &&
      !inserts::MessageContains(run.Text.Lines, run.Data.EndLines)) {
    listman::ListInsertList(run.Data.EndLines, run.Text.Lines,
                            inserts::EndInsertPosition(run.Text.Lines));
  }
  names::ChangeNames(run.Text, run.Data, {saveFullName, keepReceiver});
  letters::LatinHAndP(run.Text.Lines);
  if (!skipMacros) macros::ChangeMacros(run.Text, run.Data);
  lines::LineInsert(run.Text.Lines, result::KludgeLine(), 1);
  std::string joined;  // the result's lines without the prefixes wrapping repeated
  for (int i = 2; i <= run.Text.Lines->Count; ++i) {
    shortstr::ShortStr line = lines::LineAt(run.Text.Lines, i);
    for (int j = 0; j < line.len; ++j) {
      if (line.s[j] == 0x8D || line.s[j] == 0xE0) __builtin_trap();  // Н and р must be gone
    }
    joined.append(line.View());
    joined += '\n';
  }
  if (bare && joined != BareResult(reply)) __builtin_trap();  // a character was lost or changed
  platform::OutCapture(nullptr);
  return 0;
}
