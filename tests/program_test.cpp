// The program run end to end: console bytes and result files, compared
// exactly, in a temporary directory holding the program and its data.
#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;


std::vector<std::string> Banner() {
  return {"Salvetor, v1.08 dd 19990827",
          std::string("(C) TOVRIN 1999; ") + (harness::UnderWine() ? "Windows" : "POSIX") +
              " edition by the Salvetor developers, 2026",
          "Home page, sources and contacts: see share/doc/salvetor/README.md", ""};
}

std::vector<std::string> Help() {
  return {"Run: salvetor infile.ext [outfile.ext] [/F|F1|F2] [/D] [/SN]",
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
          "Press <Anykey> to continue...",
          "",
          "You must have names.dat and filter.dat to work!",
          "Russian \"H\" and \"p\" are changing to English!",
          "> Check salvetor.cfg before run!",
          "P.S. If you have files salvetor.beg and salvetor.end",
          "they will be inserted to msg accordingly their extensions.",
          ""};
}

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const std::vector<std::string> kEnd = {"Work done.", "", "Normal shutdown. Exit code: 0."};
// The end of a run that did not process the reply.
std::vector<std::string> FailedEnd(int code) {
  return {"Work done.", "", "Normal shutdown. Exit code: " + std::to_string(code) + "."};
}

// A message whose quote has hello, goodbye and service lines at both ends.
const std::vector<std::string> kQuoted = {
    "Hello, All!",
    "",
    " AB> Hello, All!",
    " AB> Question here.",
    "",
    "",
    "",
    "Answer here.",
    " AB> Bye, all.",
    " AB> --- GoldED 3.0",
    " AB>  * Origin: somewhere (2:5020/1)",
    "--- GoldED",
};

class Program : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    Install("salvetor", false);
    WriteFile(dir() / "salvetor.cfg", Crlf({"Hello, @Name!"}));
    WriteFile(dir() / "names.dat", Crlf({"Vasily,Вася"}));
    WriteFile(dir() / "filter.dat", Crlf({"\"> Hello\"", "\"> Bye\""}));
  }
  std::string Real(const std::string& name) { return Shown((fs::canonical(dir()) / name).string()); }
  void Message(const std::vector<std::string>& lines, const std::string& name = "reply.txt") {
    WriteFile(dir() / name, Crlf(lines));
  }
  std::string Result(const std::string& name = "reply.txt") { return ReadFile(dir() / name); }
};

TEST_F(Program, NormalRunWritesKludgeAndKeepsABackup) {
  Message({"Hi there.", "Some text."});
  auto r = Run("salvetor", "reply.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, Console(Join({Banner(),
                              {"Max header size=12, Max footer size=12", "Loading data files...",
                               "Changing names...", "--------------------------", "Total: 0 changes!"},
                              kEnd})));
  EXPECT_EQ(Result(), Crlf({kKludge, "Hi there.", "Some text."}));
  EXPECT_EQ(Result("reply.~txt"), Crlf({"Hi there.", "Some text."}));
  EXPECT_FALSE(fs::exists(dir() / "salvetor.log"));
  EXPECT_FALSE(fs::exists(dir() / "salvetor.err"));
}

TEST_F(Program, SecondRunAddsASecondKludgeLine) {
  Message({"text"});
  Run("salvetor", "reply.txt");
  Run("salvetor", "reply.txt");
  EXPECT_EQ(Result(), Crlf({kKludge, kKludge, "text"}));
  EXPECT_EQ(Result("reply.~txt"), Crlf({kKludge, "text"}));
}

TEST_F(Program, SecondPositionalIsTheOutputAndBackupNamesFollowIt) {
  Message({"text"});
  WriteFile(dir() / "out.html", "old\r\n");
  auto r = Run("salvetor", "reply.txt out.html");
  EXPECT_EQ(Result(), Crlf({"text"}));
  EXPECT_EQ(Result("out.html"), Crlf({kKludge, "text"}));
  EXPECT_EQ(Result("out.~html"), "old\r\n");  // the whole extension
  Message({"x"}, "noext");
  Run("salvetor", "noext");
  EXPECT_EQ(Result("noext"), Crlf({kKludge, "x"}));
  EXPECT_EQ(Result("noext.~"), Crlf({"x"}));
}

TEST_F(Program, HelpWithAFileTouchesNothing) {
  Message({"text"});
  auto r = Run("salvetor", "reply.txt /?");
  EXPECT_EQ(r.out, Console(Join({Banner(), Help(), kEnd})));
  EXPECT_EQ(Result(), Crlf({"text"}));
  EXPECT_EQ(Run("salvetor", "/About /Help").out, Console(Join({Banner(), Help(), kEnd})));
}

TEST_F(Program, AboutScreen) {
  auto r = Run("salvetor", "-a");
  std::vector<std::string> about = {
      "Hello! Salvetor was first written by TOVRIN for FidoNet users.",
      "It greets your correspondents by the names they are used to.",
      "   Questions and reports: see the project's README.",
      "The program is kept and built by the Salvetor developers.",
      "Sponsored by everyone who keeps FidoNet alive.",
      "Thank you for using this software!",
      ""};
  EXPECT_EQ(r.out, Console(Join({Banner(), about, kEnd})));
}

TEST_F(Program, WrongFileName) {
  auto want = [](int code) {
    return Console(Join({Banner(), {"Max header size=12, Max footer size=12", "Wrong file name!", ""}, Help(),
                      FailedEnd(code)}));
  };
  RunResult none = Run("salvetor", "");
  EXPECT_EQ(none.out, want(2));
  EXPECT_EQ(none.exitCode, 2);  // no reply named at all
  fs::create_directories(dir() / "folder");
  for (const char* name : {"missing.txt", "folder"}) {
    RunResult r = Run("salvetor", name);
    EXPECT_EQ(r.out, want(1)) << name;
    EXPECT_EQ(r.exitCode, 1) << name;
  }
}

TEST_F(Program, MissingConfigurationEndsTheRun) {
  Message({"text"});
  fs::remove(dir() / "salvetor.cfg");
  auto r = Run("salvetor", "reply.txt /F");
  EXPECT_EQ(r.out, Console(Join({Banner(),
                              {"Max header size=12, Max footer size=12", "Loading data files...",
                               "Error reading data file " + Real("") + "salvetor.cfg!"},
                              FailedEnd(1)})));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Result(), Crlf({"text"}));
}

TEST_F(Program, MissingNamesFileNamesTheFallbackAndGoesOn) {
  Message({"Hello, Vasily Pupkin!"});
  fs::remove(dir() / "names.dat");
  auto r = Run("salvetor", "reply.txt");
  std::string names = Real("") + "salvetor.nam";
  EXPECT_NE(r.out.find(Console({"Loading data files...", "Error reading names file " + names + " #-2!",
                             "(Файл не найден)", "Changing names..."})),
            std::string::npos) << r.out;
  EXPECT_EQ(Result(), Crlf({kKludge, "Hello, Vasily Pupkin!"}));
}

TEST_F(Program, AnOptionalDataFileThatCannotBeReadIsReported) {
  SKIP_UNDER_WINE("permission bits");
  Message({"Hello, Vasily!"});
  fs::create_directories(dir() / "names.usr");  // there, but no file
  auto r = Run("salvetor", "reply.txt");
  EXPECT_NE(r.out.find(Console({"Error reading data file " + Real("") + "names.usr #-5!",
                             "(Отказано в доступе к файлу)"})),
            std::string::npos) << r.out;
  EXPECT_EQ(r.exitCode, 0);  // the run goes on with names.dat alone
  EXPECT_EQ(Result(), Crlf({kKludge, Cp("Hello, Вася!")}));
}

TEST_F(Program, MissingFilterFileIsReportedAndServiceLinesStillGo) {
  Message(kQuoted);
  fs::remove(dir() / "filter.dat");
  auto r = Run("salvetor", "reply.txt /F /Key-");
  std::string name = Real("") + "salvetor.flt";
  EXPECT_NE(r.out.find(Console({"Loading data files...", "Error reading filter file " + name + " #-2!",
                             "(Файл не найден)", "Changing names..."})),
            std::string::npos) << r.out;
  EXPECT_EQ(Result(), Crlf({kKludge, "Hello, All!", "", " AB> Hello, All!", " AB> Question here.", "",
                            "Answer here.", " AB> Bye, all.", "--- GoldED"}));
  EXPECT_EQ(Run("salvetor", "reply.txt").out.find("filter"), std::string::npos);  // no filter: not read
}

TEST_F(Program, FilterModes) {
  struct Case {
    std::string options;
    std::vector<std::string> result;
    int skipped;
  };
  const Case cases[] = {
      {"/F", {"Hello, All!", "", " AB> Question here.", "", "Answer here.", "--- GoldED"}, 6},
      {"/F1", {"Hello, All!", "", " AB> Hello, All!", " AB> Question here.", "", "Answer here.",
               " AB> Bye, all.", "--- GoldED"}, 4},
      {"/F2", {"Hello, All!", "", " AB> Question here.", "", "Answer here.", " AB> --- GoldED 3.0",
               " AB>  * Origin: somewhere (2:5020/1)", "--- GoldED"}, 4},
      {"/F1 /SB-", {"Hello, All!", "", " AB> Hello, All!", " AB> Question here.", "", "", "",
                    "Answer here.", " AB> Bye, all.", "--- GoldED"}, 2},
      {"", kQuoted, 0},
      {"/SB- /IF", kQuoted, 0},
  };
  for (const Case& c : cases) {
    Message(kQuoted);
    auto r = Run("salvetor", "reply.txt /Key- " + c.options);
    std::vector<std::string> want = {kKludge};
    want.insert(want.end(), c.result.begin(), c.result.end());
    EXPECT_EQ(Result(), Crlf(want)) << c.options;
    std::string skipped = "Total: " + std::to_string(c.skipped) + " lines skipped!" + Eol();
    EXPECT_EQ(r.out.find(skipped) != std::string::npos, c.skipped != 0) << c.options << r.out;
    EXPECT_EQ(r.out.find("Waiting a key") != std::string::npos, false);
  }
}

TEST_F(Program, KeyWindowPromptWithoutATerminalReadsNoKey) {
  Message(kQuoted);
  auto r = Run("salvetor", "reply.txt /F2 /IF");
  EXPECT_NE(r.out.find(Console({"Loading data files...", "Waiting a key [F1, F2, F3, Esc]... ", "Or not...",
                             "Deleted \" AB> Hello, All!\" cause of \"\"> Hello\"\"!",
                             "Deleted \" AB> Bye, all.\" cause of \"\"> Bye\"\"!", "Changing names..."})),
            std::string::npos)
      << r.out;
}

TEST_F(Program, InfoModeReportsServiceLines) {
  Message(kQuoted);
  auto r = Run("salvetor", "reply.txt /F1 /Key- /IF");
  EXPECT_NE(r.out.find(Console({"Deleted \" AB> --- GoldED 3.0\" as a service info!",
                             "Deleted \" AB>  * Origin: somewhere (2:5020/1)\" as a service info!"})),
            std::string::npos) << r.out;
}

TEST_F(Program, HeaderAndFooterSizes) {
  std::vector<std::string> lines = {"x", "x", "x", " AB> Hello one", "x", "x", "x", "x", "x",
                                    "x", " AB> Hello two", "x", "x"};
  struct Case {
    std::string options, shown;
    int removed;
  };
  const Case cases[] = {
      {"/F2", "Max header size=12, Max footer size=12", 2},
      {"/F2 /H=3 /F=2", "Max header size=3, Max footer size=2", 0},
      {"/F2 /H=4 /F=3", "Max header size=4, Max footer size=3", 2},
      {"/F2 /H=0 /F=-5", "Max header size=12, Max footer size=12", 2},
      {"/F2 /H=abc /F=3.9", "Max header size=12, Max footer size=3", 2},
      {"/F2 /H=4 /F=2", "Max header size=4, Max footer size=2", 1},
  };
  for (const Case& c : cases) {
    Message(lines);
    auto r = Run("salvetor", "reply.txt /Key- /SB- " + c.options);
    EXPECT_NE(r.out.find(c.shown + Eol()), std::string::npos) << c.options;
    std::string result = Result();
    EXPECT_EQ(static_cast<int>(lines.size()) + 1 - c.removed,
              static_cast<int>(std::count(result.begin(), result.end(), '\n')))
        << c.options;
  }
  Message(lines);
  Run("salvetor", "reply.txt /Key- /F=3");  // the footer option alone selects mode 28
  EXPECT_EQ(Result().find("Hello two"), std::string::npos);
}

TEST_F(Program, BeginAndEndInsertsGoBeforeTheServiceLines) {
  WriteFile(dir() / "salvetor.beg", Crlf({"Hi all"}));
  WriteFile(dir() / "salvetor.end", Crlf({"Best wishes,", "  Me"}));
  Message({"text", "... tag", "--- editor", " * Origin: x"});
  auto r = Run("salvetor", "reply.txt");
  std::string beg = Real("") + "salvetor.beg", end = Real("") + "salvetor.end";
  EXPECT_NE(r.out.find(Console({"Loading data files...", "File " + beg + " was inserted to the top!",
                             "File " + end + " was inserted to the end!", "Changing names..."})),
            std::string::npos) << r.out;
  EXPECT_EQ(Result(), Crlf({kKludge, "Hi all", "text", "Best wishes,", "  Me", "... tag", "--- editor",
                            " * Origin: x"}));
  // A second run finds both texts and adds only a kludge line.
  r = Run("salvetor", "reply.txt");
  EXPECT_EQ(r.out.find("was inserted"), std::string::npos);
  EXPECT_EQ(Result(), Crlf({kKludge, kKludge, "Hi all", "text", "Best wishes,", "  Me", "... tag",
                            "--- editor", " * Origin: x"}));
}

TEST_F(Program, EndInsertPositionCountsServiceLinesAmongTheLastFour) {
  WriteFile(dir() / "salvetor.end", Crlf({"END"}));
  Message({"text", "--- editor", "more text", " * Origin: x"});
  Run("salvetor", "reply.txt");
  EXPECT_EQ(Result(), Crlf({kKludge, "text", "--- editor", "END", "more text", " * Origin: x"}));
  Message({" * Origin: x"});
  Run("salvetor", "reply.txt");
  EXPECT_EQ(Result(), Crlf({kKludge, "END", " * Origin: x"}));
}

TEST_F(Program, BeginTextFoldsLookAlikeLetters) {
  WriteFile(dir() / "salvetor.beg", Crlf({"Hi all"}));
  Message({Cp("Нi аll"), "text"});  // H and a typed in Cyrillic
  auto r = Run("salvetor", "reply.txt");
  EXPECT_EQ(r.out.find("was inserted"), std::string::npos);
  EXPECT_EQ(Result(), Crlf({kKludge, Cp("Hi аll"), "text"}));
}

TEST_F(Program, LettersHAndPBecomeLatinEverywhere) {
  Message({Cp("Начало разговора"), Cp(" AB> Нет, у меня"), Cp("РНр")});
  Run("salvetor", "reply.txt");
  EXPECT_EQ(Result(), Crlf({kKludge, Cp("Hачало pазговоpа"), Cp(" AB> Hет, у меня"), Cp("РHp")}));
}

TEST_F(Program, BadBytesAndLineEndsAreKept) {
  std::string bytes = std::string("bin\x00\x01\xff", 6) + "\r\n" + std::string(300, 'L') + "\r\nlf\r\n\r\n" +
                      "end\x1a" + "after";
  WriteFile(dir() / "reply.txt", bytes);
  auto r = Run("salvetor", "reply.txt /F /Key-");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Result(), Crlf({kKludge, std::string("bin\x00\x01\xff", 6), std::string(255, 'L'),
                            std::string(45, 'L'), "lf", "", "end\x1a" "after"}));
  EXPECT_EQ(Result("reply.~txt"), bytes);
}

TEST_F(Program, FullMessageKeepsEveryLine) {
  std::string text;
  for (int i = 1; i <= 65535; ++i) text += "line " + std::to_string(i) + "\r\n";
  WriteFile(dir() / "reply.txt", text);
  WriteFile(dir() / "salvetor.beg", Crlf({"BEGIN"}));
  auto r = Run("salvetor", "reply.txt /F /Key-");
  EXPECT_EQ(r.exitCode, 0);
  std::string result = Result();
  EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 65535 + 2);
  EXPECT_EQ(result.substr(0, kKludge.size() + 9), kKludge + "\r\nBEGIN\r\n");
  EXPECT_EQ(result.substr(result.size() - 12), "line 65535\r\n");
  EXPECT_EQ(Result("reply.~txt"), text);  // the whole original stays in the backup
}

TEST_F(Program, OutputDirectoryThatCannotBeCreated) {
  Message({"text"});
  auto r = Run("salvetor", "reply.txt reply.txt/sub/out.txt");
  EXPECT_NE(r.out.find(Console({"Error writing file reply.txt/sub/out.txt #-3!", "(Путь не найден)"})),
            std::string::npos) << r.out;
  EXPECT_EQ(Result(), Crlf({"text"}));
}

TEST_F(Program, KeyInTheWindowChoosesTheModeOnATerminal) {
  SKIP_UNDER_WINE("a terminal made by script(1)");
  // script(1) gives the program a terminal and types what it reads.
  struct Case {
    std::string key;
    std::vector<std::string> result;
  };
  const Case cases[] = {
      {"\\033OQ", {"Hello, All!", "", " AB> Question here.", "", "Answer here.", " AB> --- GoldED 3.0",
                    " AB>  * Origin: somewhere (2:5020/1)", "--- GoldED"}},  // F2: mode 20
      {"\\033", {"Hello, All!", "", " AB> Hello, All!", " AB> Question here.", "", "Answer here.",
                  " AB> Bye, all.", " AB> --- GoldED 3.0", " AB>  * Origin: somewhere (2:5020/1)",
                  "--- GoldED"}},  // Esc: mode 4
  };
  for (const Case& c : cases) {
    Message(kQuoted);
    Shell("(sleep 0.25; printf '" + c.key + "'; sleep 1.5) | TERM=xterm script -qfec './salvetor reply.txt /F' /dev/null");
    std::vector<std::string> want = {kKludge};
    want.insert(want.end(), c.result.begin(), c.result.end());
    EXPECT_EQ(Result(), Crlf(want)) << c.key;
  }
}

TEST_F(Program, DelayOptionWaitsBeforeWorkDone) {
  Message({"text"});
  // Milliseconds a run takes, measured by the shell around it.
  auto timed = [&](const std::string& options) {
    RunResult r = Shell("s=$(date +%s%N); " + Command("salvetor") + " reply.txt " + options +
                        " </dev/null >/dev/null; e=$(date +%s%N); echo $(( (e - s) / 1000000 ))");
    return std::stol(r.out);
  };
  // The quickest of three plain runs: a run now and then takes much longer
  // on its own (under Wine, a second or more), never shorter.
  long plain = std::min({timed(""), timed(""), timed("")});
  long delayed = timed("/D");
  EXPECT_GE(delayed - plain, 300) << plain << " ms without /D, " << delayed << " ms with it";
}
}  // namespace
