#include "textlib/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"

namespace paths {
namespace {

namespace fs = std::filesystem;

struct SplitCase {
  std::string path, dir, name, ext;
};

TEST(SplitPathTest, WindowsRules) {
  const SplitCase cases[] = {
      {"name", "", "name", ""},
      {"C:\\DIR.X\\FILE", "C:\\DIR.X\\", "FILE", ""},
      {"C:\\A\\x.tar.gz", "C:\\A\\", "x", ".gz"},
      {"C:x.txt", "C:", "x", ".txt"},
      {"a/b\\c.d", "a/b\\", "c", ".d"},
  };
  for (const SplitCase& c : cases) {
    PathParts p = SplitPath(c.path, Style::Windows);
    EXPECT_EQ(p.Dir.Std(), c.dir) << c.path;
    EXPECT_EQ(p.Name.Std(), c.name) << c.path;
    EXPECT_EQ(p.Ext.Std(), c.ext) << c.path;
  }
}

TEST(SplitPathTest, PosixSeparatesAtSlashOnly) {
  PathParts p = SplitPath("/home/u/C:\\odd.name.txt", Style::Posix);
  EXPECT_EQ(p.Dir.Std(), "/home/u/");
  EXPECT_EQ(p.Name.Std(), "C:\\odd");
  EXPECT_EQ(p.Ext.Std(), ".txt");
  EXPECT_EQ(SplitPath("/a.b/file", Style::Posix).Ext.Std(), "");
}

TEST(ChangeExtTest, ExtensionRules) {
  EXPECT_EQ(ChangeExt("C:\\BIN\\PROG.EXE", "cfg", Style::Windows).Std(), "C:\\BIN\\PROG.cfg");
  EXPECT_EQ(ChangeExt("C:\\BIN\\PROG.EXE", ".cfg", Style::Windows).Std(), "C:\\BIN\\PROG.cfg");
  EXPECT_EQ(ChangeExt("a.b.c", ".x").Std(), "a.x");
  EXPECT_EQ(ChangeExt("report.old.txt", ".log").Std(), "report.log");
  EXPECT_EQ(ChangeExt("/usr/lib/salvetor/salvetor", ".cfg").Std(), "/usr/lib/salvetor/salvetor.cfg");
  ShortStr longExt = ChangeExt("f", std::string(40, 'e'));
  EXPECT_EQ(longExt.Std(), "f." + std::string(35, 'e'));
  EXPECT_EQ(ExtOf("x/y.Txt").Std(), ".Txt");
}

TEST(DirOfTest, TrailingSeparator) {
  EXPECT_EQ(DirOf("x.txt").Std(), "");
  EXPECT_EQ(DirOf("C:x.txt", Style::Windows).Std(), "C:\\");
  EXPECT_EQ(DirOf("/a/b/c.txt").Std(), "/a/b/");
  EXPECT_EQ(AddBackslash("", Style::Windows).Std(), "");
  EXPECT_EQ(AddBackslash("C:", Style::Windows).Std(), "C:\\");
  EXPECT_EQ(AddBackslash("C:\\", Style::Windows).Std(), "C:\\");
  EXPECT_EQ(AddBackslash("/a").Std(), "/a/");
  EXPECT_EQ(AddBackslash("/a/").Std(), "/a/");
}

TEST(LengthLimits, PathsAndNamesAreCut) {
  std::string longName(300, 'n');
  PathParts p = SplitPath(longName + ".txt");
  EXPECT_EQ(p.Name.len, 219);
  EXPECT_EQ(ChangeExt(std::string(260, 'a'), ".x").len, 219 + 2);
  EXPECT_EQ(ChangeExt(std::string(250, 'd') + "/name", ".x").len, 252);
  EXPECT_LE(AddBackslash(std::string(255, 'a')).len, 252);
}

std::vector<std::string> Prefixes(const std::string& path, Style style) {
  ShortStr out[64];
  int n = MakePathPrefixes(path, out, 64, style);
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(out[i].Std());
  return v;
}

TEST(MakePathTest, PrefixWalkOfBothStyles) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Prefixes("C:\\A\\B\\C\\", Style::Windows), (V{"C:", "C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}));
  EXPECT_EQ(Prefixes("\\A\\B", Style::Windows), V{});
  EXPECT_EQ(Prefixes("X\\Y\\", Style::Windows), (V{"X", "X\\Y"}));
  EXPECT_EQ(Prefixes("/a/b/", Style::Posix), (V{"/a", "/a/b"}));
  EXPECT_EQ(Prefixes("x/y", Style::Posix), (V{"x", "x/y"}));
  EXPECT_EQ(Prefixes("", Style::Posix), V{});
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("salvetor-paths-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    old_ = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  fs::path dir_, old_;
};

TEST_F(TempDir, MakePathCreatesExactlyTheMissingDirectories) {
  fs::create_directories(dir_ / "A");
  MakePath((dir_ / "A" / "B" / "C").string() + "/");
  EXPECT_TRUE(fs::is_directory(dir_ / "A" / "B" / "C"));
  EXPECT_EQ(fs::current_path(), old_);
  fs::current_path(dir_);
  MakePath("X/Y/");
  EXPECT_TRUE(fs::is_directory(dir_ / "X" / "Y"));
  MakePath("");
  EXPECT_EQ(platform::IoResult(), 0);
  fs::create_directories(dir_ / "ro");
  fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
  MakePath((dir_ / "ro" / "sub").string());  // may fail; leaves nothing pending
  EXPECT_EQ(platform::IoResult(), 0);
  fs::permissions(dir_ / "ro", fs::perms::owner_all);
}

TEST_F(TempDir, ProgramAndCurrentDirectory) {
  ShortStr self = ProgramPath();
  EXPECT_EQ(self.At(1), '/');
  EXPECT_TRUE(fs::exists(self.Std()));
  ChangeDir(ShortStr(dir_.string() + "/"));
  EXPECT_EQ(CurrentDir().Std(), fs::canonical(dir_).string() + "/");
  ChangeDir("/no/such/dir");
  EXPECT_EQ(platform::IoResult(), 3);  // a directory of the path is missing
  ChangeDir(ShortStr(dir_.string() + "/missing"));
  EXPECT_EQ(platform::IoResult(), 2);
}

}  // namespace
}  // namespace paths
