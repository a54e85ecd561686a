// The whole processing of a reply in memory: message, templates, names,
// macros, filter lists and begin/end texts all from fuzzed bytes.
#include <cstdint>
#include <string>

#include "app/appinfo.h"
#include "app/assembly.h"
#include "app/context.h"
#include "app/datafiles.h"
#include "app/macros.h"
#include "app/names.h"
#include "console/writer.h"
#include "fuzz_input.h"
#include "platform/output.h"

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
  run.HeaderSize = in.ConsumeIntegralInRange(1, 40);
  run.FooterSize = in.ConsumeIntegralInRange(1, 40);
  run.SaveFullName = in.ConsumeBool();
  run.FilterFlags = in.ConsumeIntegral<int>() & 0x41D;
  bool keepReceiver = in.ConsumeBool(), skipMacros = in.ConsumeBool();
  run.ConfigLines = fuzz::Lines(in, 400);
  datafiles::SplitTemplates(run.ConfigLines, run.TemplateBefore, run.TemplateAfter);
  run.NamesTable = fuzz::Lines(in, 600);
  run.MacroTable = fuzz::Lines(in, 400);
  run.FilterList = fuzz::Lines(in, 300);
  run.Filter2List = fuzz::Lines(in, 200);
  run.BeginLines = fuzz::Lines(in, 100);
  run.EndLines = fuzz::Lines(in, 100);
  run.MessageLines = fuzz::Lines(in.ConsumeRemainingBytesAsString());

  if (run.FilterFlags != 0) assembly::FilterPasses(run);
  if (run.BeginLines->Count > 0 && !assembly::MessageContains(run.MessageLines, run.BeginLines)) {
    listman::ListInsertList(run.BeginLines, run.MessageLines, 1);
  }
  if (run.EndLines->Count > 0 && !assembly::MessageContains(run.MessageLines, run.EndLines)) {
    listman::ListInsertList(run.EndLines, run.MessageLines, assembly::EndInsertPosition(run.MessageLines));
  }
  names::ChangeNames(run, keepReceiver);
  assembly::ReplaceLetters(run);
  macros::ChangeMacros(run, skipMacros);
  lines::LineInsert(run.MessageLines, assembly::KludgeLine(), 1);
  for (int i = 2; i <= run.MessageLines->Count; ++i) {
    shortstr::ShortStr line = lines::LineAt(run.MessageLines, i);
    for (int j = 0; j < line.len; ++j) {
      if (line.s[j] == 0x8D || line.s[j] == 0xE0) __builtin_trap();  // Н and р must be gone
    }
  }
  app::DisposeLists(run);
  platform::OutCapture(nullptr);
  return 0;
}
