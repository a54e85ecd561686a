// The state of one run of the program: its settings, the message and the
// tables loaded from the data files. The entry point owns every list from
// its load to the end step.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "textlib/iolist.h"
#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace app {

using listman::List;
using shortstr::ShortStr;

// Lines of the filter's header and footer windows when not given.
inline constexpr std::int32_t kDefaultWindow = settings::kDefaultWindow;

struct RunContext {
  settings::Settings Options;  // the command line, read once
  std::int32_t HeaderSize = kDefaultWindow;
  std::int32_t FooterSize = kDefaultWindow;
  bool SaveFullName = false;
  std::int32_t FilterFlags = 0;
  std::string InputName;  // paths are used whole, never cut
  std::string OutputName;
  List* MessageLines = nullptr;
  iolist::TextFormat MessageFormat;  // the reply's layout, kept for the result
  std::string ReplyBytes;            // the reply as read, until its lines are loaded
  int ReplyRead = 0;                 // the result of reading it
  std::int32_t NamesChanged = 0;
  std::int32_t MacroChanges = 0;
  std::int32_t LinesSkipped = 0;
  // Pipes and previews.
  bool FromStdin = false;  // the reply name is "-": the reply is standard input
  bool ToStdout = false;   // the result goes to standard output
  bool DryRun = false;     // --dry-run, -n or --diff: no file is written
  bool ShowDiff = false;   // --diff: the change goes to standard output

  List* ConfigLines = nullptr;
  List* TemplateBefore = nullptr;
  List* TemplateAfter = nullptr;
  List* NamesTable = nullptr;
  List* MacroTable = nullptr;
  List* FilterList = nullptr;
  List* Filter2List = nullptr;
  List* BeginLines = nullptr;
  List* EndLines = nullptr;
};

// Disposes of every list of the run.
void DisposeLists(RunContext& run);
// The two error lines of a failed file operation: format (marked for the
// catalogue) with the name and r, then the error text of |r| in parentheses.
void ReportFileError(const char* format, const std::string& name, int r);

}  // namespace app
