// The state of one run of the program, in plain values: its settings and
// files, the tables loaded from the data files, the message, and the counts
// the summary shows. The tables and the message own their lists and free
// them when they go.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/settings.h"
#include "textlib/charset.h"
#include "textlib/iolist.h"
#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace app {

using listman::List;
using shortstr::ShortStr;

// Lists that a value owns: freed with it (or by Clear); never copied.
class OwnedLists {
 public:
  OwnedLists() = default;
  OwnedLists(const OwnedLists&) = delete;
  OwnedLists& operator=(const OwnedLists&) = delete;

 protected:
  ~OwnedLists() = default;
  static void Free(std::initializer_list<List**> lists);
};

// The data files' lines.
struct Tables : OwnedLists {
  ~Tables() { Clear(); }
  void Clear();  // every list freed, the pointers null
  List* ConfigLines = nullptr;
  List* TemplateBefore = nullptr;  // each template's text before "@Name"
  List* TemplateAfter = nullptr;   // and after it
  List* NamesTable = nullptr;
  List* MacroTable = nullptr;
  List* FilterList = nullptr;
  List* Filter2List = nullptr;
  List* BeginLines = nullptr;
  List* EndLines = nullptr;
};

// The message: its lines and the layout of the reply they came from, kept
// for the result.
struct Message : OwnedLists {
  ~Message() { Clear(); }
  void Clear();
  List* Lines = nullptr;
  iolist::TextFormat Format;
};

// What the stages changed, for the summary.
struct Counts {
  std::int32_t NamesChanged = 0;
  std::int32_t MacroChanges = 0;
  std::int32_t LinesSkipped = 0;
};

struct RunContext {
  settings::Settings Options;  // the command line, read once
  std::string InputName;       // paths are used whole, never cut
  std::string OutputName;
  bool FromStdin = false;  // the reply name is "-": the reply is standard input
  bool ToStdout = false;   // the result goes to standard output
  // The run's escapes: its tables and its message are decoded with them.
  charset::EscapeTable Escapes;
  Tables Data;
  Message Text;  // its format holds the escapes while they are on
  Counts Totals;
};

// The two error lines of a failed file operation: format (marked for the
// catalogue) with the name and r, then the error text of |r| in parentheses.
void ReportFileError(const char* format, const std::string& name, int r);

}  // namespace app
