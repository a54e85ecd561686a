#include "console/writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "console/console.h"
#include "console/timing.h"
#include "platform/output.h"

namespace writer {
namespace {

class Captured : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::OutCapture(&out_);
    w_.LogCopy = w_.ErrorCopy = false;
  }
  void TearDown() override { platform::OutCapture(nullptr); }
  std::string out_;
  ConsoleWriter w_;
};

TEST_F(Captured, EveryOperationWritesItsBytesOnAPipe) {
  w_.PlainLine("plain");
  w_.Heading("head");
  w_.Detail("abc");
  w_.Notice("");
  w_.ErrorLine("err");
  w_.Info("info");
  w_.Release();
  EXPECT_EQ(out_, "plain\r\nhead\r\n   abc\r\n\r\nerr\r\ninfo\r\n");
}

namespace copies {
std::string log, errors;
void Log(const ShortStr& record, std::uint8_t) { log += record.Std().substr(20) + "|"; }
void Errors(const ShortStr& record) { errors += record.Std().substr(20) + "|"; }
}  // namespace copies

// The console shows a text in the user's language; the log and the error
// log keep its English, whatever the language.
TEST_F(Captured, CopiesKeepTheEnglishOfATranslatedText) {
  copies::log.clear(), copies::errors.clear();
  SetCopySinks(copies::Log, copies::Errors);
  w_.LogCopy = w_.ErrorCopy = true;
  w_.Heading(Text("Loading data files...", "Load"));
  w_.Notice(Text("Or not...", "Not"));
  w_.ErrorLine(Text("Wrong file name!", "Wrong"));
  w_.Info(Text("Work done.", "Done"));
  SetCopySinks(nullptr, nullptr);
  EXPECT_EQ(out_, "Load\r\nNot\r\nWrong\r\nDone\r\n");
  EXPECT_EQ(copies::log, "Loading data files...|Or not...|Wrong file name!|");
  EXPECT_EQ(copies::errors, "Wrong file name!|");
}

TEST_F(Captured, ColourStaysAfterAMessage) {
  w_.ErrorLine("e");
  EXPECT_EQ(console::TextAttribute & 0x0F, 12);
  w_.PlainLine("p");
  EXPECT_EQ(console::TextAttribute & 0x0F, 12);
  w_.Heading("h");
  EXPECT_EQ(console::TextAttribute & 0x0F, 15);
  console::SetTextColour(7);
  EXPECT_EQ(console::TextAttribute & 0x0F, 7);
}

TEST_F(Captured, SetTextColourKeepsTheBackground) {
  console::TextAttribute = 0x47;
  console::SetTextColour(0x1F);
  EXPECT_EQ(console::TextAttribute, 0x4F);
  console::TextAttribute = 0x07;
}

struct ProgressCase {
  int done, total;
  std::string head;
  int blocks;
};

TEST_F(Captured, ProgressLine) {
  const ProgressCase cases[] = {
      {5, 10, "\r 50% [  5/ 10]", 25},
      {1, 3, "\r 33% [  1/  3]", 16},
      {0, 0, "\r  0% [  0/  0]", 0},
      {15, 10, "\r100% [ 15/ 10]", 50},
      {-4, 10, "\r  0% [ -4/ 10]", 0},
  };
  for (const ProgressCase& c : cases) {
    out_.clear();
    w_.Progress(c.done, c.total);
    std::string bar = "   " + std::string(static_cast<std::size_t>(c.blocks), '\xFE') +
                      std::string(static_cast<std::size_t>(50 - c.blocks), '\xF9');
    EXPECT_EQ(out_, c.head + bar) << c.done << "/" << c.total;
  }
}

TEST(Timing, DelayLastsAtLeastItsTime) {
  auto start = std::chrono::steady_clock::now();
  timing::DelayMs(540);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 540);
  EXPECT_LT(ms, 1500);  // loose: a busy machine may delay the wake-up
  start = std::chrono::steady_clock::now();
  timing::DelayMs(0);
  double zero = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(zero, 50);
  double t = 0;
  EXPECT_EQ(timing::TimerSeconds(t, false), 0);
  EXPECT_GE(timing::TimerSeconds(t, true), 0);
}

}  // namespace
}  // namespace writer
