// How a program of this system ends: the shutdown line, the failure report
// after a fatal run-time error, and the exit codes.
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

class Ending : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    Install("fatal_probe", false);
  }
};

TEST_F(Ending, NormalHaltPrintsTheShutdownLine) {
  auto r = Run("fatal_probe", "exit 0");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, Console({"", "Normal shutdown. Exit code: 0."}));
  EXPECT_FALSE(fs::exists(dir() / "fatal_probe.err"));
}

TEST_F(Ending, ExitCodesAbove255Become234) {
  auto r = Run("fatal_probe", "exit 300");
  EXPECT_EQ(r.exitCode, 234);
  EXPECT_EQ(r.out, Console({"", "Normal shutdown. Exit code: 300."}));
}

TEST_F(Ending, ExitCode255IsTheCtrlBreakText) {
  auto r = Run("fatal_probe", "exit 255");
  EXPECT_EQ(r.exitCode, 255);
  EXPECT_EQ(r.out, Console({"", "Program was stopped by <Ctrl-Break> !"}));
}

TEST_F(Ending, RunTimeErrorWithoutMapFile) {
  WriteFile(dir() / "fatal_probe.err", "earlier\r\n");
  auto r = Run("fatal_probe", "fault 204 00401A2B", "&-");
  EXPECT_EQ(r.exitCode, 204);
  EXPECT_EQ(r.out, Console({"", "ERROR 204: \"Неверный указатель в FreeMem\" at 0040:1A2B !",
                         "Line # -2 in ", "Please, inform author about this error!",
                         "ERROR! Press <Enter> to exit..."}));
  EXPECT_EQ(r.err, "");
  std::string report = ReadFile(dir() / "fatal_probe.err");
  ASSERT_EQ(report.rfind("earlier\r\n", 0), 0u);
  std::string block = report.substr(9);
  // 27-08-1999 14:05:08, ERROR # 204 : "..." at 0040:1A2B
  ASSERT_GT(block.size(), 19u);
  EXPECT_EQ(block[2], '-');
  EXPECT_EQ(block.substr(19, block.find("\r\n") - 19),
            Cp(", ERROR # 204 : \"Неверный указатель в FreeMem\" at 0040:1A2B"));
  EXPECT_EQ(block.substr(block.find("\r\n") + 2),
            Crlf({"WHERE: reported by ErrorDone from unit Error", "Line # -2 in module ",
                  "FreeMem = 99999999  MaxMemBlock = 99999999", std::string(80, '-')}));
}

TEST_F(Ending, RunTimeErrorFindsItsLineInTheMapFile) {
  WriteFile(dir() / "fatal_probe.map",
            Crlf({" Start  Stop   Length Name", "", "Line numbers for Other(OTHER.PAS) segment CODE",
                  "     1 1000:0000     2 1000:0010", "Line numbers for Probe(PROBE.PAS) segment CODE",
                  "    10 1000:1A00    12 1000:1A20    14 1000:1A40    15 1000:1A50"}));
  auto r = Run("fatal_probe", "fault 204 00011A2B");
  EXPECT_EQ(r.exitCode, 204);
  EXPECT_NE(r.out.find(Eol() + "Line # 12 in Probe" + Eol()), std::string::npos) << r.out;
  EXPECT_NE(ReadFile(dir() / "fatal_probe.err").find("\r\nLine # 12 in module Probe\r\n"),
            std::string::npos);
}

TEST_F(Ending, MapFileWithoutSectionGivesLineZero) {
  WriteFile(dir() / "fatal_probe.map", Crlf({"    10 1000:1A00    12 1000:1A20"}));
  auto r = Run("fatal_probe", "fault 204 00011A2B");
  EXPECT_NE(r.out.find(Eol() + "Line # 0 in " + Eol()), std::string::npos) << r.out;
}

TEST_F(Ending, DebugLeavesTheFaultForTheRuntimeReport) {
  auto r = Run("fatal_probe", "fault 215 00401A2B /Debug");
  EXPECT_EQ(r.exitCode, 215);
  EXPECT_EQ(r.err, "Runtime error 215 at 0040:1A2B\n");
  auto quiet = Run("fatal_probe", "fault 215 00401A2B");
  EXPECT_EQ(quiet.err, "");
}

TEST_F(Ending, MemoryFaultAndAllocationFailureEndThroughTheReport) {
  // Line 1 for every address of the image's first MiB (a map's addresses
  // are segment * 16 + offset: segment h000 starts the h-th 64 KiB).
  std::string map = "Line numbers for probe(probe.cpp)\r\n";
  for (int high = 0; high < 16; ++high) {
    char pair[64];
    std::snprintf(pair, sizeof pair, "     1 %04X:0000     2 %04X:FFFF\r\n", high * 0x1000, high * 0x1000);
    map += pair;
  }
  WriteFile(dir() / "fatal_probe.map", map);
  auto divided = Run("fatal_probe", "divzero");
  EXPECT_EQ(divided.exitCode, 200);
  EXPECT_NE(divided.out.find("ERROR 200: "), std::string::npos) << divided.out;
  auto segv = Run("fatal_probe", "segv");
  EXPECT_EQ(segv.exitCode, 216);
  EXPECT_NE(segv.out.find(Con("ERROR 216: \"Ошибка защищенного режима(\"Exception 13\")\" at ")),
            std::string::npos);
  const std::string report = ReadFile(dir() / "fatal_probe.err");
  EXPECT_NE(report.find(Cp(", ERROR # 216 : \"Ошибка защищенного режима(\"Exception 13\")\" at ")), std::string::npos);
  // Written from the signal handler, with what start-up prepared. A map
  // names addresses up to FFFF:FFFF as segment * 16 + offset, about 1 MiB:
  // a build whose code lies beyond (the sanitizers' large relocation
  // tables come first) has no map line to find.
  const std::size_t at = segv.out.find("\" at ");
  ASSERT_NE(at, std::string::npos);
  const unsigned long address = std::stoul(segv.out.substr(at + 5, 4), nullptr, 16) << 16 |
                                std::stoul(segv.out.substr(at + 10, 4), nullptr, 16);
  if (address <= 0xFFFFFul) {  // the map above covers the first MiB
    EXPECT_NE(segv.out.find(Eol() + "Line # 1 in probe" + Eol()), std::string::npos) << segv.out;
    EXPECT_NE(report.find("\r\nWHERE: reported by ErrorDone from unit Error\r\nLine # 1 in module probe\r\n"),
              std::string::npos) << report;
  }
  auto nomem = Run("fatal_probe", "nomem");
  EXPECT_EQ(nomem.exitCode, 203);
  EXPECT_NE(nomem.out.find("ERROR 203: "), std::string::npos);
}

}  // namespace

namespace {

// The log lines without their date and time stamp.
std::vector<std::string> Records(const std::string& text) {
  std::vector<std::string> out;
  size_t from = 0;
  for (size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
    std::string line = text.substr(from, end - from);
    bool stamped = line.size() >= 20 && line[2] == '-' && line[5] == '-' && line[13] == ':' && line[19] == ' ';
    out.push_back(stamped ? "@" + line.substr(20) : line);
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST_F(Ending, WriterCopiesLandInBothFilesAtTheEnd) {
  WriteFile(dir() / "fatal_probe.log", "old log\r\n");
  WriteFile(dir() / "fatal_probe.err", "old err\r\n");
  auto r = Run("fatal_probe", "log");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, Console({"Loading", "   abc", "", "", "note", "", "bad", "info", "plain", "",
                         "Normal shutdown. Exit code: 0."}));
  EXPECT_EQ(Records(ReadFile(dir() / "fatal_probe.log")),
            (Lines{"old log", "@Loading", "@abc", "@note", "@", "@bad", "level nine"}));
  EXPECT_EQ(Records(ReadFile(dir() / "fatal_probe.err")), (Lines{"old err", "@", "@bad"}));
}

TEST_F(Ending, UnwritableLogIsReportedOnTheConsoleAndInTheErrorFile) {
  fs::create_directories(dir() / "fatal_probe.log");
  auto r = Run("fatal_probe", "log");
  std::string logName = harness::Shown(fs::canonical(dir()).string() + "/fatal_probe.log");
  const std::string message = "Ошибка записи (Отказано в доступе к файлу) протокола в файл " + logName + "!";
  EXPECT_NE(r.out.find(Console({"plain", message, ""}) + "Normal shutdown."), std::string::npos) << r.out;
  EXPECT_EQ(Records(ReadFile(dir() / "fatal_probe.err")), (Lines{"@", "@bad", Cp(message)}));
}

TEST_F(Ending, FailureReportFollowsTheBufferedErrorRecords) {
  auto r = Run("fatal_probe", "log fault");
  EXPECT_EQ(r.exitCode, 204);
  Lines records = Records(ReadFile(dir() / "fatal_probe.err"));
  ASSERT_EQ(records.size(), 7u);
  EXPECT_EQ(records[0], "@");
  EXPECT_EQ(records[1], "@bad");
  EXPECT_EQ(records[2].substr(19, 14), ", ERROR # 204 ");  // the report's first line
  EXPECT_EQ(records[3], "WHERE: reported by ErrorDone from unit Error");
}

TEST_F(Ending, BreakNoticeAndMessageTexts) {
  EXPECT_EQ(Run("fatal_probe", "break").out, Console({"", "", "", "Normal shutdown. Exit code: 0."}));
  WriteFile(dir() / "fatal_probe.RUS",
            Crlf({"; texts", Cp("CBrk,Программа прервана"), "Line,\"Line %1, of %2\""}));
  EXPECT_EQ(Run("fatal_probe", "break").out, Console({"", "Программа прервана", "", "Normal shutdown. Exit code: 0."}));
  EXPECT_EQ(Run("fatal_probe", "msg line 3 7").out.rfind(Console({"Line 3, of 7"}), 0), 0u);
  EXPECT_EQ(Run("fatal_probe", "msg LINE '' ''").out.rfind(Console({"Line , of "}), 0), 0u);
}

}  // namespace
