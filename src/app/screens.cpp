#include "app/screens.h"

#include "app/appinfo.h"
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

void UsageText() {
  static const char* const kLines[] = {
      "Usage: salvetor [OPTION]... REPLY [OUTPUT]",
      "Prepare a FidoNet reply: the addressee's name in Russian in the greeting,",
      "quoted service lines and hello/goodbye phrases removed, the Cyrillic H and p",
      "made Latin, macros expanded, begin and end texts inserted. The result",
      "replaces REPLY, whose old text is kept as its backup (reply.txt ->",
      "reply.~txt), or goes to OUTPUT. With REPLY \"-\" the reply is read from",
      "standard input and the result written to standard output.",
      "",
      "Options of the program's own kind may begin with / or -, in any letter case:",
      "  /F, /F3, /Filt    filter the quote: service and hello/goodbye lines",
      "  /F1               filter service lines only",
      "  /F2               filter hello/goodbye lines only",
      "  /Key-             with a filter: no key window (F1, F2, F3, Esc in 540 ms)",
      "  /SB-              keep runs of blank lines",
      "  /IF               report every line the filter removes, and why",
      "  /H=N, /F=N        the filter's header and footer window in lines (12);",
      "                    /F=N also selects /F",
      "  /SN, /SN+, /SN-   keep every word of a changed name, or not",
      "  /FN-              keep quoted lines that repeat the addressee's name",
      "  /M-, /Macro-      do not expand macros",
      "  /CS=NAME          the reply's charset: CP866, UTF-8, KOI8-R or CP1251",
      "  /D, /Delay        wait 360 ms before ending",
      "  /StdOut           reopen standard output first",
      "  /Debug            after a fatal error, also print the runtime report",
      "  /?, /Help         the help screen",
      "  /A, /About        the about screen",
      "Long options, exactly as written here:",
      "  -n, --dry-run     do the whole run but create, change or remove no file",
      "      --diff        as --dry-run, and print the change as a unified diff",
      "      --verbose     with \"-\": print the whole console on standard error",
      "      --init        copy the shipped data files into your data folder",
      "  -h, --help        show this help and exit",
      "  -V, --version     show the version and exit",
      "      --            every later argument is a file name",
      "",
      "Data files (salvetor.cfg, names.dat, macro.dat, filter.dat, filter2.dat,",
      "salvetor.beg, salvetor.end) are looked for in $XDG_CONFIG_HOME/salvetor",
      "(~/.config/salvetor), then beside the program.",
      "",
      "Exit status: 0 the reply was processed (also help, version and --init);",
      "1 it was not (a wrong file name, a refused reply, an unknown charset, the",
      "file in use by another run, a failed write); 2 no reply was named, or an",
      "unknown long option; 200, 216 a fault; 203 not enough memory.",
  };
  for (const char* line : kLines) console::WriteOutLn(line);
}

}  // namespace screens
