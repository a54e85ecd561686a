#include "app/pipes.h"

#include <array>
#include <new>

#include "console/writer.h"
#include "platform/files.h"
#include "platform/output.h"
#include "platform/terminal.h"
#include "runtime/error.h"
#include "runtime/exitproc.h"
#include "runtime/logfile.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/option.h"
#include "textlib/unidiff.h"
#include "textlib/tr.h"

namespace pipes {

namespace {

// Module state, not the run's: the give-back runs as an exit procedure,
// after the run's own state may be gone.
struct State {
  bool giveBack = false;  // standard output carries the result
  bool delivered = false;
  bool inputRead = false;
  bool inputWhole = true;  // false: reading stopped before the end of standard input
  std::string input;
  // The piece read last; when memory ran out before it joined the input it
  // is given back from here.
  std::array<char, 1 << 16> piece{};
  std::size_t unjoined = 0;
};

State& Pipes() {
  static State state;
  return state;
}

// The rest of standard input to standard output as it comes, through the
// piece buffer (whatever it held is written by then).
void PassThrough(State& s) {
  std::size_t n = 0;
  while (files::ReadFrom(platform::StandardInput(), s.piece.data(), s.piece.size(), n) == 0 &&
         n > 0) {
    if (!platform::ResultWrite(std::string_view(s.piece.data(), n))) return;
  }
}

// Allocates nothing: it may run after memory ran out.
void GiveBack() {
  State& s = Pipes();
  if (!s.giveBack || s.delivered) return;
  if (!s.inputRead) {
    // The run ended before reading: what comes is passed on as it is.
    if (!platform::StdinIsTerminal()) PassThrough(s);
    return;
  }
  if (!platform::ResultWrite(s.input)) return;
  if (!platform::ResultWrite(std::string_view(s.piece.data(), s.unjoined))) return;
  if (!s.inputWhole) PassThrough(s);
}

// Lines of a reply as its reader will count them, counted as the bytes come
// in: a line ends at CR LF, CR or LF. Only line ends with text after them
// are sure to count (a trailing run of line ends may belong to the DOS end
// mark).
class LineCounter {
 public:
  void Add(std::string_view bytes) {
    for (char c : bytes) {
      if (c == '\n') {
        if (!afterCr_) ++ends_;
        afterCr_ = false;
      } else if (c == '\r') {
        ++ends_;
        afterCr_ = true;
      } else {
        afterCr_ = false;
        if (c != '\x1A') sure_ = ends_;
      }
    }
  }
  // At least this many lines: the sure line ends and the text after them.
  std::size_t SureLines() const { return sure_ + 1; }

 private:
  std::size_t ends_ = 0, sure_ = 0;
  bool afterCr_ = false;
};

// No reply of more bytes fits in 65,535 lines of 255 characters of at most
// four bytes each and their line ends.
constexpr std::size_t kMostBytes = 65535u * (4u * 255u + 2u);

}  // namespace

void Setup(app::RunContext& run) {
  run.FromStdin = option::ParamN(1) == "-";
  const std::string output = option::ParamN(2);
  run.ToStdout = run.FromStdin && (output.empty() || output == "-");
  // Standard output is for the result or the diff; in the filter mode the
  // console says only what went wrong, unless asked for all of it.
  if (run.FromStdin || run.Options.ShowDiff) platform::OutToStandardError();
  if (run.FromStdin && !run.Options.Verbose) writer::Writer->Quiet = true;
  if (run.Options.DryRun) {
    logfile::State().LogEnabled = false;
    logfile::State().ErrorLogEnabled = false;
    error::ErrorWriteReport = false;
  }
}

int ReadStandardInput() {
  State& s = Pipes();
  s.inputRead = true;
  s.inputWhole = false;
  LineCounter lines;
  for (;;) {
    std::size_t n = 0;
    const int code = files::ReadFrom(platform::StandardInput(), s.piece.data(), s.piece.size(), n);
    if (code != 0) return -code;
    if (n == 0) break;
    const std::string_view piece(s.piece.data(), n);
    try {
      s.input.append(piece);
    } catch (const std::bad_alloc&) {
      s.unjoined = piece.size();  // given back after the input, before the rest
      return 203;
    }
    lines.Add(piece);
    if (lines.SureLines() > iolist::kMaxLines || s.input.size() > kMostBytes)
      return iolist::kErrTooManyLines;
  }
  s.inputWhole = true;
  return 0;
}

const std::string& Input() { return Pipes().input; }

void KeepInput(const std::string& bytes) {
  Pipes().input = bytes;
  Pipes().inputRead = true;
}

void GiveBackUnlessDelivered() {
  Pipes().giveBack = true;
  exitproc::AddExitProc(GiveBack);
}

bool Deliver(const app::RunContext& run, const std::string& bytes) {
  bool written = true;
  if (run.Options.ShowDiff)
    written = platform::ResultWrite(unidiff::UnifiedDiff(Pipes().input, bytes, run.InputName));
  if (written && !run.Options.DryRun && run.ToStdout) {
    Pipes().delivered = true;  // even a part written must not be followed by the input
    written = platform::ResultWrite(bytes);
  }
  if (!written) writer::Writer->ErrorLine(tr::Say("Error writing the result to standard output!"));
  return written;
}

}  // namespace pipes
