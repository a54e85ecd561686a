// Replies in UTF-8, KOI8-R and CP1251 get the changes a CP866 reply gets and
// nothing else: every other byte comes back as it was.
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

class Charsets : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting(Cp("Вася"));
    WriteFile(dir() / "filter.dat", Crlf({"\"> Hello\"", "\"> Bye\""}));
    WriteFile(dir() / "macro.dat", Crlf({Cp("{btw},кстати")}));
  }
  // Runs on the reply bytes; the result comes back in result_.
  RunResult Process(const std::string& bytes, const std::string& options = "",
                    const std::string& prefix = "", int exitCode = 0) {
    WriteFile(dir() / "reply.txt", bytes);
    RunResult r = Run("salvetor", "reply.txt /F /Key- " + options, "/dev/null", prefix);
    EXPECT_EQ(r.exitCode, exitCode);
    result_ = ReadFile(dir() / "reply.txt");
    return r;
  }
  std::string result_;
};

// A reply and what every stage makes of it, in UTF-8; the letters swapped
// are Н and р, and nothing else changes.
const std::vector<std::string> kUtf8Reply = {
    "Hello, Vasily!", " AB> Hello, All!", " AB> Нет, это «эхо» — 😀 €", "Ответ: юла, р {btw}.",
    "«»", " AB> Bye."};
const std::vector<std::string> kUtf8Result = {
    kKludge, "Hello, Вася!", " AB> Hет, это «эхо» — 😀 €", "Ответ: юла, p кстати.", "«»"};

TEST_F(Charsets, Utf8ReplyKeepsEveryCharacterCp866Lacks) {
  RunResult r = Process(Lf(kUtf8Reply));
  EXPECT_EQ(result_, Lf(kUtf8Result));
  EXPECT_NE(r.out.find("Loading data files..." + Eol() + "Charset: UTF-8" + Eol()), std::string::npos) << r.out;
  EXPECT_EQ(Iconv(result_, "UTF-8", "UTF-8"), result_);  // still valid UTF-8
}

// KOI8-R lacks « » — and the emoji; ≈ and ÷ are its own, │ a box character.
const std::vector<std::string> kKoiReply = {"Hello, Vasily!", " AB> Hello, All!", " AB> Нет, это эхо ≈ 20° ÷ │",
                                            "Юла, р {btw}."};
const std::vector<std::string> kKoiResult = {kKludge, "Hello, Вася!", " AB> Hет, это эхо ≈ 20° ÷ │",
                                             "Юла, p кстати."};

TEST_F(Charsets, Koi8rByOptionByControlLineAndByLocale) {
  SKIP_UNDER_WINE("the locale names the charset (Windows takes the OEM code page)");
  const std::string reply = Iconv(Lf(kKoiReply), "UTF-8", "KOI8-R");
  const std::string want = Iconv(Lf(kKoiResult), "UTF-8", "KOI8-R");
  RunResult r = Process(reply, "/CS=koi8-r");
  EXPECT_EQ(result_, want);
  EXPECT_NE(r.out.find("Charset: KOI8-R" + Eol()), std::string::npos);

  const std::string chrs = "\x01" "CHRS: KOI8-R 2\n";
  Process(chrs + reply);
  EXPECT_EQ(result_, Lf({kKludge}) + chrs + want.substr(want.find('\n') + 1));

  // The locale: a KOI8-R locale made for the test alone.
  RunResult made = Shell("mkdir -p loc && localedef -i ru_RU -f KOI8-R loc/ru_RU.KOI8-R");
  if (made.exitCode != 0) GTEST_SKIP() << "no KOI8-R locale can be made here (localedef: " << made.err << ")";
  Process(reply, "", "LOCPATH=loc LC_ALL=ru_RU.KOI8-R ");
  EXPECT_EQ(result_, want);
}

TEST_F(Charsets, Cp1251KeepsItsOwnSigns) {
  const std::vector<std::string> reply = {"Hello, Vasily!", "Нет, это «эхо» — 5 €, Юла, р."};
  const std::vector<std::string> result = {kKludge, "Hello, Вася!", "Hет, это «эхо» — 5 €, Юла, p."};
  Process(Iconv(Crlf(reply), "UTF-8", "CP1251"), "/CS=1251");
  EXPECT_EQ(result_, Iconv(Crlf(result), "UTF-8", "CP1251"));
}

TEST_F(Charsets, InvalidUtf8BytesComeBackInTheirPlace) {
  const std::string bad = "\xff\xfe bad \xc3( \xed\xa0\x80";
  Process(Lf({"Hello, Vasily!", "Нет " + bad}), "/CS=UTF-8");
  EXPECT_EQ(result_, Lf({kKludge, "Hello, Вася!", "Hет " + bad}));
}

TEST_F(Charsets, UnknownCharsetLeavesTheReplyUntouched) {
  RunResult r = Process(Lf(kUtf8Reply), "/CS=EBCDIC", "", 1);
  EXPECT_NE(r.out.find("Loading data files..." + Eol() + "Unknown charset EBCDIC!" + Eol()), std::string::npos) << r.out;
  EXPECT_EQ(result_, Lf(kUtf8Reply));
  EXPECT_FALSE(fs::exists(dir() / "reply.~txt"));
}

TEST_F(Charsets, Utf8TablesServeCp866AndUtf8Replies) {
  WriteFile(dir() / "names.dat", "Vasily,Вася\n");
  WriteFile(dir() / "filter.dat", "\"> Пока\"\n");
  WriteFile(dir() / "macro.dat", "{q},«цитата» — конец\n");
  const std::vector<std::string> reply = {"Hello, Vasily!", " AB> Пока, все!", "Вот {q}."};
  Process(Crlf({Cp(reply[0]), Cp(reply[1]), Cp(reply[2])}));
  // A CP866 reply cannot hold « » —: they come out as '?'.
  EXPECT_EQ(result_, Crlf({kKludge, Cp("Hello, Вася!"), Cp("Вот ?цитата? ? конец.")}));
  Process(Lf(reply));
  EXPECT_EQ(result_, Lf({kKludge, "Hello, Вася!", "Вот «цитата» — конец."}));
}

}  // namespace
