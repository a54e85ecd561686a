// Settings: every option of the program in one table, and the command line
// read once into a plain value. The known-option test, the warnings about
// unknown ones and the option list of --help all come from the table; the
// stages take what they need from the value.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// How an option is written: a word of the program's own kind (/X or -X, any
// letter case), the same with "=value", or a long option (exactly as here).
enum class Form { Word, Value, Long };

struct Option {
  std::string_view names;  // its spellings, blank-separated: "/F /F3 /Filt", "/H=N"
  Form form;
  const char* help;  // for --help (English; shown translated)
};

// The table, in the order --help lists it.
std::span<const Option> Options();
// True when arg is a spelling of an option of the table.
bool Known(const std::string& arg);

// Lines of the filter's header and footer windows when not given.
inline constexpr std::int32_t kDefaultWindow = 12;

struct Settings {
  bool HelpScreen = false;  // /?, /Help
  bool About = false;
  bool Version = false;  // --version, -V
  bool Usage = false;    // --help, -h
  bool Init = false;
  bool DryRun = false;  // --dry-run, -n, --diff
  bool ShowDiff = false;
  bool Verbose = false;
  std::int32_t FilterMode = 0;  // the quote filter's mode the options choose, 0 for none
  bool KeyWindow = true;        // not /Key-
  bool Squeeze = true;          // not /SB-
  bool FilterInfo = false;      // /IF
  std::int32_t HeaderSize = kDefaultWindow, FooterSize = kDefaultWindow;
  bool SaveFullName = false;       // /SN, /SN+, not /SN-
  bool KeepReceiverLines = false;  // /FN-
  bool Macros = true;              // not /M-, /Macro-
  bool Delay = false;
  bool ReopenOutput = false;  // /StdOut
  bool Debug = false;
  bool CharsetGiven = false;  // /CS=
  std::string Charset;
  std::vector<std::string> Unknown;  // unknown options, each once, in order
};

// The command line, read once.
Settings Read();

}  // namespace settings
