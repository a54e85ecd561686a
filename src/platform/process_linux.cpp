// Fault handling as Linux gives it: the program counter from the signal
// context, offsets from the image's start symbol.
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include "platform/process.h"

// The linker's symbol for the start of the program's image.
extern "C" char __executable_start;  // NOLINT(bugprone-reserved-identifier)

namespace platform {
namespace {

FatalHandler fatalHandler = nullptr;

void OnFault(int sig, siginfo_t* info, void* context) {
  const void* where = info->si_addr;
#if defined(__x86_64__)
  // The program counter is an integer in the saved registers.
  where = reinterpret_cast<const void*>(  // NOLINT(performance-no-int-to-ptr)
      static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#else
  (void)context;
#endif
  int code = sig == SIGFPE ? 200 : 216;
  signal(sig, SIG_DFL);  // a fault inside the handler ends the process
  if (fatalHandler != nullptr) fatalHandler(code, CodeOffset(where));
  _exit(code);
}

}  // namespace

std::uint32_t CodeOffset(const void* address) {
  auto base = reinterpret_cast<std::uintptr_t>(&__executable_start);
  auto at = reinterpret_cast<std::uintptr_t>(address);
  std::uint32_t offset = static_cast<std::uint32_t>(at >= base ? at - base : at);
  return offset != 0 ? offset : 1;
}

void InstallFatalHandlers(FatalHandler handler) {
  fatalHandler = handler;
  static char alternate[256 * 1024];  // room for the report the handler builds on the stack
  stack_t stack{};
  stack.ss_sp = alternate;
  stack.ss_size = sizeof alternate;
  sigaltstack(&stack, nullptr);
  struct sigaction act{};
  act.sa_sigaction = OnFault;
  act.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&act.sa_mask);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE}) sigaction(sig, &act, nullptr);
  // A file-size limit then makes a write fail with the ordinary write error
  // instead of killing the program part-way.
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace platform
