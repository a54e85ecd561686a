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

void VersionLine() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  console::WriteOutLn(info.AppTitle + ShortStr(" ") + info.AppVersion + ShortStr(" ") + info.AppDate);
}

}  // namespace screens
