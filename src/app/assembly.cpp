#include "app/assembly.h"

#include <vector>

#include "app/appinfo.h"
#include "app/datafiles.h"
#include "console/writer.h"
#include "filter/quote_filter.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"

namespace assembly {

using namespace shortstr;
using listman::List;

namespace {

bool IsServiceStart(const ShortStr& line) {
  ShortStr head = Copy(line, 1, 3);
  return head == ShortStr(" * ") || head == ShortStr("---") || head == ShortStr("...");
}

// Loads an insert file; true when it has lines the message lacks.
bool ShouldInsert(const std::string& name, List*& lines, List* message) {
  iolist::TextLoad(name, lines, files::optRead);
  return lines::LineCount(lines) > 0 && !MessageContains(message, lines);
}

}  // namespace

namespace {

// The filter's reports are printed like the writer's plain lines.
void PrintReport(const ShortStr& line) { writer::Writer->PlainLine(line); }

}  // namespace

void FilterPasses(app::RunContext& run) {
  List* message = run.MessageLines;
  const std::int32_t flags = run.FilterFlags | quote_filter::kQuoted;
  const std::int32_t before = lines::LineCount(message);
  quote_filter::QuoteFilter(message, run.FilterList, nullptr, 1, run.HeaderSize, flags, PrintReport);
  std::int32_t footerStart = lines::LineCount(message) - run.FooterSize + 1;
  quote_filter::QuoteFilter(message, run.FilterList, nullptr, footerStart, -1, flags, PrintReport);
  quote_filter::QuoteFilter(message, run.Filter2List, nullptr, -1, -1, flags, PrintReport);
  run.LinesSkipped = before - lines::LineCount(message);
}

bool MessageContains(List* message, List* block) {
  const std::int32_t n = lines::LineCount(message);
  const std::int32_t b = lines::LineCount(block);
  std::vector<ShortStr> wanted;
  for (std::int32_t j = 1; j <= b; ++j) wanted.push_back(FoldLookAlikes(lines::LineAt(block, j)));
  for (std::int32_t s = 1; s <= n - b + 1; ++s) {
    // Follow the links from line s, so that the pass stays linear.
    const listman::Node* node = listman::ListGetNode(message, s);
    std::int32_t j = 0;
    while (j < b && FoldLookAlikes(lines::LineOfNode(node)) == wanted[j]) {
      node = node->Next;
      ++j;
    }
    if (j == b) return true;
  }
  return false;
}

std::int32_t EndInsertPosition(List* message) {
  const std::int32_t n = lines::LineCount(message);
  std::int32_t position = n + 1;
  const std::int32_t lowest = n - 3 > 1 ? n - 3 : 1;
  for (std::int32_t m = n; m >= lowest; --m) {
    if (IsServiceStart(lines::LineAt(message, m))) --position;
  }
  return position;
}

void InsertBeginAndEnd(app::RunContext& run) {
  const std::string beginName = datafiles::ProgramFile(".beg");
  if (ShouldInsert(beginName, run.BeginLines, run.MessageLines)) {
    listman::ListInsertList(run.BeginLines, run.MessageLines, 1);
    writer::Writer->Notice(ShortStr("File ") + beginName + ShortStr(" was inserted to the top!"));
  }
  const std::string endName = datafiles::ProgramFile(".end");
  if (ShouldInsert(endName, run.EndLines, run.MessageLines)) {
    listman::ListInsertList(run.EndLines, run.MessageLines, EndInsertPosition(run.MessageLines));
    writer::Writer->Notice(ShortStr("File ") + endName + ShortStr(" was inserted to the end!"));
  }
}

void ReplaceLetters(app::RunContext& run) {
  lines::LineReplaceChar(run.MessageLines, 0x8D, 'H');  // Н
  lines::LineReplaceChar(run.MessageLines, 0xE0, 'p');  // р
}

ShortStr KludgeLine() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  return Copy(ShortStr("\x01") + info.AppTitle + ShortStr(": ") + info.AppVersion + ShortStr(" ") +
                  info.AppDate,
              1, 35);
}

bool WriteResult(app::RunContext& run) {
  lines::LineInsert(run.MessageLines, KludgeLine(), 1);
  int r = iolist::TextWrite(run.OutputName, run.MessageLines, "", files::optRewrite | files::optBackup,
                            run.MessageFormat);
  if (r != 0) app::ReportFileError("Error writing file ", run.OutputName, r);
  return r == 0;
}

}  // namespace assembly
