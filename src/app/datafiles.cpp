#include "app/datafiles.h"

#include "console/writer.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "textlib/paths.h"
#include "textlib/tr.h"

namespace datafiles {

using namespace shortstr;
using listman::List;

void LoadOptional(const std::string& name, List*& lines, charset::EscapeTable* escapes) {
  int r = iolist::TextLoad(name, lines, files::optRead, nullptr, escapes);
  const bool missing = r == -2 || r == -3;
  if (r != 0 && !missing) app::ReportFileError(N_("Error reading data file %s #%s!"), name, r);
}

namespace {

// Loads a user file and puts its lines in front of the main list.
void MergeUserFile(const std::string& name, const std::string& fallbackExt, List*& main,
                   charset::EscapeTable* escapes) {
  List* user = nullptr;
  LoadOptional(DataFileName(name, fallbackExt), user, escapes);
  if (user != nullptr) {
    listman::ListInsertList(user, main, 1);
    listman::ListDisposeAll(user);
  }
}

}  // namespace

std::string ProgramFile(const std::string& ext) { return paths::ProgramDataFile(ext); }

std::string DataFileName(const std::string& name, const std::string& fallbackExt) {
  std::string found = paths::DataFile(name);
  if (fallbackExt.empty() || files::FileExists(found)) return found;
  return ProgramFile(fallbackExt);
}

void SplitTemplates(List* config, List*& before, List*& after) {
  listman::ListCreate(before);
  listman::ListCreate(after);
  static const ShortStr token = UpCaseStr("@Name");
  for (std::int32_t i = 1; i <= lines::LineCount(config); ++i) {
    ShortStr line = lines::LineAt(config, i);
    int n = Pos(token, UpCaseStr(line));
    ShortStr head = n > 0 ? Copy(line, 1, n - 1) : line;
    ShortStr tail = n > 0 ? Copy(line, n + token.len, kMaxBytes) : ShortStr();
    lines::LineAdd(before, head);
    lines::LineAdd(after, tail);
  }
}

bool LoadData(app::Tables& tables, charset::EscapeTable* escapes) {
  const std::string config = ProgramFile(".cfg");
  if (iolist::TextLoad(config, tables.ConfigLines, files::optRead, nullptr, escapes) != 0) {
    writer::Writer->ErrorLine(tr::Say("Error reading data file %s!", {ShortStr(config)}));
    return false;
  }
  SplitTemplates(tables.ConfigLines, tables.TemplateBefore, tables.TemplateAfter);
  const std::string names = DataFileName("names.dat", ".nam");
  int r = iolist::TextLoad(names, tables.NamesTable, files::optRead, nullptr, escapes);
  if (r != 0) app::ReportFileError(N_("Error reading names file %s #%s!"), names, r);
  MergeUserFile("names.usr", "", tables.NamesTable, escapes);
  LoadOptional(DataFileName("macro.dat", ".mcr"), tables.MacroTable, escapes);
  MergeUserFile("macro.usr", ".mcu", tables.MacroTable, escapes);
  return true;
}

void LoadFilters(app::Tables& tables, charset::EscapeTable* escapes) {
  const std::string filter = DataFileName("filter.dat", ".flt");
  int r = iolist::TextLoad(filter, tables.FilterList, files::optRead, nullptr, escapes);
  if (r != 0) app::ReportFileError(N_("Error reading filter file %s #%s!"), filter, r);
  LoadOptional(DataFileName("filter2.dat", ".fl2"), tables.Filter2List, escapes);
  MergeUserFile("filter.usr", ".fus", tables.FilterList, escapes);
  MergeUserFile("filter2.usr", ".fu2", tables.Filter2List, escapes);
}

}  // namespace datafiles
