#include "textlib/unidiff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace unidiff {
namespace {

// Applies a unified diff as patch does, strictly: every context and removed
// line must be where the hunk says. Returns false on any mismatch.
bool Apply(const std::string& oldText, const std::string& diff, std::string& out) {
  std::vector<std::string> a, d;
  for (std::size_t i = 0; i < oldText.size();) {
    std::size_t e = oldText.find('\n', i);
    e = e == std::string::npos ? oldText.size() : e + 1;
    a.push_back(oldText.substr(i, e - i));
    i = e;
  }
  for (std::size_t i = 0; i < diff.size();) {
    std::size_t e = diff.find('\n', i);
    d.push_back(diff.substr(i, e - i + 1));
    i = e + 1;
  }
  std::size_t next = 0;  // the first line of a not yet copied
  out.clear();
  for (std::size_t k = 2; k < d.size();) {
    unsigned long start = 0, count = 1;
    const std::size_t comma = d[k].find(',');
    start = std::stoul(d[k].substr(4));
    if (comma != std::string::npos && comma < d[k].find(' ', 4)) count = std::stoul(d[k].substr(comma + 1));
    const std::size_t from = count == 0 ? start : start - 1;
    if (from < next || from > a.size()) return false;
    for (; next < from; ++next) out += a[next];
    for (++k; k < d.size() && d[k].rfind("@@", 0) != 0; ++k) {
      std::string line = d[k].substr(1);
      if (k + 1 < d.size() && d[k + 1] == "\\ No newline at end of file\n") line.pop_back();
      if (d[k][0] == '\\') continue;
      if (d[k][0] == '+') {
        out += line;
      } else {
        if (next >= a.size() || a[next] != line) return false;
        if (d[k][0] == ' ') out += line;
        ++next;
      }
    }
  }
  for (; next < a.size(); ++next) out += a[next];
  return true;
}

TEST(UnifiedDiff, EqualTextsGiveNoDiff) {
  EXPECT_EQ(UnifiedDiff("", "", "r"), "");
  EXPECT_EQ(UnifiedDiff("a\r\nb\r\n", "a\r\nb\r\n", "r"), "");
}

TEST(UnifiedDiff, TheFormatOfDiffU) {
  struct Case {
    std::string from, to, want;
  } const cases[] = {
      {"", "x\n", "--- r\n+++ r\n@@ -0,0 +1 @@\n+x\n"},
      {"a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", "--- r\n+++ r\n@@ -1,3 +1,3 @@\n a\r\n-b\r\n+B\r\n c\r\n"},
      {"a\nb", "a\nb\n", "--- r\n+++ r\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
      {"1\n2\n3\n4\n5\n", "0\n1\n2\n3\n4\n5\n", "--- r\n+++ r\n@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n"},
      // Changes 7 lines apart make two hunks; 6 apart, one.
      {"a\n1\n2\n3\n4\n5\n6\n7\nb\n", "A\n1\n2\n3\n4\n5\n6\n7\nB\n",
       "--- r\n+++ r\n@@ -1,4 +1,4 @@\n-a\n+A\n 1\n 2\n 3\n@@ -6,4 +6,4 @@\n 5\n 6\n 7\n-b\n+B\n"},
      {"a\n1\n2\n3\n4\n5\n6\nb\n", "A\n1\n2\n3\n4\n5\n6\nB\n",
       "--- r\n+++ r\n@@ -1,8 +1,8 @@\n-a\n+A\n 1\n 2\n 3\n 4\n 5\n 6\n-b\n+B\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnifiedDiff(c.from, c.to, "r"), c.want) << c.from;
}

// Random texts of few distinct lines (repeats make the hard cases), random
// edits: the diff applied to the old text gives the new one.
TEST(UnifiedDiff, AppliedItGivesTheNewText) {
  std::mt19937 rng(7);
  const std::vector<std::string> pool = {"\n", "a\n", "b\r\n", " AB> q\r\n", "Hello, All!\n", "x", "z\n"};
  auto text = [&](std::size_t n) {
    std::string t;
    for (std::size_t i = 0; i < n; ++i) t += pool[rng() % (pool.size() - 1)];
    if (rng() % 4 == 0) t += "x";  // no newline at the end
    return t;
  };
  for (int round = 0; round < 400; ++round) {
    const std::string from = text(rng() % 40);
    std::string to;
    for (std::size_t i = 0; i < from.size();) {
      std::size_t e = from.find('\n', i);
      e = e == std::string::npos ? from.size() : e + 1;
      const auto r = rng() % 10;
      if (r == 0) to += text(1 + rng() % 3);           // inserted
      if (r != 1) to += from.substr(i, e - i);         // kept unless removed
      if (r == 2) to += std::to_string(round) + "\n";  // changed next to it
      i = e;
    }
    const std::string diff = UnifiedDiff(from, to, "r");
    std::string applied;
    ASSERT_TRUE(Apply(from, diff, applied)) << diff;
    EXPECT_EQ(applied, to) << diff;
  }
}

TEST(UnifiedDiff, LargeTextsWithScatteredChangesStayShort) {
  std::string from, to;
  for (int i = 0; i < 65535; ++i) {
    from += "line " + std::to_string(i) + "\r\n";
    to += (i % 1000 == 0 ? "LINE " : "line ") + std::to_string(i) + "\r\n";
  }
  const std::string diff = UnifiedDiff(from, to, "r");
  std::string applied;
  ASSERT_TRUE(Apply(from, diff, applied));
  EXPECT_EQ(applied, to);
  EXPECT_LT(diff.size(), 66u * 8 * 20);  // 66 hunks of 8 lines
}

}  // namespace
}  // namespace unidiff

namespace unidiff {
namespace {

// As GNU diff 3.8 shows these names in its headers.
TEST(HeaderName, QuotesAsGnuDiffDoes) {
  const std::pair<std::string, std::string> cases[] = {
      {"reply.txt", "reply.txt"},
      {"\xD1\x82\xD0\xB5\xD1\x81\xD1\x82.txt", "\xD1\x82\xD0\xB5\xD1\x81\xD1\x82.txt"},  // UTF-8 stays readable
      {"sp ace", "\"sp ace\""},
      {"x\ny", "\"x\\ny\""},
      {"t\tab", "\"t\\tab\""},
      {"q\"uote", "\"q\\\"uote\""},
      {"b\\sl", "\"b\\\\sl\""},
      {std::string("\x01", 1), "\"\\001\""},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(HeaderName(name), shown) << name;
  EXPECT_EQ(UnifiedDiff("a\n", "b\n", "x\ny").substr(0, 20), "--- \"x\\ny\"\n+++ \"x\\ny");
}

}  // namespace
}  // namespace unidiff
