#include "app/pipes.h"

#include "console/writer.h"
#include "platform/files.h"
#include "platform/output.h"
#include "platform/terminal.h"
#include "runtime/error.h"
#include "runtime/exitproc.h"
#include "runtime/logfile.h"
#include "textlib/option.h"
#include "textlib/unidiff.h"

namespace pipes {

namespace {

// Module state, not the run's: the give-back runs as an exit procedure,
// after the run's own state may be gone.
struct State {
  bool giveBack = false;  // standard output carries the result
  bool delivered = false;
  bool inputRead = false;
  std::string input;
};

State& Pipes() {
  static State state;
  return state;
}

void GiveBack() {
  State& s = Pipes();
  if (!s.giveBack || s.delivered) return;
  if (!s.inputRead && !platform::StdinIsTerminal()) ReadStandardInput(s.input);
  platform::ResultWrite(s.input);
}

}  // namespace

void Setup(app::RunContext& run) {
  run.FromStdin = option::ParamN(1) == "-";
  const std::string output = option::ParamN(2);
  run.ToStdout = run.FromStdin && (output.empty() || output == "-");
  run.ShowDiff = option::ArgumentGiven("--diff");
  run.DryRun = run.ShowDiff || option::ArgumentGiven("--dry-run") || option::ArgumentGiven("-n");
  if ((run.ToStdout && !run.DryRun) || run.ShowDiff) platform::OutToStandardError();
  if (run.DryRun) {
    logfile::State().LogEnabled = false;
    logfile::State().ErrorLogEnabled = false;
    error::ErrorWriteReport = false;
  }
}

int ReadStandardInput(std::string& bytes) {
  char buffer[1 << 16];
  for (;;) {
    const long n = platform::FileRead(platform::StandardInput(), buffer, sizeof buffer);
    if (n == 0) return 0;
    if (n < 0) {
      const int code = platform::IoResult();
      return -(code != 0 ? code : 100);
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

void KeepInput(const std::string& bytes) {
  Pipes().input = bytes;
  Pipes().inputRead = true;
}

void GiveBackUnlessDelivered() {
  Pipes().giveBack = true;
  exitproc::AddExitProc(GiveBack);
}

bool Deliver(const app::RunContext& run, const std::string& bytes) {
  if (run.ShowDiff) {
    platform::ResultWrite(unidiff::UnifiedDiff(Pipes().input, bytes, run.InputName));
  }
  if (run.DryRun || !run.ToStdout) return true;
  Pipes().delivered = true;  // even a part written must not be followed by the input
  if (platform::ResultWrite(bytes)) return true;
  writer::Writer->ErrorLine("Error writing the result to standard output!");
  return false;
}

}  // namespace pipes
