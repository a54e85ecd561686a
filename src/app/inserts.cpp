#include "app/inserts.h"

#include <string>
#include <vector>

#include "app/datafiles.h"
#include "console/writer.h"
#include "textlib/charset.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "textlib/tr.h"

namespace inserts {

using namespace shortstr;
using listman::List;

namespace {

bool IsServiceStart(const ShortStr& line) {
  ShortStr head = Copy(line, 1, 3);
  return head == ShortStr(" * ") || head == ShortStr("---") || head == ShortStr("...");
}

// True when the text has lines the message lacks.
bool Missing(List* lines, List* message) {
  return lines::LineCount(lines) > 0 && !MessageContains(message, lines);
}

}  // namespace

void LoadInserts(app::Tables& tables, charset::EscapeTable* escapes) {
  datafiles::LoadOptional(datafiles::ProgramFile(".beg"), tables.BeginLines, escapes);
  datafiles::LoadOptional(datafiles::ProgramFile(".end"), tables.EndLines, escapes);
}

namespace {

// Each line as the reply's charset will write it ('?' for what it lacks):
// the presence test then compares what a second run finds in the result.
void MakeWritable(List* lines, const iolist::TextFormat& format) {
  for (std::int32_t i = 1; i <= lines::LineCount(lines); ++i) {
    const ShortStr line = lines::LineAt(lines, i);
    if (charset::HoldsEscape(line.View()))
      lines::LineSet(lines, i,
                     ShortStr(charset::Writable(line.View(), format.Charset, format.Escapes)));
  }
}

}  // namespace

bool MessageContains(List* message, List* block) {
  const std::int32_t n = lines::LineCount(message);
  const std::int32_t b = lines::LineCount(block);
  std::vector<ShortStr> wanted;
  for (std::int32_t j = 1; j <= b; ++j) wanted.push_back(FoldLookAlikes(lines::LineAt(block, j)));
  for (std::int32_t s = 1; s <= n - b + 1; ++s) {
    // Follow the links from line s, so that the pass stays linear.
    const listman::Node* node = listman::ListGetNode(message, s);
    std::int32_t j = 0;
    while (j < b &&
           FoldLookAlikes(lines::LineOfNode(node)) == wanted[static_cast<std::size_t>(j)]) {
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

void InsertBeginAndEnd(app::Message& message, app::Tables& tables) {
  MakeWritable(tables.BeginLines, message.Format);
  MakeWritable(tables.EndLines, message.Format);
  const std::string beginName = datafiles::ProgramFile(".beg");
  if (Missing(tables.BeginLines, message.Lines)) {
    listman::ListInsertList(tables.BeginLines, message.Lines, 1);
    writer::Writer->Notice(tr::Say("File %s was inserted to the top!", {ShortStr(beginName)}));
  }
  const std::string endName = datafiles::ProgramFile(".end");
  if (Missing(tables.EndLines, message.Lines)) {
    listman::ListInsertList(tables.EndLines, message.Lines, EndInsertPosition(message.Lines));
    writer::Writer->Notice(tr::Say("File %s was inserted to the end!", {ShortStr(endName)}));
  }
}

}  // namespace inserts
