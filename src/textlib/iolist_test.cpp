#include "textlib/iolist.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/tempdir.h"
#include "textlib/lines_testing.h"

namespace iolist {
namespace {

namespace fs = std::filesystem;
using namespace files;

class TextFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TempFolder(std::string("io-") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> Load(const std::string& name, int* result = nullptr,
                                std::uint32_t options = optRead) {
    List* list = nullptr;
    int r = TextLoad(Path(name), list, options);
    if (result) *result = r;
    std::vector<std::string> out;
    for (int i = 1; i <= lines::LineCount(list); ++i) out.push_back(lines::LineAt(list, i).Std());
    listman::ListDisposeAll(list);
    return out;
  }
  std::vector<std::string> Leftovers() {
    std::vector<std::string> v;
    for (auto& e : fs::directory_iterator(dir_)) {
      std::string n = e.path().filename().string();
      if (n.find(".salvetor-") != std::string::npos) v.push_back(n);
    }
    return v;
  }
  fs::path dir_;
};

struct ReadCase {
  std::string bytes;
  std::vector<std::string> lines;
};

TEST_F(TextFiles, ReadingRules) {
  const std::string long300(300, 'x');
  const ReadCase cases[] = {
      {"", {}},
      {"\x1A"
       "abc\r\n",
       {"\x1A"
        "abc"}},
      {"\x1A\r\n\x1A", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nlast", {"a", "last"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\nb\nc\n", {"a", "b", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\n\rb\r\n", {"a", "", "b"}},
      {"ab\x1A"
       "cd\r\nef",
       {"ab\x1A"
        "cd",
        "ef"}},
      {"ab\r\n\x1A", {"ab"}},
      {"ab\x1A\x1A\r\n\x1A\n", {"ab"}},
      {long300 + "\r\nnext", {std::string(255, 'x'), "next"}},
      {std::string("t\tb\0c", 5) + "\r\n", {std::string("t\tb\0c", 5)}},
  };
  for (const ReadCase& c : cases) {
    Put("r.txt", c.bytes);
    int r = -1;
    EXPECT_EQ(Load("r.txt", &r), c.lines) << c.bytes;
    EXPECT_EQ(r, 0);
  }
}

TEST_F(TextFiles, WrappedLoadKeepsEveryCharacter) {
  const std::string words = [] {
    std::string w;
    for (int i = 0; i < 60; ++i) w += "word" + std::to_string(i % 10) + " ";
    return w + "end";  // 363 characters
  }();
  const std::string unbroken(600, 'u');
  const std::string quoted = " SK>> " + words;
  const ReadCase cases[] = {
      {words + "\n", {words.substr(0, 252), words.substr(252)}},
      {unbroken, {unbroken.substr(0, 255), unbroken.substr(255, 255), unbroken.substr(510)}},
      {quoted + "\r\n", {quoted.substr(0, 252), " SK>> " + quoted.substr(252)}},
      // Only blanks inside the quote prefix: split after exactly 255.
      {" AB> " + unbroken,
       {" AB> " + unbroken.substr(0, 250), " AB> " + unbroken.substr(250, 250),
        " AB> " + unbroken.substr(500)}},
      // An arrow is no quote mark: its blanks are split points, the pieces get no prefix.
      {"x => " + unbroken,
       {"x => ", unbroken.substr(0, 255), unbroken.substr(255, 255), unbroken.substr(510)}},
  };
  for (const ReadCase& c : cases) {
    Put("w.txt", c.bytes);
    int r = -1;
    auto got = Load("w.txt", &r, optRead | optWrap);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(got, c.lines) << c.bytes;
    for (const std::string& piece : got) EXPECT_LE(piece.size(), 255u);
  }
}

TEST_F(TextFiles, FirstLineEndIsReported) {
  const std::pair<std::string, textlines::LineEnd> cases[] = {
      {"a\nb\r\n", textlines::LineEnd::Lf},
      {"a\rb\n", textlines::LineEnd::Cr},
      {"a\r\nb\n", textlines::LineEnd::CrLf},
      {"no end", textlines::LineEnd::CrLf},
  };
  for (const auto& [bytes, ending] : cases) {
    Put("e.txt", bytes);
    List* list = nullptr;
    TextFormat format;
    format.Ending = textlines::LineEnd::Cr;
    EXPECT_EQ(TextLoad(Path("e.txt"), list, optRead, &format), 0);
    EXPECT_EQ(format.Ending, ending) << bytes;
    listman::ListDisposeAll(list);
  }
}

TEST_F(TextFiles, MoreThan65535LinesLoadTheFirst65535) {
  std::string text;
  for (int i = 1; i <= 65600; ++i) text += std::to_string(i) + "\r\n";
  Put("big.txt", text);
  int r = -1;
  auto got = Load("big.txt", &r);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(got.size(), 65535u);
  EXPECT_EQ(got.back(), "65535");
  // The user's own text is refused whole rather than cut.
  EXPECT_TRUE(Load("big.txt", &r, optRead | optWrap).empty());
  EXPECT_EQ(r, kErrTooManyLines);
  Put("wrap.txt", std::string(65534, '\n') + std::string(300, 'x'));
  EXPECT_TRUE(Load("wrap.txt", &r, optRead | optWrap).empty());
  EXPECT_EQ(r, kErrTooManyLines);
  Put("full.txt", std::string(65535, '\n'));
  EXPECT_EQ(Load("full.txt", &r, optRead | optWrap).size(), 65535u);
  EXPECT_EQ(r, 0);
}

TEST_F(TextFiles, LoadFailuresLeaveAnEmptyList) {
  List* list = nullptr;
  EXPECT_EQ(TextLoad("", list, optRead), 3);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count, 0);
  listman::ListDisposeAll(list);
  EXPECT_EQ(TextLoad(Path("missing.txt"), list, optRead), -2);
  EXPECT_EQ(list->Count, 0);
  listman::ListDisposeAll(list);
  EXPECT_EQ(TextLoad(Path("nodir/missing.txt"), list, optRead), -3);
  listman::ListDisposeAll(list);
  fs::create_directories(dir_ / "sub");
  EXPECT_EQ(TextLoad(Path("sub"), list, optRead), -5);
  listman::ListDisposeAll(list);
  EXPECT_EQ(OpenFileCount(), 0);
}

// Lines stored where they lie in the text's bytes live until the last of
// them is freed, replaced, deleted or copied (the sanitizers watch).
TEST_F(TextFiles, LinesStoredInPlaceLiveUntilTheLastIsFreed) {
  List* list = nullptr;
  TextFormat format;
  ASSERT_EQ(TextParse("ab\ncde\n\nf", list, optRead, format), 0);
  lines::LineSet(list, 1, ShortStr("new"));
  listman::ListDelete(list, 2);
  List* copy = nullptr;
  listman::ListCopy(list, copy);
  listman::ListDisposeAll(list);
  EXPECT_EQ(lines::LineTexts(copy), (std::vector<std::string>{"new", "", "f"}));
  listman::ListDisposeAll(copy);
  ASSERT_EQ(TextParse("", list, optRead, format), 0);  // nothing stored: the bytes go at once
  listman::ListDisposeAll(list);
}

// Every failure comes back as the result, and nothing is left for a caller
// to fetch and clear.
TEST_F(TextFiles, FailuresAreResultsAndLeaveNothingPending) {
  fs::create_directories(dir_ / "sub");
  List* list = nullptr;
  listman::ListCreate(list);
  lines::LineAdd(list, "a line");
  struct Case {
    const char* what;
    int got, want;
  };
  std::string bytes;
  File file;
  const int openMissing = FileOpen(file, 0, Path("missing.txt"), optRead);
  const int writeFolder = TextWrite(Path("sub"), list, "", optRewrite | optBackup);
  const Case cases[] = {
      {"open a missing file", openMissing, 2},
      {"read a missing file", TextRead(Path("missing.txt"), bytes), -2},
      {"read a folder", TextRead(Path("sub"), bytes), -5},
      {"write over a folder", writeFolder, -5},
      {"erase a missing file", FileErase(Path("missing.txt")), 2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(platform::IoResult(), 0);
  EXPECT_EQ(OpenFileCount(), 0);
  listman::ListDisposeAll(list);
}

TEST_F(TextFiles, LoadTransformationsInOrder) {
  Put("t.txt", "  Text ; note\r\n;comment\r\n\r\n   \r\nabc\r\n");
  EXPECT_EQ(Load("t.txt", nullptr, optRead | optComments),
            (std::vector<std::string>{"  Text ", "   ", "abc"}));
  EXPECT_EQ(Load("t.txt", nullptr, optRead | optComments | optTrimRight | optTrimLeft),
            (std::vector<std::string>{"Text ", "abc"}));  // trims come before the cut
  EXPECT_EQ(Load("t.txt", nullptr, optRead | optUpper | optSkipEmpty),
            (std::vector<std::string>{"  TEXT ; NOTE", ";COMMENT", "   ", "ABC"}));
}

TEST_F(TextFiles, ExistenceTests) {
  Put("f.txt", "x");
  fs::create_directories(dir_ / "d");
  EXPECT_TRUE(FileExists(Path("f.txt")));
  EXPECT_FALSE(FileExists(Path("d")));
  EXPECT_FALSE(FileExists(Path("none")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirExists(Path("d")));
  EXPECT_FALSE(DirExists(Path("f.txt")));
  EXPECT_EQ(platform::IoResult(), 0);
}

TEST_F(TextFiles, RenameNeverReplacesAndCreatesTheDirectory) {
  Put("a.txt", "a");
  Put("b.txt", "b");
  EXPECT_EQ(FileMoveTo(Path("a.txt"), Path("b.txt")), 5);
  EXPECT_EQ(Get("b.txt"), "b");
  EXPECT_EQ(FileMoveTo(Path("a.txt"), Path("new/dir/a.txt")), 0);
  EXPECT_EQ(Get("new/dir/a.txt"), "a");
  EXPECT_EQ(FileErase(Path("b.txt")), 0);
  EXPECT_EQ(FileErase(Path("b.txt")), 2);
}

TEST_F(TextFiles, BackupNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"reply.txt", "reply.~txt"},
      {"page.html", "page.~html"},
      {"notes.a.txt", "notes.a.~txt"},
      {"notes.b.txt", "notes.b.~txt"},
      {"notes", "notes.~"},
      {"/x.y/REPLY.TXT", "/x.y/REPLY.~TXT"},
      {"/x.y/notes", "/x.y/notes.~"},
      {".profile", ".~profile"},
  };
  for (const auto& [name, backup] : cases) EXPECT_EQ(BackupName(name), backup) << name;
}

TEST_F(TextFiles, BackupNameDiffersFromTheNameAndFromOtherNamesBackups) {
  std::map<std::string, std::string> seen;  // backup -> name
  for (std::size_t length = 1; length <= 300; ++length) {
    for (const std::string& name :
         {std::string(length, 'n'), std::string(length - 1, 'n') + ".",
          "d/" + std::string(length, 'x') + ".t", std::string(length, 'a') + ".b.c"}) {
      const std::string backup = BackupName(name);
      EXPECT_NE(backup, name);
      auto [it, added] = seen.emplace(backup, name);
      // "notes" and "notes." are the one pair that share a backup.
      if (!added) {
        EXPECT_EQ(it->second + ".", name) << backup;
      }
    }
  }
}

TEST_F(TextFiles, AppendCreatesOrFollowsTheTextBeforeCtrlZ) {
  List* list = lines::MakeLines({"one", "two"});
  EXPECT_EQ(TextWrite(Path("log.txt"), list, "", 0), 0);
  EXPECT_EQ(Get("log.txt"), "one\r\ntwo\r\n");
  Put("z.txt", "old\r\n\x1A\x1A");
  EXPECT_EQ(TextWrite(Path("z.txt"), list, "> ", 0), 0);
  EXPECT_EQ(Get("z.txt"), "old\r\n> one\r\n> two\r\n");
  List* empty = lines::MakeLines({});
  Put("e.txt", "keep\x1A");
  EXPECT_EQ(TextWrite(Path("e.txt"), empty, "", 0), 0);
  EXPECT_EQ(Get("e.txt"), "keep");
  EXPECT_EQ(TextWrite(Path("none.txt"), empty, "", 0), 0);
  EXPECT_TRUE(fs::exists(dir_ / "none.txt"));
  EXPECT_EQ(TextWrite(Path("x.txt"), nullptr, "", 0), 204);
  listman::ListDisposeAll(list);
  listman::ListDisposeAll(empty);
}

TEST_F(TextFiles, RewriteWithBackupReplacesTheOlderBackup) {
  Put("reply.txt", "current\r\n");
  Put("reply.~txt", "older\r\n");
  fs::permissions(dir_ / "reply.txt",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  List* list = lines::MakeLines({"new"});
  EXPECT_EQ(TextWrite(Path("reply.txt"), list, "", optRewrite | optBackup), 0);
  EXPECT_EQ(Get("reply.txt"), "new\r\n");
  EXPECT_EQ(Get("reply.~txt"), "current\r\n");
  if (!platform::NativePathsAreWindows()) {  // POSIX permission bits
    EXPECT_EQ(fs::status(dir_ / "reply.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  }
  EXPECT_TRUE(Leftovers().empty());
  List* empty = lines::MakeLines({});
  EXPECT_EQ(TextWrite(Path("reply.txt"), empty, "", optRewrite | optBackup), 0);
  EXPECT_EQ(Get("reply.txt"), "");
  EXPECT_EQ(Get("reply.~txt"), "new\r\n");
  // No old file: an older backup is left alone.
  Put("solo.~txt", "untouched");
  EXPECT_EQ(TextWrite(Path("solo.txt"), list, "", optRewrite | optBackup), 0);
  EXPECT_EQ(Get("solo.~txt"), "untouched");
  listman::ListDisposeAll(list);
  listman::ListDisposeAll(empty);
}

TEST_F(TextFiles, RewriteOntoADirectoryFailsAndMovesNothing) {
  fs::create_directories(dir_ / "out.txt");
  List* list = lines::MakeLines({"x"});
  EXPECT_EQ(TextWrite(Path("out.txt"), list, "", optRewrite | optBackup), -5);
  EXPECT_FALSE(fs::exists(dir_ / "out.~txt"));
  EXPECT_TRUE(fs::is_directory(dir_ / "out.txt"));
  EXPECT_TRUE(Leftovers().empty());
  listman::ListDisposeAll(list);
}

TEST_F(TextFiles, ListsBeyond65535LinesAreWrittenWhole) {
  List* list = nullptr;
  listman::ListCreate(list);
  for (int i = 0; i < 65535; ++i) lines::LineAdd(list, "l");
  lines::LineInsert(list, "top", 1);
  lines::LineInsert(list, "top2", 1);
  ASSERT_EQ(list->Count, 65537);
  EXPECT_EQ(TextWrite(Path("full.txt"), list, "", optRewrite | optBackup), 0);
  EXPECT_EQ(fs::file_size(dir_ / "full.txt"), 65535u * 3 + 5 + 6);
  listman::ListDisposeAll(list);
}

TEST_F(TextFiles, CacheReadsTheDiskOncePerName) {
  TextCacheInit();
  Put("msg.RUS", "CBrk,text\r\n");
  CacheEntry* first = nullptr;
  EXPECT_EQ(TextCacheLoad(Path("msg.RUS"), optRead, first), 0);
  fs::remove(dir_ / "msg.RUS");
  CacheEntry* again = nullptr;
  EXPECT_EQ(TextCacheLoad(Path("MSG.rus"), optRead, again), 0);
  EXPECT_EQ(first, again);
  List* list = nullptr;
  EXPECT_EQ(TextLoad(Path("msg.rus"), list, optRead), 0);
  ASSERT_EQ(list->Count, 1);
  EXPECT_EQ(lines::LineAt(list, 1).Std(), "CBrk,text");
  listman::ListDisposeAll(list);
  CacheEntry* missing = nullptr;
  EXPECT_EQ(TextCacheLoad(Path("none.RUS"), optRead, missing), -2);
  EXPECT_TRUE(TextCacheFind(Path("NONE.rus"), missing));
  EXPECT_EQ(missing->Lines->Count, 0);
}

}  // namespace
}  // namespace iolist
