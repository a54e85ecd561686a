#include "app/run.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
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
#include "textlib/units.h"

namespace run {

using namespace shortstr;
using writer::Writer;

namespace {

// Exit codes of runs that did not process the reply.
constexpr int kExitFailed = 1;
constexpr int kExitNoReply = 2;
constexpr std::uint16_t kEndDelayMs = 360;

void ShowWindows(const settings::Settings& options) {
  Writer->Info(tr::Say("Max header size=%s, Max footer size=%s",
                       {Num(options.HeaderSize), Num(options.FooterSize)}));
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
  // The output's backup must not take the place of the reply itself: the
  // commit removes the older backup's entry, which must not be the
  // reply's. A backup that is only a second name of the reply's file (a run
  // killed between linking the backup and renaming the result leaves one)
  // takes nothing away when removed.
  const std::string backup = files::BackupName(platform::FollowLinks(run.OutputName));
  return run.FromStdin || !platform::SameEntry(platform::FollowLinks(run.InputName), backup);
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
  if (run.Totals.MacroChanges != 0)
    Writer->Info(tr::Say("Macro: %s changes!", {Num(run.Totals.MacroChanges)}));
  Writer->Info(
      tr::Say("Total: %s changes!", {Num(run.Totals.NamesChanged + run.Totals.MacroChanges)}));
  if (run.Totals.LinesSkipped != 0) {
    Writer->Info(tr::Say("Total: %s lines skipped!", {Num(run.Totals.LinesSkipped)}));
  }
}

// Every path of a run ends here, after the run's lists are freed.
[[noreturn]] void End(const settings::Settings& options, int code) {
  if (options.Delay) timing::DelayMs(kEndDelayMs);
  // A quiet run that ends well says nothing at all.
  if (Writer->Quiet && code == 0) error::ErrorShow = false;
  if (options.DryRun) Writer->Info(tr::Say("Dry run: nothing written."));
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

// The run from its settings to its result; the exit code.
int Process(app::RunContext& run) {
  const settings::Settings& options = run.Options;
  if (options.HelpScreen) {
    screens::HelpScreen();
    return 0;
  }
  if (options.About) {
    screens::AboutScreen();
    return 0;
  }
  if (options.Init) return options.DryRun || userdata::InitUserFolder() ? 0 : kExitFailed;

  // The reply and where the result goes.
  ShowWindows(options);
  run.InputName = option::ParamN(1);
  run.OutputName = option::ParamN(2);
  if (run.OutputName.empty()) run.OutputName = run.InputName;
  if (!NamesAcceptable(run)) {
    Writer->ErrorLine(tr::Say("Wrong file name!"));
    Writer->PlainLine("");
    screens::HelpScreen();
    return run.InputName.empty() ? kExitNoReply : kExitFailed;
  }

  // From here to its end the run is the only one that rewrites the output:
  // a second run on the same file waits for it.
  if (!options.DryRun && !run.ToStdout && !platform::LockForRewrite(run.OutputName, kLockWaitMs)) {
    Writer->ErrorLine(tr::Say("File %s is in use by another run!", {ShortStr(run.OutputName)}));
    return kExitFailed;
  }

  // The data files and the reply. The data files are decoded with escapes
  // on, so that a character CP866 lacks stays itself there too; a CP866
  // reply goes without them when no data file needed one (every byte is a
  // character then).
  Writer->Heading(tr::Say("Loading data files..."));
  std::optional<reply::Reply> reply = reply::ReadReply(run);
  if (!reply) return kExitFailed;
  charset::EscapeTable* escapes = &run.Escapes;
  units::SetEscapes(true);
  console::ShowEscapesWith(escapes);
  if (!datafiles::LoadData(run.Data, escapes)) return kExitFailed;
  if (options.FilterMode != 0) datafiles::LoadFilters(run.Data, escapes);
  inserts::LoadInserts(run.Data, escapes);
  if (reply->Charset == charset::Charset::Cp866 && !escapes->Made()) {
    units::SetEscapes(false);
    escapes = nullptr;
  }
  run.Text.Format.Escapes = escapes;
  if (!reply::LoadReply(run.InputName, std::move(*reply), run.Text)) return kExitFailed;

  // The road of the message: the quote filter, the inserts, the names, the
  // letters, the macros, the summary, and the result with its control line.
  if (options.FilterMode != 0) {
    const std::int32_t flags = filterpass::ChooseFlags(options.FilterMode, options, !run.FromStdin);
    run.Totals.LinesSkipped =
        filterpass::FilterPasses(run.Text, run.Data, flags, options.HeaderSize, options.FooterSize);
  }
  inserts::InsertBeginAndEnd(run.Text, run.Data);
  run.Totals.NamesChanged =
      names::ChangeNames(run.Text, run.Data, {options.SaveFullName, options.KeepReceiverLines});
  letters::LatinHAndP(run.Text.Lines);
  if (options.Macros) run.Totals.MacroChanges = macros::ChangeMacros(run.Text, run.Data);
  Summary(run);
  return result::WriteResult(run) ? 0 : kExitFailed;
}

}  // namespace

void RunProgram() {
  Writer = new writer::ConsoleWriter();
  Writer->LogCopy = false;
  Writer->ErrorCopy = false;
  settings::Settings options = settings::Read();
  int code;
  {
    app::RunContext run;
    run.Options = options;
    pipes::Setup(run);
    if (run.ToStdout && !run.Options.DryRun) pipes::GiveBackUnlessDelivered();
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
    code = Process(run);
    console::ShowEscapesWith(nullptr);  // the table goes with the run
  }                                     // the run's lists are freed here
  End(options, code);
}

}  // namespace run
