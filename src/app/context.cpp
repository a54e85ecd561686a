#include "app/context.h"

#include "runtime/error_text.h"
#include "console/writer.h"
#include "textlib/tr.h"

namespace app {

void OwnedLists::Free(std::initializer_list<List**> lists) {
  for (List** list : lists) {
    if (*list != nullptr) listman::ListDisposeAll(*list);
  }
}

void Tables::Clear() {
  Free({&ConfigLines, &TemplateBefore, &TemplateAfter, &NamesTable, &MacroTable, &FilterList,
        &Filter2List, &BeginLines, &EndLines});
}

void Message::Clear() { Free({&Lines}); }

void ReportFileError(const char* format, const std::string& name, int r) {
  // The line shows the path cut at 255, as every console line is.
  writer::Writer->ErrorLine(tr::Say(format, {ShortStr(name), shortstr::Num(r)}));
  writer::Writer->ErrorLine(ShortStr("(") + error_text::ErrorText(r < 0 ? -r : r) + ShortStr(")"));
}

}  // namespace app
