// The program as a Linux user meets it: exit codes, --help and --version,
// unknown options, the per-user data folder and --init, and the terminal.
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

class Citizen : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting(Cp("Вася"));
    WriteFile(dir() / "reply.txt", Crlf({"Hello, Vasily!"}));
    fs::create_directories(dir() / "home");
  }
  // Runs with the user's settings folder inside the test folder.
  RunResult User(const std::string& args, const std::string& stdinFrom = "/dev/null") {
    return Run("salvetor", args, stdinFrom, "XDG_CONFIG_HOME=home ");
  }
};

TEST_F(Citizen, ExitCodeTellsWhetherTheReplyWasProcessed) {
  struct Case {
    std::string args;
    int code;
  } cases[] = {
      {"reply.txt /Key-", 0}, {"/?", 0},          {"/About", 0},
      {"", 2},                {"missing.txt", 1}, {"reply.txt /CS=XY", 1}, {"reply.txt reply.txt/out.txt", 1},
  };
  for (const Case& c : cases) {
    WriteFile(dir() / "reply.txt", Crlf({"Hello, Vasily!"}));
    RunResult r = User(c.args);
    EXPECT_EQ(r.exitCode, c.code) << c.args;
    EXPECT_NE(r.out.find("Normal shutdown. Exit code: " + std::to_string(c.code) + ("." + Eol())), std::string::npos)
        << c.args << r.out;
  }
  fs::remove(dir() / "salvetor.cfg");
  EXPECT_EQ(User("reply.txt").exitCode, 1);
}

TEST_F(Citizen, HelpAndVersion) {
  RunResult help = User("--help"), h = User("-h");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out, h.out);
  // The GNU form: usage first, every option, no banner, no key wait, no trailer.
  EXPECT_EQ(help.out.rfind("Usage: salvetor [OPTION]... REPLY [OUTPUT]" + Eol(), 0), 0u) << help.out;
  for (const char* option : {"/CS=NAME", "--init", "--dry-run", "--diff", "--verbose", "  --  ", "\"-\""}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(help.out.find("Press <Anykey>"), std::string::npos);
  EXPECT_EQ(help.out.find("Work done."), std::string::npos);
  EXPECT_EQ(help.out.find("Normal shutdown"), std::string::npos);
  // /? keeps the help screen.
  EXPECT_NE(User("/?").out.find("/?, /Help       - show this help and exit" + Eol()), std::string::npos);
  for (const char* option : {"--version", "-V"}) {
    RunResult r = User(std::string("reply.txt ") + option);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Salvetor 1.08 19990827" + Eol() + "Copyright (C) 2026 The Salvetor developers", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("License: MIT"), std::string::npos);
  }
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({"Hello, Vasily!"}));
}

// On a terminal too, --help prints and returns: no key is waited for.
TEST_F(Citizen, HelpOnATerminalWaitsForNoKey) {
  SKIP_UNDER_WINE("a POSIX terminal made by script(1)");
  const RunResult r = Shell("(sleep 3) | timeout 2 script -qfec './salvetor --help' /dev/null");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("Usage: salvetor [OPTION]... REPLY [OUTPUT]"), std::string::npos) << r.out;
}

TEST_F(Citizen, LongOptionsAreExact) {
  for (const char* wrong : {"--dryrun", "--DIFF", "--dry-run=1", "--Help"}) {
    RunResult r = User(std::string("reply.txt ") + wrong);
    EXPECT_EQ(r.exitCode, 2) << wrong;
    EXPECT_EQ(r.out, Console({std::string("Unknown option ") + wrong + "!"})) << wrong;
    EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({"Hello, Vasily!"})) << wrong;
    EXPECT_FALSE(fs::exists(dir() / "reply.~txt")) << wrong;
  }
  // "--" ends the options: a reply named "-n" is processed.
  WriteFile(dir() / "-n", Crlf({"Hello, Vasily!"}));
  RunResult r = User("/Key- -- -n");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(ReadFile(dir() / "-n"), Crlf({kKludge, Cp("Hello, Вася!")}));
  EXPECT_EQ(r.out.find("Unknown option"), std::string::npos) << r.out;
}

TEST_F(Citizen, UnknownOptionsAreNamedOnceEach) {
  RunResult r = User("reply.txt /Zap -q /zap /Zap /F=3 /H=2 /cs=cp866 /Key-");
  const std::string banner = Console({"Home page, sources and contacts: see share/doc/salvetor/README.md", ""});
  EXPECT_NE(r.out.find(banner + Console({"Unknown option /Zap ignored!", "Unknown option -q ignored!",
                                         "Unknown option /zap ignored!", "Max header size=2, Max footer size=3"})),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.exitCode, 0);
}

TEST_F(Citizen, TheUsersDataFilesWinFileByFile) {
  SKIP_UNDER_WINE("the user folder comes from XDG_CONFIG_HOME (Wine sets APPDATA itself)");
  fs::create_directories(dir() / "home" / "salvetor");
  WriteFile(dir() / "home" / "salvetor" / "names.dat", "Vasily,Васёк\n");  // UTF-8, LF
  User("reply.txt");
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({kKludge, Cp("Hello, Васёк!")}));  // salvetor.cfg from beside
}

// The log and the error report go beside the program only when it runs
// from a folder of the user's own (a build, a portable copy); else, and
// always for an installed program, into the user's state folder.
TEST_F(Citizen, ReportGoesToTheUsersStateFolderOutsideTheUsersOwnFolder) {
  SKIP_UNDER_WINE("folder owners and XDG_STATE_HOME");
  // An installed program (its data in ../share/salvetor) never writes
  // beside itself, even in its owner's folder.
  Install("fatal_probe", false);
  fs::create_directories(dir() / "bin");
  fs::create_directories(dir() / "share" / "salvetor");
  fs::rename(dir() / "fatal_probe", dir() / "bin" / "fatal_probe");
  RunResult r = Run("fatal_probe", "fault 204 00401A2B", "/dev/null", "XDG_STATE_HOME=mine ./bin/");
  EXPECT_EQ(r.exitCode, 204);
  EXPECT_FALSE(fs::exists(dir() / "bin" / "fatal_probe.err"));
  EXPECT_NE(ReadFile(dir() / "mine" / "salvetor" / "fatal_probe.err").find("ERROR # 204"), std::string::npos);
  // A folder another user owns, even one this user may write to.
  if (Shell("id -u").out != "0\n") GTEST_SKIP() << "a second user is only at hand for root";
  if (Shell("command -v setpriv").exitCode != 0) GTEST_SKIP() << "no way to drop root here";
  Install("fatal_probe", false);
  fs::create_directories(dir() / "state");
  fs::permissions(dir() / "state", fs::perms::all);
  fs::permissions(dir(), fs::perms::all);
  r = Run("fatal_probe", "fault 204 00401A2B", "/dev/null",
          "XDG_STATE_HOME=state setpriv --reuid=65534 --regid=65534 --clear-groups ");
  fs::permissions(dir(), fs::perms::owner_all);
  EXPECT_EQ(r.exitCode, 204);
  EXPECT_FALSE(fs::exists(dir() / "fatal_probe.err"));
  EXPECT_NE(ReadFile(dir() / "state" / "salvetor" / "fatal_probe.err").find("ERROR # 204"), std::string::npos);
}

TEST_F(Citizen, InitCopiesTheDataAsUtf8AndKeepsWhatIsThere) {
  SKIP_UNDER_WINE("the user folder comes from XDG_CONFIG_HOME (Wine sets APPDATA itself)");
  Install("salvetor", true);  // the shipped data beside the program
  fs::create_directories(dir() / "examples");  // and the example begin and end texts, as in a build
  for (const char* name : {"salvetor.beg", "salvetor.end"}) {
    fs::copy_file(fs::path(SALVETOR_SOURCE_DIR) / "examples" / name, dir() / "examples" / name);
  }
  fs::create_directories(dir() / "home" / "salvetor");
  WriteFile(dir() / "home" / "salvetor" / "macro.dat", "{me},мой макрос\n");
  RunResult r = User("--init");
  EXPECT_EQ(r.exitCode, 0);
  const std::string folder = "home/salvetor/";
  // The examples under names no run reads: renamed, they take effect.
  for (const char* name : {"salvetor.beg.example", "salvetor.end.example"}) {
    EXPECT_NE(r.out.find("Written: " + folder + name + Eol()), std::string::npos) << name << r.out;
  }
  EXPECT_EQ(ReadFile(dir() / "home" / "salvetor" / "salvetor.beg.example"), "Hi all!\n");
  for (const char* name : {"salvetor.cfg", "names.dat", "filter.dat", "filter2.dat", "salvetor.RUS"}) {
    EXPECT_NE(r.out.find("Written: " + folder + name + Eol()), std::string::npos) << name << r.out;
    std::string copy = ReadFile(dir() / "home" / "salvetor" / name);
    EXPECT_EQ(copy.find('\r'), std::string::npos) << name;
    EXPECT_EQ(Iconv(copy, "UTF-8", "UTF-8"), copy) << name;
  }
  EXPECT_NE(r.out.find("Kept: " + folder + ("macro.dat" + Eol())), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "home" / "salvetor" / "macro.dat"), "{me},мой макрос\n");
  // The program now runs from the user's copies.
  fs::remove(dir() / "names.dat");
  WriteFile(dir() / "reply.txt", Crlf({"Hello, Vasily! {me}"}));
  r = User("reply.txt");
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({kKludge, Cp("Hello, Вася! мой макpос")})) << r.out;
  // A second --init keeps everything.
  r = User("--init");
  EXPECT_EQ(r.out.find("Written:"), std::string::npos) << r.out;
}

TEST_F(Citizen, ColoursFollowTheTerminalAndNoColor) {
  SKIP_UNDER_WINE("a terminal made by script(1)");
  const std::string run = "script -qfec './salvetor reply.txt /Key-' /dev/null </dev/null";
  RunResult r = Shell("TERM=xterm " + run);
  EXPECT_NE(r.out.find("\x1b[1;39mSalvetor, v1.08 dd 19990827"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\x1b[39mMax header size=12"), std::string::npos) << r.out;
  r = Shell("TERM=xterm NO_COLOR=1 " + run);
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
}

TEST_F(Citizen, AKeyPressedInTheWindowIsNotEchoed) {
  SKIP_UNDER_WINE("a terminal made by script(1)");
  WriteFile(dir() / "reply.txt", Crlf({"text", " AB> Hello"}));
  RunResult r = Shell("(sleep 0.25; printf '\\033OQ'; sleep 1.5) | TERM=dumb script -qfec './salvetor reply.txt /F' "
                      "/dev/null");
  EXPECT_NE(r.out.find("Or not..."), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("OQ"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
}

}  // namespace

namespace {

using namespace harness;

class LocaleConsole : public ProgramDir {};

// Console text goes out in the locale's charset with LF line ends, to a
// terminal, a pipe or a file alike; the C locale names no charset and gets
// UTF-8. The reply and the files the program writes keep their own bytes.
TEST_F(LocaleConsole, ConsoleTextIsInTheLocalesCharset) {
  SKIP_UNDER_WINE("the POSIX locale (Windows keeps its console)");
  InstallGreeting(Cp("Вася"));
  const std::string line = "Changed: Vasily to Вася!\n";
  const std::string reply = Crlf({"Hello, Vasily!", Cp("Пока")});  // CP866: read as such in any locale
  for (const char* locale : {"C", "C.UTF-8", "POSIX"}) {
    WriteFile(dir() / "reply.txt", reply);
    const RunResult r = Run("salvetor", "reply.txt /Key-", "/dev/null", std::string("LC_ALL=") + locale + " ");
    EXPECT_NE(r.out.find(line), std::string::npos) << locale << r.out;
    EXPECT_EQ(r.out.find('\r'), std::string::npos) << locale;
    EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({kKludge, Cp("Hello, Вася!"), Cp("Пока")})) << locale;
  }
  const RunResult made = Shell("mkdir -p loc && localedef -i ru_RU -f KOI8-R loc/ru_RU.KOI8-R");
  if (made.exitCode != 0) GTEST_SKIP() << "no KOI8-R locale can be made here (localedef: " << made.err << ")";
  WriteFile(dir() / "reply.txt", Crlf({"Hello, Vasily!"}));
  const RunResult r = Run("salvetor", "reply.txt /Key- /CS=CP866", "/dev/null", "LOCPATH=loc LC_ALL=ru_RU.KOI8-R ");
  // A Russian locale's console also speaks Russian.
  EXPECT_NE(r.out.find(Iconv("Заменено: Vasily на Вася!\n", "UTF-8", "KOI8-R")), std::string::npos) << r.out;
}

}  // namespace
