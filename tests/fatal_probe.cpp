// A test-only program that ends in the ways the exit procedure must handle:
//   fatal_probe fault CODE HEXADDRESS  - a run-time error at that address
//   fatal_probe exit CODE              - a normal halt with that exit code
//   fatal_probe segv                   - a memory fault
//   fatal_probe divzero                - an integer division by zero
//   fatal_probe nomem                  - an allocation failure
//   fatal_probe log [fault]            - writer copies into the log files
//                                        (then a run-time error 204)
//   fatal_probe break                  - the break notice
//   fatal_probe msg KEY A B            - a message text with its arguments
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/settings.h"
#include "console/console.h"
#include "app/startup.h"
#include "runtime/error.h"
#include "runtime/logfile.h"
#include "console/writer.h"
#include "textlib/msgtext.h"

namespace {

// Divides as the processor does, faulting on zero (kept from the sanitizer,
// which would stop the probe before the fault).
__attribute__((no_sanitize("undefined"))) int Divide(int a, int b) { return a / b; }

}  // namespace

int main(int argc, char** argv) {
  startup::StartUp(argc, argv);
  error::ErrorEnglish = true;
  error::ErrorClearFault = !settings::Read().Debug;
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "fault" && argc > 3) {
    error::RunErrorAt(std::atoi(argv[2]), static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 16)));
  }
  if (mode == "exit" && argc > 2) error::Halt(std::atoi(argv[2]));
  if (mode == "segv") {
    // An address no program maps (a null pointer would be caught earlier
    // by the undefined-behaviour sanitizer).
    volatile std::uintptr_t nowhere = 16;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
  }
  if (mode == "divzero") {
    volatile int dividend = 7, zero = 0;
    volatile int quotient = Divide(dividend, zero);
    (void)quotient;
  }
  if (mode == "nomem") {
    // Thrown as the allocator throws it; a real exhaustion cannot be had
    // under the address sanitizer.
    try {
      throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
      error::RunError(203);
    }
  }
  if (mode == "log") {
    writer::ConsoleWriter w;  // both copy flags on
    w.Heading("Loading");
    w.Detail("abc");
    w.Notice("");
    w.Heading("");
    w.Notice("note");
    w.ErrorLine("");
    w.ErrorLine("bad");
    w.Info("info");
    w.PlainLine("plain");
    logfile::LogWrite("level ten", 10);
    logfile::LogWrite("level nine", 9);
    if (argc > 2 && std::string(argv[2]) == "fault") error::RunErrorAt(204, 0x00401A2B);
  }
  if (mode == "break") {
    writer::ConsoleWriter w;
    w.LogCopy = w.ErrorCopy = false;
    w.BreakNotice();
  }
  if (mode == "msg" && argc > 4) {
    console::WriteOutLn(msgtext::MsgTextArgs(argv[2], argv[3], argv[4], msgtext::LanguageCode()));
  }
  error::Halt(0);
}
