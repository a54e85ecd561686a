#include "app/context.h"

#include "runtime/error_text.h"
#include "console/writer.h"
#include "textlib/tr.h"

namespace app {

void DisposeLists(RunContext& run) {
  for (List** list : {&run.MessageLines, &run.ConfigLines, &run.TemplateBefore, &run.TemplateAfter,
                      &run.NamesTable, &run.MacroTable, &run.FilterList, &run.Filter2List,
                      &run.BeginLines, &run.EndLines}) {
    if (*list != nullptr) listman::ListDisposeAll(*list);
  }
}

void ReportFileError(const char* format, const std::string& name, int r) {
  // The line shows the path cut at 255, as every console line is.
  writer::Writer->ErrorLine(tr::Say(format, {ShortStr(name), shortstr::Num(r)}));
  writer::Writer->ErrorLine(ShortStr("(") + error_text::ErrorText(r < 0 ? -r : r) + ShortStr(")"));
}

}  // namespace app
