#include "app/screens.h"

#include <string>
#include <string_view>

#include "app/appinfo.h"
#include "app/settings.h"
#include "console/console.h"
#include "console/keyb.h"
#include "console/writer.h"
#include "platform/process.h"

namespace screens {

using namespace shortstr;
using writer::Writer;

namespace {

void Plain(std::uint8_t colour, const ShortStr& text) {
  console::SetTextColour(colour);
  Writer->PlainLine(text);
}

}  // namespace

void Banner() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  Plain(console::kWhite, info.AppTitle + ShortStr(", v") + info.AppVersion + ShortStr(" dd ") + info.AppDate);
  Plain(console::kCyan, ShortStr("(C) TOVRIN 1999; ") + ShortStr(platform::SystemName()) +
                            ShortStr(" edition by the Salvetor developers, 2026"));
  Plain(console::kGreen, "Home page, sources and contacts: see share/doc/salvetor/README.md");
  Plain(console::kLightGrey, "");
}

void HelpScreen() {
  console::SetTextColour(console::kBlue);
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
  console::SetTextColour(console::kLightGrey);
}

void AboutScreen() {
  console::SetTextColour(console::kYellow);
  static const char* const kLines[] = {
      "Hello! Salvetor was first written by TOVRIN for FidoNet users.",
      "It greets your correspondents by the names they are used to.",
      "   Questions and reports: see the project's README.",
      "The program is kept and built by the Salvetor developers.",
      "Sponsored by everyone who keeps FidoNet alive.",
      "Thank you for using this software!",
  };
  for (const char* line : kLines) Writer->PlainLine(line);
  console::SetTextColour(console::kLightGrey);
  Writer->PlainLine("");
}

void VersionText() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  console::WriteOutLn(info.AppTitle + ShortStr(" ") + info.AppVersion + ShortStr(" ") + info.AppDate);
  static const char* const kLines[] = {
      "Copyright (C) 2026 The Salvetor developers; first written by TOVRIN, 1999.",
      "License: MIT <https://opensource.org/licenses/MIT>.",
      "This is free software: you are free to change and redistribute it.",
      "There is NO WARRANTY, to the extent permitted by law.",
  };
  for (const char* line : kLines) console::WriteOutLn(line);
}

namespace {

// "  /F, /F3, /Filt    help" for each option of a form, from the table.
void OptionLines(bool longOnes) {
  for (const settings::Option& option : settings::Options()) {
    if ((option.form == settings::Form::Long) != longOnes) continue;
    std::string names;
    std::string_view rest = option.names;
    while (!rest.empty()) {
      const std::size_t blank = rest.find(' ');
      if (!names.empty()) names += ", ";
      names += rest.substr(0, blank);
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    // A long option alone lines up with the long spellings of the others.
    if (longOnes && names.starts_with("--")) names.insert(0, "    ");
    std::string line = "  " + names;
    line.resize(line.size() < 20 ? 20 : line.size() + 1, ' ');
    line += option.help;
    console::WriteOutLn(ShortStr(line));
  }
}

}  // namespace

void UsageText() {
  static const char* const kHead[] = {
      "Usage: salvetor [OPTION]... REPLY [OUTPUT]",
      "Prepare a FidoNet reply: the addressee's name in Russian in the greeting,",
      "quoted service lines and hello/goodbye phrases removed, the Cyrillic H and p",
      "made Latin, macros expanded, begin and end texts inserted. The result",
      "replaces REPLY, whose old text is kept as its backup (reply.txt ->",
      "reply.~txt), or goes to OUTPUT. With REPLY \"-\" the reply is read from",
      "standard input and the result written to standard output.",
      "",
      "Options of the program's own kind may begin with / or -, in any letter case:",
  };
  for (const char* line : kHead) console::WriteOutLn(line);
  OptionLines(false);
  console::WriteOutLn("Long options, exactly as written here:");
  OptionLines(true);
  static const char* const kTail[] = {
      "",
      "Data files (salvetor.cfg, names.dat, macro.dat, filter.dat, filter2.dat,",
      "salvetor.beg, salvetor.end) are looked for in $XDG_CONFIG_HOME/salvetor",
      "(~/.config/salvetor), then beside the program, then in an installation's",
      "share/salvetor.",
      "",
      "Exit status: 0 the reply was processed (also help, version and --init);",
      "1 it was not (a wrong file name, a refused reply, an unknown charset, the",
      "file in use by another run, a failed write); 2 no reply was named, or an",
      "unknown long option; 200, 216 a fault; 203 not enough memory.",
  };
  for (const char* line : kTail) console::WriteOutLn(line);
}

}  // namespace screens
