#include "app/run.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/appinfo.h"
#include "app/assembly.h"
#include "app/context.h"
#include "app/datafiles.h"
#include "app/defopt.h"
#include "app/macros.h"
#include "app/names.h"
#include "app/reply.h"
#include "app/userdata.h"
#include "console/console.h"
#include "runtime/error.h"
#include "console/keyb.h"
#include "runtime/timing.h"
#include "console/writer.h"
#include "filter/quote_filter.h"
#include "platform/files.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/option.h"

namespace run {

using namespace shortstr;
using option::OptionPresent;
using writer::Writer;

namespace {

// Exit codes of runs that did not process the reply.
constexpr int kExitFailed = 1;
constexpr int kExitNoReply = 2;
constexpr std::int32_t kDefaultWindow = 12;
constexpr std::uint16_t kKeyWindowMs = 540;
constexpr std::uint16_t kEndDelayMs = 360;

app::RunContext ctx;

void Plain(std::uint8_t colour, const ShortStr& text) {
  console::SetTextColour(colour);
  Writer->PlainLine(text);
}

void Banner() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  Plain(15, info.AppTitle + ShortStr(", v") + info.AppVersion + ShortStr(" dd ") + info.AppDate);
  Plain(3, "(C) TOVRIN 1999; POSIX edition by the Salvetor developers, 2026");
  Plain(2, "Home page, sources and contacts: see share/doc/salvetor/README.md");
  Plain(7, "");
}

void HelpScreen() {
  console::SetTextColour(1);
  static const char* const kFirst[] = {
      "Run: salvetor infile.ext [outfile.ext] [/F|F1|F2] [/D] [/SN]",
      "/?, /Help       - show this help and exit",
      "/A, /About      - some words about author",
      "/F, /F3, /Filt  - skip Origins,etc, hello and goodbye ;)",
      "/F1             - skip Origins, taglines, tearlines",
      "/F2             - skip hello and goodbye (filter.dat)",
      "/D              - small delay when done",
      "/IF             - info during filtering(why deleted?!!)",
      "/SN             - save full name (with second name)",
      "/StdOut         - use standard output",
      "/Key-           - don't wait keypress",
      "/H=??           - maximum size of header for filter, lines",
      "/F=??           - maximum size of footer for filter, lines",
      "/M-, /Macro-    - don't change macros from macro.dat",
      "/FN-            - don't delete lines with receiver name",
      "/SB-            - don't skip multiply blank lines",
  };
  for (const char* line : kFirst) Writer->PlainLine(line);
  Writer->Info("Press <Anykey> to continue...");
  keyb::PauseForKey();
  static const char* const kSecond[] = {
      "",
      "You must have names.dat and filter.dat to work!",
      "Russian \"H\" and \"p\" are changing to English!",
      "> Check salvetor.cfg before run!",
      "P.S. If you have files salvetor.beg and salvetor.end",
      "they will be inserted to msg accordingly their extensions.",
      "",
  };
  for (const char* line : kSecond) Writer->PlainLine(line);
  console::SetTextColour(7);
}

void AboutScreen() {
  console::SetTextColour(14);
  static const char* const kLines[] = {
      "Hello! Salvetor was first written by TOVRIN for FidoNet users.",
      "It greets your correspondents by the names they are used to.",
      "   Questions and reports: see the project's README.",
      "The program is kept and built by the Salvetor developers.",
      "Sponsored by everyone who keeps FidoNet alive.",
      "Thank you for using this software!",
  };
  for (const char* line : kLines) Writer->PlainLine(line);
  console::SetTextColour(7);
  Writer->PlainLine("");
}

// A window size option: a positive number, else the default 12.
std::int32_t WindowSize(const char* option) {
  double value = std::trunc(StrToReal(option::OptionValue(option)));
  if (!(value >= 1)) return kDefaultWindow;
  return value > 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(value);
}

void ReadSettings() {
  ctx.SaveFullName = OptionPresent("/SN") || OptionPresent("/SN+");
  if (OptionPresent("/SN-")) ctx.SaveFullName = false;
  ctx.HeaderSize = WindowSize("/H=");
  ctx.FooterSize = WindowSize("/F=");
  Writer->Info(ShortStr("Max header size=") + Num(ctx.HeaderSize) + ShortStr(", Max footer size=") +
               Num(ctx.FooterSize));
}

std::int32_t CommandLineMode() {
  std::int32_t mode = 0;
  if (OptionPresent("/Filt") || OptionPresent("/F") || OptionPresent("/F3")) mode = 28;
  if (OptionPresent("/F1")) mode = 12;
  if (OptionPresent("/F2")) mode = 20;
  return mode;
}

// A key pressed within the window after the prompt can change the mode.
std::int32_t KeyWindow(std::int32_t mode) {
  keyb::QuietBegin();  // a key pressed in the window is not echoed
  Writer->Notice("Waiting a key [F1, F2, F3, Esc]... ");
  timing::DelayMs(kKeyWindowMs);
  Writer->Notice("Or not...");
  if (keyb::KeyWaiting()) {
    switch (keyb::ReadKeyCode()) {
      case 27: mode = 4; break;
      case -59: mode = 12; break;
      case -60: mode = 20; break;
      case -61: mode = 28; break;
      default: break;
    }
  }
  keyb::DiscardKeys();
  keyb::QuietEnd();
  return mode;
}

void SelectFilterMode() {
  ctx.LinesSkipped = 0;
  std::int32_t mode = CommandLineMode();
  if (mode == 0) {
    ctx.FilterFlags = 0;
    return;
  }
  datafiles::LoadFilters(ctx);
  if (!OptionPresent("/Key-")) mode = KeyWindow(mode);
  if (OptionPresent("/SB-")) mode &= ~quote_filter::kSqueeze;
  if (OptionPresent("/IF")) mode |= quote_filter::kInfo;
  ctx.FilterFlags = mode;
}

void Summary() {
  Writer->Info("--------------------------");
  if (ctx.MacroChanges != 0) Writer->Info(ShortStr("Macro: ") + Num(ctx.MacroChanges) + ShortStr(" changes!"));
  Writer->Info(ShortStr("Total: ") + Num(ctx.NamesChanged + ctx.MacroChanges) + ShortStr(" changes!"));
  if (ctx.LinesSkipped != 0) {
    Writer->Info(ShortStr("Total: ") + Num(ctx.LinesSkipped) + ShortStr(" lines skipped!"));
  }
}

// The reply must be a regular file (links followed), and so must the output
// when it exists; a directory as the output fails later with its write error.
bool NamesAcceptable() {
  if (ctx.InputName.empty() || !files::FileExists(ctx.InputName)) return false;
  return platform::KindOf(ctx.OutputName) != platform::Kind::Other;
}

[[noreturn]] void End(int code = 0) {
  if (OptionPresent("/Delay") || OptionPresent("/D")) timing::DelayMs(kEndDelayMs);
  app::DisposeLists(ctx);
  Writer->Info("Work done.");
  Writer->Release();
  delete Writer;
  Writer = nullptr;
  error::Halt(code);
}

// The result's write decides how the run ends.
int Process() {
  SelectFilterMode();
  if (ctx.FilterFlags != 0) assembly::FilterPasses(ctx);
  assembly::InsertBeginAndEnd(ctx);
  names::ChangeNames(ctx, OptionPresent("/FN-"));
  assembly::ReplaceLetters(ctx);
  macros::ChangeMacros(ctx, OptionPresent("/M-") || OptionPresent("/Macro-"));
  Summary();
  return assembly::WriteResult(ctx) ? 0 : kExitFailed;
}

// Every option the program knows, without its mark and upper-cased; those
// ending in "=" take a value.
bool KnownOption(const std::string& arg) {
  static const char* const kLinux[] = {"--help", "-h", "--version", "-V", "--init"};
  for (const char* known : kLinux) {
    if (arg == known) return true;
  }
  static const char* const kKnown[] = {"?",  "HELP", "A",  "ABOUT", "F",  "F1",    "F2",     "F3",     "FILT",
                                       "KEY-", "SB-", "IF", "SN",    "SN+", "SN-",  "FN-",    "M-",     "MACRO-",
                                       "D",  "DELAY", "STDOUT", "DEBUG", "H=", "F=", "CS="};
  std::string word = arg.substr(1);
  for (char& c : word) c = static_cast<char>(UpCaseChar(static_cast<unsigned char>(c)));
  for (const char* known : kKnown) {
    const std::string k = known;
    if (k.back() == '=' ? word.compare(0, k.size(), k) == 0 : word == k) return true;
  }
  return false;
}

void ReportUnknownOptions() {
  std::vector<std::string> reported;
  for (const std::string& arg : option::OptionArguments()) {
    if (KnownOption(arg) || std::find(reported.begin(), reported.end(), arg) != reported.end()) continue;
    reported.push_back(arg);
    Writer->Info(ShortStr("Unknown option ") + ShortStr(arg) + ShortStr(" ignored!"));
  }
}

[[noreturn]] void PrintVersion() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  console::WriteOutLn(info.AppTitle + ShortStr(" ") + info.AppVersion + ShortStr(" ") + info.AppDate);
  error::ErrorShow = false;  // the one line and nothing else
  error::Halt(0);
}

}  // namespace

void RunProgram() {
  Writer = new writer::ConsoleWriter();
  Writer->LogCopy = false;
  Writer->ErrorCopy = false;
  appinfo::AppInfoSet("Salvetor", "1.08", "19990827");
  if (option::ArgumentGiven("--version") || option::ArgumentGiven("-V")) PrintVersion();
  if (OptionPresent("/StdOut")) console::ResetOutput();
  error::ErrorEnglish = true;
  error::ErrorShow = true;
  error::ErrorClearFault = !defopt::DebugFlag;
  Banner();
  ReportUnknownOptions();
  if (defopt::HelpFlag) {
    HelpScreen();
    End();
  }
  if (OptionPresent("/A") || OptionPresent("/About")) {
    AboutScreen();
    End();
  }
  if (option::ArgumentGiven("--init")) End(userdata::InitUserFolder() ? 0 : kExitFailed);
  ReadSettings();
  ctx.InputName = option::ParamN(1);
  ctx.OutputName = option::ParamN(2);
  if (ctx.OutputName.empty()) ctx.OutputName = ctx.InputName;
  if (!NamesAcceptable()) {
    Writer->ErrorLine("Wrong file name!");
    Writer->PlainLine("");
    HelpScreen();
    End(ctx.InputName.empty() ? kExitNoReply : kExitFailed);
  }
  Writer->Heading("Loading data files...");
  if (!reply::ReadReply(ctx)) End(kExitFailed);
  if (!datafiles::LoadData(ctx)) End(kExitFailed);
  if (!reply::LoadReply(ctx)) End(kExitFailed);
  End(Process());
}

}  // namespace run
