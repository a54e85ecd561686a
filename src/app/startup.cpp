#include "app/startup.h"

#include "console/console.h"
#include "runtime/error.h"
#include "runtime/logfile.h"
#include "runtime/exitproc.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/option.h"
#include "textlib/tr.h"

namespace startup {

void StartUp(int argc, char** argv) {
  option::SetArguments(argc, argv);
  files::FilesInit();
  console::ConsoleSetup();
  tr::TrInit();  // before the first text is shown or prepared
  exitproc::ExitProcInit();
  iolist::TextCacheInit();
  exitproc::AddExitProc(iolist::TextCacheRelease);
  error::ErrorInit();
  logfile::LogInit();
}

}  // namespace startup
