#include "app/screens.h"

#include <string>
#include <string_view>

#include "app/appinfo.h"
#include "app/settings.h"
#include "console/console.h"
#include "console/keyb.h"
#include "console/writer.h"
#include "platform/process.h"
#include "textlib/tr.h"

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
  Plain(console::kWhite,
        info.AppTitle + ShortStr(", v") + info.AppVersion + ShortStr(" dd ") + info.AppDate);
  Plain(console::kCyan, tr::Format("(C) TOVRIN 1999; %s edition by the Salvetor developers, 2026",
                                   {ShortStr(platform::SystemName())}));
  Plain(console::kGreen,
        tr::Tr("Home page, sources and contacts: see share/doc/salvetor/README.md"));
  Plain(console::kLightGrey, "");
}

void HelpScreen() {
  console::SetTextColour(console::kBlue);
  static const char* const kFirst[] = {
      N_("Run: salvetor infile.ext [outfile.ext] [/F|F1|F2] [/D] [/SN]"),
      N_("/?, /Help       - show this help and exit"),
      N_("/A, /About      - some words about author"),
      N_("/F, /F3, /Filt  - skip Origins,etc, hello and goodbye ;)"),
      N_("/F1             - skip Origins, taglines, tearlines"),
      N_("/F2             - skip hello and goodbye (filter.dat)"),
      N_("/D              - small delay when done"),
      N_("/IF             - info during filtering(why deleted?!!)"),
      N_("/SN             - save full name (with second name)"),
      N_("/StdOut         - use standard output"),
      N_("/Key-           - don't wait keypress"),
      N_("/H=??           - maximum size of header for filter, lines"),
      N_("/F=??           - maximum size of footer for filter, lines"),
      N_("/M-, /Macro-    - don't change macros from macro.dat"),
      N_("/FN-            - don't delete lines with receiver name"),
      N_("/SB-            - don't skip multiply blank lines"),
  };
  for (const char* line : kFirst) Writer->PlainLine(tr::Tr(line));
  Writer->Info(tr::Say("Press <Anykey> to continue..."));
  keyb::PauseForKey();
  static const char* const kSecond[] = {
      "",
      N_("You must have names.dat and filter.dat to work!"),
      N_("Russian \"H\" and \"p\" are changing to English!"),
      N_("> Check salvetor.cfg before run!"),
      N_("P.S. If you have files salvetor.beg and salvetor.end"),
      N_("they will be inserted to msg accordingly their extensions."),
      "",
  };
  for (const char* line : kSecond) Writer->PlainLine(tr::Tr(line));
  console::SetTextColour(console::kLightGrey);
}

void AboutScreen() {
  console::SetTextColour(console::kYellow);
  static const char* const kLines[] = {
      N_("Hello! Salvetor was first written by TOVRIN for FidoNet users."),
      N_("It greets your correspondents by the names they are used to."),
      N_("   Questions and reports: see the project's README."),
      N_("The program is kept and built by the Salvetor developers."),
      N_("Sponsored by everyone who keeps FidoNet alive."),
      N_("Thank you for using this software!"),
  };
  for (const char* line : kLines) Writer->PlainLine(tr::Tr(line));
  console::SetTextColour(console::kLightGrey);
  Writer->PlainLine("");
}

void VersionText() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  console::WriteOutLn(info.AppTitle + ShortStr(" ") + info.AppVersion + ShortStr(" ") +
                      info.AppDate);
  static const char* const kLines[] = {
      N_("Copyright (C) 2026 The Salvetor developers; first written by TOVRIN, 1999."),
      N_("License: MIT <https://opensource.org/licenses/MIT>."),
      N_("This is free software: you are free to change and redistribute it."),
      N_("There is NO WARRANTY, to the extent permitted by law."),
  };
  for (const char* line : kLines) console::WriteOutLn(tr::Tr(line));
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
    line += tr::Tr(option.help).Std();
    console::WriteOutLn(ShortStr(line));
  }
}

}  // namespace

void UsageText() {
  static const char* const kHead[] = {
      N_("Usage: salvetor [OPTION]... REPLY [OUTPUT]"),
      N_("Prepare a FidoNet reply: the addressee's name in Russian in the greeting,"),
      N_("quoted service lines and hello/goodbye phrases removed, the Cyrillic H and p"),
      N_("made Latin, macros expanded, begin and end texts inserted. The result"),
      N_("replaces REPLY, whose old text is kept as its backup (reply.txt ->"),
      N_("reply.~txt), or goes to OUTPUT. With REPLY \"-\" the reply is read from"),
      N_("standard input and the result written to standard output."),
      "",
      N_("Options of the program's own kind may begin with / or -, in any letter case:"),
  };
  for (const char* line : kHead) console::WriteOutLn(tr::Tr(line));
  OptionLines(false);
  console::WriteOutLn(tr::Tr("Long options, exactly as written here:"));
  OptionLines(true);
  static const char* const kTail[] = {
      "",
      N_("Data files (salvetor.cfg, names.dat, macro.dat, filter.dat, filter2.dat,"),
      N_("salvetor.beg, salvetor.end) are looked for in $XDG_CONFIG_HOME/salvetor"),
      N_("(~/.config/salvetor), then beside the program, then in an installation's"),
      N_("share/salvetor."),
      "",
      N_("Exit status: 0 the reply was processed (also help, version and --init);"),
      N_("1 it was not (a wrong file name, a refused reply, an unknown charset, the"),
      N_("file in use by another run, a failed write); 2 no reply was named, or an"),
      N_("unknown long option; 200, 216 a fault; 203 not enough memory."),
  };
  for (const char* line : kTail) console::WriteOutLn(tr::Tr(line));
}

}  // namespace screens
