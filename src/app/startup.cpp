#include "app/startup.h"

#include "app/defopt.h"
#include "console/console.h"
#include "console/error.h"
#include "console/logfile.h"
#include "textlib/exitproc.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/option.h"

namespace startup {

void StartUp(int argc, char** argv) {
  option::SetArguments(argc, argv);
  files::FilesInit();
  console::ConsoleSetup();
  exitproc::ExitProcInit();
  iolist::TextCacheInit();
  defopt::DefOptInit();
  error::ErrorInit();
  logfile::LogInit();
}

}  // namespace startup
