#include "app/context.h"

namespace app {

void DisposeLists(RunContext& run) {
  for (List** list : {&run.MessageLines, &run.ConfigLines, &run.TemplateBefore, &run.TemplateAfter,
                      &run.NamesTable, &run.MacroTable, &run.FilterList, &run.Filter2List,
                      &run.BeginLines, &run.EndLines}) {
    if (*list != nullptr) listman::ListDisposeAll(*list);
  }
}

}  // namespace app
