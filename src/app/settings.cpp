#include "app/settings.h"

#include <array>
#include <cmath>

#include "filter/quote_filter.h"
#include "textlib/option.h"
#include "textlib/shortstr.h"
#include "textlib/tr.h"

namespace settings {

namespace {

constexpr std::array<Option, 25> kOptions = {{
    {"/F /F3 /Filt", Form::Word, N_("filter the quote: service and hello/goodbye lines")},
    {"/F1", Form::Word, N_("filter service lines only")},
    {"/F2", Form::Word, N_("filter hello/goodbye lines only")},
    {"/Key-", Form::Word, N_("with a filter: no key window (F1, F2, F3, Esc in 540 ms)")},
    {"/SB-", Form::Word, N_("keep runs of blank lines")},
    {"/IF", Form::Word, N_("report every line the filter removes, and why")},
    {"/H=N", Form::Value, N_("the filter's header window in lines (12)")},
    {"/F=N", Form::Value, N_("the filter's footer window in lines (12); also selects /F")},
    {"/SN /SN+", Form::Word, N_("keep every word of a changed name")},
    {"/SN-", Form::Word, N_("keep only the changed word of a name")},
    {"/FN-", Form::Word, N_("keep quoted lines that repeat the addressee's name")},
    {"/M- /Macro-", Form::Word, N_("do not expand macros")},
    {"/CS=NAME", Form::Value, N_("the reply's charset: CP866, UTF-8, KOI8-R or CP1251")},
    {"/D /Delay", Form::Word, N_("wait 360 ms before ending")},
    {"/StdOut", Form::Word, N_("reopen standard output first")},
    {"/Debug", Form::Word, N_("after a fatal error, also print the runtime report")},
    {"/? /Help", Form::Word, N_("the help screen")},
    {"/A /About", Form::Word, N_("the about screen")},
    {"-n --dry-run", Form::Long, N_("do the whole run but create, change or remove no file")},
    {"--diff", Form::Long, N_("as --dry-run, and print the change as a unified diff")},
    {"--verbose", Form::Long, N_("with \"-\": print the whole console on standard error")},
    {"--init", Form::Long, N_("copy the shipped data files into your data folder")},
    {"-h --help", Form::Long, N_("show this help and exit")},
    {"-V --version", Form::Long, N_("show the version and exit")},
    {"--", Form::Long, N_("every later argument is a file name")},
}};

// Calls f(spelling) for each spelling of an option.
template <class F>
bool AnySpelling(const Option& option, F&& f) {
  std::string_view rest = option.names;
  while (!rest.empty()) {
    const std::size_t blank = rest.find(' ');
    if (f(rest.substr(0, blank))) return true;
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  }
  return false;
}

bool Matches(const Option& option, const std::string& arg) {
  return AnySpelling(option, [&](std::string_view name) {
    if (option.form == Form::Long) return arg == name;
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
    // A value option is spelt up to its "=": the rest shows the value.
    const std::string_view spelt =
        option.form == Form::Value ? name.substr(0, name.find('=') + 1) : name;
    const std::string word = shortstr::UpCaseText(std::string_view(arg).substr(1)),
                      want = shortstr::UpCaseText(spelt.substr(1));
    return option.form == Form::Value ? word.compare(0, want.size(), want) == 0 : word == want;
  });
}

bool Given(std::string_view names) {
  for (const Option& option : kOptions) {
    if (option.names != names) continue;
    return AnySpelling(option, [&option](std::string_view name) {
      return option.form == Form::Long ? option::ArgumentGiven(name)
                                       : option::OptionPresent(shortstr::ShortStr(name));
    });
  }
  return false;
}

// A window size: a positive number, else the default.
std::int32_t WindowSize(const char* option) {
  const double value =
      std::trunc(shortstr::StrToReal(shortstr::ShortStr(option::OptionValue(option))));
  if (!(value >= 1)) return kDefaultWindow;
  return value > 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(value);
}

}  // namespace

std::span<const Option> Options() { return kOptions; }

bool Known(const std::string& arg) {
  for (const Option& option : kOptions) {
    if (Matches(option, arg)) return true;
  }
  return false;
}

Settings Read() {
  Settings s;
  s.HelpScreen = Given("/? /Help");
  s.About = Given("/A /About");
  s.Version = Given("-V --version");
  s.Usage = Given("-h --help");
  s.Init = Given("--init");
  s.ShowDiff = Given("--diff");
  s.DryRun = s.ShowDiff || Given("-n --dry-run");
  s.Verbose = Given("--verbose");
  if (Given("/F /F3 /Filt")) s.FilterMode = quote_filter::kModeAll;
  if (Given("/F1")) s.FilterMode = quote_filter::kModeService;
  if (Given("/F2")) s.FilterMode = quote_filter::kModePatterns;
  s.KeyWindow = !Given("/Key-");
  s.Squeeze = !Given("/SB-");
  s.FilterInfo = Given("/IF");
  s.HeaderSize = WindowSize("/H=");
  s.FooterSize = WindowSize("/F=");
  s.SaveFullName = Given("/SN /SN+") && !Given("/SN-");
  s.KeepReceiverLines = Given("/FN-");
  s.Macros = !Given("/M- /Macro-");
  s.Delay = Given("/D /Delay");
  s.ReopenOutput = Given("/StdOut");
  s.Debug = Given("/Debug");
  s.CharsetGiven = option::OptionPresent("/CS");
  s.Charset = option::OptionValue("/CS=");
  for (const std::string& arg : option::OptionArguments()) {
    bool seen = false;
    for (const std::string& unknown : s.Unknown) seen = seen || unknown == arg;
    if (!seen && !Known(arg)) s.Unknown.push_back(arg);
  }
  return s;
}

}  // namespace settings
