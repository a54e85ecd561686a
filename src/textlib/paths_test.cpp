#include "textlib/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/tempdir.h"

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
    EXPECT_EQ(p.Dir, c.dir) << c.path;
    EXPECT_EQ(p.Name, c.name) << c.path;
    EXPECT_EQ(p.Ext, c.ext) << c.path;
  }
}

TEST(SplitPathTest, PosixSeparatesAtSlashOnly) {
  PathParts p = SplitPath("/home/u/C:\\odd.name.txt", Style::Posix);
  EXPECT_EQ(p.Dir, "/home/u/");
  EXPECT_EQ(p.Name, "C:\\odd");
  EXPECT_EQ(p.Ext, ".txt");
  EXPECT_EQ(SplitPath("/a.b/file", Style::Posix).Ext, "");
}

TEST(ChangeExtTest, ExtensionRules) {
  EXPECT_EQ(ChangeExt("C:\\BIN\\PROG.EXE", "cfg", Style::Windows), "C:\\BIN\\PROG.cfg");
  EXPECT_EQ(ChangeExt("C:\\BIN\\PROG.EXE", ".cfg", Style::Windows), "C:\\BIN\\PROG.cfg");
  EXPECT_EQ(ChangeExt("a.b.c", ".x"), "a.x");
  EXPECT_EQ(ChangeExt("report.old.txt", ".log"), "report.log");
  EXPECT_EQ(ChangeExt("/usr/lib/salvetor/salvetor", ".cfg"), "/usr/lib/salvetor/salvetor.cfg");
  EXPECT_EQ(ChangeExt("f", std::string(40, 'e')), "f." + std::string(40, 'e'));
  EXPECT_EQ(ExtOf("x/y.Txt"), ".Txt");
}

TEST(DirOfTest, TrailingSeparator) {
  EXPECT_EQ(DirOf("x.txt"), "");
  EXPECT_EQ(DirOf("C:x.txt", Style::Windows), "C:\\");
  EXPECT_EQ(DirOf("/a/b/c.txt"), "/a/b/");
  EXPECT_EQ(AddBackslash("", Style::Windows), "");
  EXPECT_EQ(AddBackslash("C:", Style::Windows), "C:\\");
  EXPECT_EQ(AddBackslash("C:\\", Style::Windows), "C:\\");
  EXPECT_EQ(AddBackslash("/a", Style::Posix), "/a/");
  EXPECT_EQ(AddBackslash("/a/", Style::Posix), "/a/");
}

TEST(LengthLimits, PathsAreNeverCut) {
  const std::string longName(300, 'n');
  PathParts p = SplitPath("/d/" + longName + ".txt");
  EXPECT_EQ(p.Name, longName);
  EXPECT_EQ(ChangeExt(std::string(4000, 'd') + "/name", ".x"), std::string(4000, 'd') + "/name.x");
  EXPECT_EQ(AddBackslash(std::string(300, 'a'), Style::Posix), std::string(300, 'a') + "/");
}

std::vector<std::string> Prefixes(const std::string& path, Style style) { return MakePathPrefixes(path, style); }

TEST(MakePathTest, PrefixWalkOfBothStyles) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Prefixes("C:\\A\\B\\C\\", Style::Windows), (V{"C:", "C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}));
  EXPECT_EQ(Prefixes("\\A\\B", Style::Windows), V{});
  EXPECT_EQ(Prefixes("X\\Y\\", Style::Windows), (V{"X", "X\\Y"}));
  EXPECT_EQ(Prefixes("X/Y/", Style::Windows), (V{"X", "X/Y"}));  // '/' is a separator there too
  EXPECT_EQ(Prefixes("/a/b/", Style::Posix), (V{"/a", "/a/b"}));
  EXPECT_EQ(Prefixes("x/y", Style::Posix), (V{"x", "x/y"}));
  EXPECT_EQ(Prefixes("", Style::Posix), V{});
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TempFolder(std::string("paths-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
  std::string self = ProgramPath();
  EXPECT_TRUE(fs::path(self).is_absolute()) << self;
  EXPECT_TRUE(fs::exists(self));
  ChangeDir(dir_.string() + "/");
  EXPECT_EQ(CurrentDir(), fs::canonical(dir_).string() + (platform::NativePathsAreWindows() ? "\\" : "/"));
  ChangeDir("/no/such/dir");
  EXPECT_EQ(platform::IoResult(), 3);  // a directory of the path is missing
  ChangeDir(dir_.string() + "/missing");
  EXPECT_EQ(platform::IoResult(), 2);
}

}  // namespace
}  // namespace paths
