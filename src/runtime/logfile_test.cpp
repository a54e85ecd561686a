#include "runtime/logfile.h"

#include <gtest/gtest.h>

#include "support/tempdir.h"

#include <filesystem>
#include <string>

#include "console/console.h"
#include "console/writer.h"
#include "platform/output.h"
#include "textlib/lines.h"
#include "textlib/msgtext.h"

namespace logfile {
namespace {

namespace fs = std::filesystem;
using shortstr::Cp866;

TEST(DirectMode, AFailingErrorFileDoesNotReportItselfWithoutEnd) {
  fs::path dir = support::TempFolder("logdirect");
  fs::create_directories(dir / "err");
  LogState saved = State();
  State().LogDirect = true;
  State().ErrorFileName = (dir / "err").string();
  std::string out;
  platform::OutCapture(&out);
  ErrorLogWrite("record");
  platform::OutCapture(nullptr);
  State() = saved;
  ShortStr line = Cp866("Ошибка открытия (Отказано в доступе к файлу) log-файла ") +
                  ShortStr((dir / "err").string()) + ShortStr("!\r\n");
  EXPECT_EQ(out, line.Std() + line.Std());
  fs::remove_all(dir);
}

TEST(DirectMode, RecordsAreAppendedAtOnce) {
  fs::path dir = support::TempFolder("logdirect2");
  fs::create_directories(dir);
  LogState saved = State();
  State().LogDirect = true;
  State().LogFileName = (dir / "x.log").string();
  LogWrite("one", 1);
  LogWrite("dropped", 10);
  LogWrite("two", 9);
  State() = saved;
  EXPECT_EQ(fs::file_size(dir / "x.log"), 10u);
  fs::remove_all(dir);
}

TEST(BreakNoticeTest, WithoutAMessageFileTwoEmptyLinesGreyThenRed) {
  std::string out;
  platform::OutCapture(&out);
  writer::ConsoleWriter w;
  w.LogCopy = w.ErrorCopy = false;
  w.BreakNotice();
  platform::OutCapture(nullptr);
  EXPECT_EQ(out, "\r\n\r\n");
  EXPECT_EQ(console::TextAttribute & 0x0F, 12);
}

TEST(MsgFindTest, KeysIgnoreBlanksAndCase) {
  listman::List* list = nullptr;
  listman::ListCreate(list);
  for (const char* l : {";CBrk,Comment", "CBrkX,Other", "C Brk , Stopped by the user", "CBrk,Second",
                        "Line,\"Line %1, of %2\"", "Comma,a,b"}) {
    lines::LineAdd(list, l);
  }
  EXPECT_EQ(msgtext::MsgFind("cbrk", list).Std(), " Stopped by the user");
  EXPECT_EQ(msgtext::MsgFind("Comma", list).Std(), "a");
  EXPECT_EQ(msgtext::MsgFind("none", list).Std(), "");
  EXPECT_EQ(msgtext::MsgFind("CBrk", nullptr).Std(), "");
  EXPECT_EQ(msgtext::MsgFind("Line", list).Std(), "Line %1, of %2");
  listman::ListDisposeAll(list);
  // Without a message file beside the program every key is empty.
  EXPECT_EQ(msgtext::MsgTextArgs("Line", "3", "7", msgtext::LanguageCode()).Std(), "");
}

}  // namespace
}  // namespace logfile
