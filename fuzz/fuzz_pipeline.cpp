// The whole processing of a reply in memory: message, templates, names,
// macros, filter lists and begin/end texts all from fuzzed bytes.
#include <cstdint>
#include <string>

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
#include "textlib/textlines.h"

namespace {

// What a run without tables and filter makes of a reply, one line a "\n":
// every line wrapped into pieces of at most 255 bytes that give the line
// back without their repeated quote prefixes, and Н, р made Latin.
std::string BareResult(const std::string& reply) {
  std::string out;
  textlines::ForEachLine(textlines::WithoutEndMark(reply), [&](std::string_view line) {
    const size_t prefix = textlines::QuotePrefixLength(line);
    std::string back;
    bool first = true;
    textlines::WrapLine(line, [&](const shortstr::ShortStr& piece) {
      if (piece.len > 255) __builtin_trap();
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
  // Bare: no tables and no filter, so the result must be the reply itself,
  // wrapped, with only Н and р made Latin.
  const bool bare = in.ConsumeBool();
  run.HeaderSize = in.ConsumeIntegralInRange(1, 40);
  run.FooterSize = in.ConsumeIntegralInRange(1, 40);
  run.SaveFullName = in.ConsumeBool();
  run.FilterFlags = bare ? 0 : in.ConsumeIntegral<int>() & 0x41D;
  bool keepReceiver = in.ConsumeBool(), skipMacros = in.ConsumeBool();
  const size_t table = bare ? 0 : 1;
  run.ConfigLines = fuzz::Lines(in, 400 * table);
  datafiles::SplitTemplates(run.ConfigLines, run.TemplateBefore, run.TemplateAfter);
  run.NamesTable = fuzz::Lines(in, 600 * table);
  run.MacroTable = fuzz::Lines(in, 400 * table);
  run.FilterList = fuzz::Lines(in, 300 * table);
  run.Filter2List = fuzz::Lines(in, 200 * table);
  run.BeginLines = fuzz::Lines(in, 100 * table);
  run.EndLines = fuzz::Lines(in, 100 * table);
  const std::string reply = in.ConsumeRemainingBytesAsString();
  run.MessageLines = fuzz::Lines(reply, true);

  if (run.FilterFlags != 0) filterpass::FilterPasses(run);
  if (run.BeginLines->Count > 0 && !inserts::MessageContains(run.MessageLines, run.BeginLines)) {
    listman::ListInsertList(run.BeginLines, run.MessageLines, 1);
  }
  if (run.EndLines->Count > 0 && !inserts::MessageContains(run.MessageLines, run.EndLines)) {
    listman::ListInsertList(run.EndLines, run.MessageLines, inserts::EndInsertPosition(run.MessageLines));
  }
  names::ChangeNames(run, keepReceiver);
  lines::LatinHAndP(run.MessageLines);
  macros::ChangeMacros(run, skipMacros);
  lines::LineInsert(run.MessageLines, result::KludgeLine(), 1);
  std::string joined;  // the result's lines without the prefixes wrapping repeated
  for (int i = 2; i <= run.MessageLines->Count; ++i) {
    shortstr::ShortStr line = lines::LineAt(run.MessageLines, i);
    for (int j = 0; j < line.len; ++j) {
      if (line.s[j] == 0x8D || line.s[j] == 0xE0) __builtin_trap();  // Н and р must be gone
    }
    joined.append(line.View());
    joined += '\n';
  }
  if (bare && joined != BareResult(reply)) __builtin_trap();  // a character was lost or changed
  app::DisposeLists(run);
  platform::OutCapture(nullptr);
  return 0;
}
