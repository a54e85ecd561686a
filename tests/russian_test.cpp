// Under a Russian locale the console speaks Russian in the locale's charset;
// under any other it speaks English. The files the program writes and its
// exit codes are the same in both languages.
#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

const std::string kReply = Crlf({"Hello, Vasily!", " VP> Vasily", "Text."});

class Russian : public ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting(Cp("Вася"));
  }
  // The environment of a locale, made for the test when the system lacks it
  // (Wine takes the name alone); empty when it cannot be made.
  std::string Locale(const std::string& name, const std::string& charset) {
    if (UnderWine()) return "LC_ALL=" + name + " ";
    const RunResult made = Shell("mkdir -p loc && localedef -i ru_RU -f " + charset + " loc/" + name);
    if (made.exitCode != 0) return "";
    return "LOCPATH=loc LC_ALL=" + name + " ";
  }
  RunResult Process(const std::string& args, const std::string& environment) {
    WriteFile(dir() / "reply.txt", kReply);
    return Run("salvetor", args, "/dev/null", environment);
  }
  static bool Has(const RunResult& r, const std::string& text) { return r.out.find(text) != std::string::npos; }
};

TEST_F(Russian, AUtf8LocaleGetsEveryLineInRussianAndTheSameFiles) {
  const std::string ru = Locale("ru_RU.UTF-8", "UTF-8");
  if (ru.empty()) GTEST_SKIP() << "no Russian locale can be made here";
  // English in the same locale (and so the same charsets) first; Windows
  // takes the language of its interface, which the locale sets under Wine.
  const RunResult english = Process("reply.txt /Key-", UnderWine() ? "LC_ALL=C " : ru + "LANGUAGE=en ");
  const std::string result = ReadFile(dir() / "reply.txt"), backup = ReadFile(dir() / "reply.~txt");
  EXPECT_TRUE(Has(english, Console({"Work done."}))) << english.out;
  const RunResult r = Process("reply.txt /Key-", ru);
  EXPECT_EQ(r.exitCode, english.exitCode);
  EXPECT_TRUE(Has(r, Console({"Размер начала=12, размер конца=12", "Загрузка файлов данных..."}))) << r.out;
  EXPECT_TRUE(Has(r, Console({"Замена имён...", "Заменено: Vasily на Вася!", "Удалено \" VP> Vasily\" из-за \"Vasily\"!",
                              "--------------------------", "Всего: замен 1!", "Работа завершена.", "",
                              "Нормальное завершение. Код завершения: 0."})))
      << r.out;
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), result);
  EXPECT_EQ(ReadFile(dir() / "reply.~txt"), backup);
  // The same lines in the same order, one language for the other.
  auto lines = [](const std::string& out) { return std::count(out.begin(), out.end(), '\n'); };
  EXPECT_EQ(lines(r.out), lines(english.out));
}

TEST_F(Russian, AKoi8rLocaleGetsRussianInKoi8r) {
  SKIP_UNDER_WINE("the POSIX locale's charset (Windows keeps its console)");
  const std::string ru = Locale("ru_RU.KOI8-R", "KOI8-R");
  if (ru.empty()) GTEST_SKIP() << "no KOI8-R locale can be made here";
  RunResult r = Process("reply.txt /Key-", ru);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r, Iconv("Кодировка: KOI8-R\nЗамена имён...\nЗаменено: Vasily на Вася!\n", "UTF-8", "KOI8-R")))
      << r.out;
  r = Process("--help", ru);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r, Iconv("Использование: salvetor [КЛЮЧ]... ОТВЕТ [ВЫХОД]\n", "UTF-8", "KOI8-R"))) << r.out;
  EXPECT_TRUE(Has(r, Iconv("  -h, --help        показать эту справку и выйти\n", "UTF-8", "KOI8-R"))) << r.out;
}

TEST_F(Russian, ScreensAndRefusalsAreRussianWithTheirExitCodes) {
  const std::string ru = Locale("ru_RU.UTF-8", "UTF-8");
  if (ru.empty()) GTEST_SKIP() << "no Russian locale can be made here";
  RunResult r = Process("missing.txt /Key-", ru);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r, Con("Неверное имя файла!") + Eol())) << r.out;
  EXPECT_TRUE(Has(r, Con("/SN             - сохранять полное имя (с фамилией)") + Eol())) << r.out;
  r = Process("/A", ru);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r, Con("Спасибо, что пользуетесь этой программой!") + Eol())) << r.out;
  r = Process("--dryrun", ru);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Has(r, Con("Неизвестный ключ --dryrun!") + Eol())) << r.out;
}

// As gettext chooses: LANGUAGE comes first but only outside the C locale,
// and English in it ends the search.
TEST_F(Russian, TheLanguageIsChosenAsGnuProgramsChooseIt) {
  SKIP_UNDER_WINE("the POSIX locale variables (Windows takes its interface language)");
  struct Case {
    const char* environment;
    bool russian;
  };
  const Case cases[] = {
      {"LC_ALL=C LANGUAGE=ru ", false},
      {"LC_ALL=C.UTF-8 LANG=ru_RU.UTF-8 ", false},
      {"LC_ALL= LC_MESSAGES=ru_RU.UTF-8 ", true},
      {"LC_ALL= LANG=ru_RU.UTF-8 ", true},
      {"LC_ALL=en_US.UTF-8 LANGUAGE=ru:en ", true},
      {"LC_ALL=ru_RU.UTF-8 LANGUAGE=en:ru ", false},
      {"LC_ALL=ru_RU.UTF-8 LANGUAGE=de:ru ", true},
      {"LC_ALL=de_DE.UTF-8 ", false},
  };
  for (const Case& c : cases) {
    const RunResult r = Process("reply.txt /Key-", std::string("unset LANGUAGE LC_MESSAGES LANG; ") + c.environment);
    EXPECT_EQ(Has(r, "Работа завершена.\n"), c.russian) << c.environment << r.out;
    EXPECT_EQ(Has(r, "Work done.\n"), !c.russian) << c.environment;
  }
}

}  // namespace
