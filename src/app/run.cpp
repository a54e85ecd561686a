#include "app/run.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/appinfo.h"
#include "app/context.h"
#include "app/datafiles.h"
#include "app/filterpass.h"
#include "app/inserts.h"
#include "app/letters.h"
#include "app/macros.h"
#include "app/names.h"
#include "app/pipes.h"
#include "app/reply.h"
#include "app/result.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/userdata.h"
#include "console/console.h"
#include "console/writer.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "runtime/error.h"
#include "console/timing.h"
#include "textlib/files.h"
#include "textlib/lines.h"
#include "textlib/option.h"
#include "textlib/tr.h"

namespace run {

using namespace shortstr;
using writer::Writer;

namespace {

// Exit codes of runs that did not process the reply.
constexpr int kExitFailed = 1;
constexpr int kExitNoReply = 2;
constexpr std::uint16_t kEndDelayMs = 360;

void ReadSettings(app::RunContext& run) {
  run.SaveFullName = run.Options.SaveFullName;
  run.HeaderSize = run.Options.HeaderSize;
  run.FooterSize = run.Options.FooterSize;
  Writer->Info(tr::Say("Max header size=%s, Max footer size=%s",
                       {Num(run.HeaderSize), Num(run.FooterSize)}));
}

// The reply must be a regular file (links followed), and so must the output
// when it exists; a directory as the output fails later with its write error.
bool NamesAcceptable(const app::RunContext& run) {
  // "-" is standard input, never typed in at a terminal.
  if (run.FromStdin) {
    if (platform::StdinIsTerminal()) return false;
  } else if (run.InputName.empty() || !files::FileExists(run.InputName)) {
    return false;
  }
  if (run.ToStdout) return true;
  if (platform::KindOf(run.OutputName) == platform::Kind::Other) return false;
  // The output's backup must not take the place of the reply itself.
  const std::string backup = files::BackupName(platform::FollowLinks(run.OutputName));
  return run.FromStdin || !platform::SameFile(run.InputName, backup);
}

// One run at a time rewrites a file: a second one waits this long.
constexpr int kLockWaitMs = 10000;

// Long options are exact: an unknown one (a typo of --dry-run, say) stops
// the run before anything is read or written, as a usage error.
void RefuseUnknownLongOptions(const settings::Settings& options) {
  for (const std::string& arg : options.Unknown) {
    if (!arg.starts_with("--")) continue;
    Writer->ErrorLine(tr::Say("Unknown option %s!", {ShortStr(arg)}));
    error::ErrorShow = false;  // the error line is all
    error::Halt(kExitNoReply);
  }
}

// An unknown option of the program's own kind (/X, -X) is named once and
// passed over.
void ReportUnknownOptions(const settings::Settings& options) {
  for (const std::string& arg : options.Unknown) {
    Writer->Problem(tr::Say("Unknown option %s ignored!", {ShortStr(arg)}));
  }
}

void Summary(const app::RunContext& run) {
  Writer->Info("--------------------------");
  if (run.MacroChanges != 0) Writer->Info(tr::Say("Macro: %s changes!", {Num(run.MacroChanges)}));
  Writer->Info(tr::Say("Total: %s changes!", {Num(run.NamesChanged + run.MacroChanges)}));
  if (run.LinesSkipped != 0) {
    Writer->Info(tr::Say("Total: %s lines skipped!", {Num(run.LinesSkipped)}));
  }
}

// Every path of a run ends here.
[[noreturn]] void End(app::RunContext& run, int code = 0) {
  if (run.Options.Delay) timing::DelayMs(kEndDelayMs);
  app::DisposeLists(run);
  // A quiet run that ends well says nothing at all.
  if (Writer->Quiet && code == 0) error::ErrorShow = false;
  if (run.DryRun) Writer->Info(tr::Say("Dry run: nothing written."));
  Writer->Info(tr::Say("Work done."));
  Writer->Release();
  delete Writer;
  Writer = nullptr;
  error::Halt(code);
}

[[noreturn]] void PrintVersion() {
  screens::VersionText();
  error::ErrorShow = false;  // the text and nothing else
  error::Halt(0);
}

[[noreturn]] void PrintUsage() {
  screens::UsageText();
  error::ErrorShow = false;
  error::Halt(0);
}

}  // namespace

void RunProgram() {
  Writer = new writer::ConsoleWriter();
  Writer->LogCopy = false;
  Writer->ErrorCopy = false;
  app::RunContext run;
  run.Options = settings::Read();
  const settings::Settings& options = run.Options;
  pipes::Setup(run);
  if (run.ToStdout && !run.DryRun) pipes::GiveBackUnlessDelivered();
  appinfo::AppInfoSet("Salvetor", "1.08", "19990827");
  RefuseUnknownLongOptions(options);
  if (options.Version) PrintVersion();
  if (options.Usage) PrintUsage();
  if (options.ReopenOutput) console::ResetOutput();
  error::ErrorEnglish = true;
  error::ErrorShow = true;
  error::ErrorClearFault = !options.Debug;
  screens::Banner();
  ReportUnknownOptions(options);
  if (options.HelpScreen) {
    screens::HelpScreen();
    End(run);
  }
  if (options.About) {
    screens::AboutScreen();
    End(run);
  }
  if (options.Init) End(run, run.DryRun || userdata::InitUserFolder() ? 0 : kExitFailed);

  // The reply and where the result goes.
  ReadSettings(run);
  run.InputName = option::ParamN(1);
  run.OutputName = option::ParamN(2);
  if (run.OutputName.empty()) run.OutputName = run.InputName;
  if (!NamesAcceptable(run)) {
    Writer->ErrorLine(tr::Say("Wrong file name!"));
    Writer->PlainLine("");
    screens::HelpScreen();
    End(run, run.InputName.empty() ? kExitNoReply : kExitFailed);
  }

  // From here to its end the run is the only one that rewrites the output:
  // a second run on the same file waits for it.
  if (!run.DryRun && !run.ToStdout && !platform::LockForRewrite(run.OutputName, kLockWaitMs)) {
    Writer->ErrorLine(tr::Say("File %s is in use by another run!", {ShortStr(run.OutputName)}));
    End(run, kExitFailed);
  }

  // The data files and the reply.
  Writer->Heading(tr::Say("Loading data files..."));
  if (!reply::ReadReply(run)) End(run, kExitFailed);
  if (!datafiles::LoadData(run)) End(run, kExitFailed);
  // Every data file is read before the reply's lines, which are then stored
  // in the form the tables need (see reply::LoadReply).
  run.FilterFlags = options.FilterMode;
  if (run.FilterFlags != 0) datafiles::LoadFilters(run);
  inserts::LoadInserts(run);
  if (!reply::LoadReply(run)) End(run, kExitFailed);

  // The road of the message: the quote filter, the inserts, the names, the
  // letters, the macros, the summary, and the result with its control line.
  run.LinesSkipped = 0;
  if (run.FilterFlags != 0) {
    run.FilterFlags = filterpass::ChooseFlags(run.FilterFlags, options, !run.FromStdin);
    filterpass::FilterPasses(run);
  }
  inserts::InsertBeginAndEnd(run);
  names::ChangeNames(run, options.KeepReceiverLines);
  letters::LatinHAndP(run.MessageLines);
  macros::ChangeMacros(run, !options.Macros);
  Summary(run);
  End(run, result::WriteResult(run) ? 0 : kExitFailed);
}

}  // namespace run
