#include "app/macros.h"

#include <vector>

#include "console/writer.h"
#include "textlib/lines.h"

namespace macros {

using namespace shortstr;
using listman::List;

listman::List* MacroReplace(List* list, List* macroLines, bool inPlace, std::int32_t& count) {
  count = 0;
  List* result = list;
  if (!inPlace) listman::ListCreate(result);
  struct Macro {
    ShortStr key, upperKey, value;
  };
  std::vector<Macro> table;
  for (std::int32_t j = 1; j <= lines::LineCount(macroLines); ++j) {
    ShortStr line = lines::LineAt(macroLines, j);
    ShortStr key = ExtractField(line, 1);
    if (!key.Empty()) table.push_back({key, UpCaseStr(key), ExtractField(line, 2)});
  }
  for (std::int32_t i = 1; i <= lines::LineCount(list); ++i) {
    ShortStr text = lines::LineAt(list, i);
    ShortStr changed = text;
    bool tooLong = false;
    if (text.Empty() || text.At(1) != ';') {
      // The line upper-cased once; ReplaceAll runs only where a key occurs.
      ShortStr upper = UpCaseStr(changed);
      ByteSet bytes(upper);
      for (const Macro& m : table) {
        if (!bytes.MayHold(m.upperKey) || !OccursIn(m.upperKey, upper)) continue;
        int n = 0;
        // A macro that would take the line past 255 characters is left out
        // of this line; the line is never cut.
        if (!ReplaceAllWhole(changed, m.key, m.value, n)) {
          tooLong = true;
          continue;
        }
        count += n;
        upper = UpCaseStr(changed);
        bytes = ByteSet(upper);
      }
    }
    if (tooLong) {
      writer::Writer->Info(ShortStr("Line ") + Num(i) + ShortStr(" is too long for the change, left as it is!"));
    }
    if (!inPlace) lines::LineAdd(result, changed);
    else if (!(changed == text)) lines::LineSet(list, i, changed);
  }
  return result;
}

void ChangeMacros(app::RunContext& run, bool skip) {
  run.MacroChanges = 0;
  if (skip || lines::LineCount(run.MacroTable) == 0) return;
  // Keys match the message after its letters were made Latin.
  lines::LatinHAndP(run.MacroTable);
  writer::Writer->Heading("Changing macros...");
  MacroReplace(run.MessageLines, run.MacroTable, true, run.MacroChanges);
}

}  // namespace macros
