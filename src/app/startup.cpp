#include "app/startup.h"

#include "console/console.h"
#include "runtime/error.h"
#include "runtime/logfile.h"
#include "runtime/exitproc.h"
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
  exitproc::AddExitProc(iolist::TextCacheRelease);
  error::ErrorInit();
  logfile::LogInit();
}

}  // namespace startup
