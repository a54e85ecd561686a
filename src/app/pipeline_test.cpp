// The stages over UTF-8 replies full of characters CP866 lacks (thousands of
// distinct ones, so escapes of every length occur), against a plain
// reference that works on decoded characters: the same lines deleted, the
// same replacements made and counted, the same wraps, every other character
// back in its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/letters.h"
#include "app/macros.h"
#include "filter/quote_filter.h"
#include "textlib/charset.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "support/stage.h"
#include "support/utf8.h"

namespace {

using Line = std::u32string;
using support::Utf8;

std::string Lf(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += Utf8(l) + "\n";
  return out;
}

// --- the reference -----------------------------------------------------------

bool Quoted(const Line& l) {
  for (std::size_t i = 0; i < l.size() && i < 12; ++i) {
    if (l[i] == U'>' && !(i > 0 && (l[i - 1] == U'-' || l[i - 1] == U'='))) return true;
  }
  return false;
}

std::size_t PrefixLength(const Line& l) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < l.size() && i < 12; ++i) {
    if (l[i] == U'>' && !(i > 0 && (l[i - 1] == U'-' || l[i - 1] == U'='))) {
      end = i + 1;
      break;
    }
  }
  if (end == 0) return 0;
  while (end < 12 && end < l.size() && l[end] == U'>') ++end;
  if (end < l.size() && l[end] == U' ') ++end;
  return end;
}

void Wrap(const Line& line, std::vector<Line>& out) {
  const std::size_t prefixLen = PrefixLength(line);
  const Line prefix = line.substr(0, prefixLen);
  Line rest = line;
  for (bool first = true;; first = false) {
    const std::size_t room = 255 - (first ? 0 : prefixLen);
    if (rest.size() <= room) {
      out.push_back((first ? Line() : prefix) + rest);
      return;
    }
    std::size_t cut = room;
    for (std::size_t i = room; i > (first ? prefixLen : 0); --i) {
      if (rest[i - 1] == U' ' || rest[i - 1] == U'\t') {
        cut = i;
        break;
      }
    }
    out.push_back((first ? Line() : prefix) + rest.substr(0, cut));
    rest = rest.substr(cut);
  }
}

// ReplaceAllWhole on characters: keys here hold no letters, so case plays
// no part. False, line unchanged, when the result would pass 255.
bool ReplaceAll(Line& line, const Line& key, const Line& with, int& count) {
  const bool onward = with.find(key) != Line::npos;
  Line work = line;
  int made = 0;
  std::size_t from = 0;
  while (made < 1000) {
    const std::size_t at = work.find(key, from);
    if (at == Line::npos) break;
    work.replace(at, key.size(), with);
    if (work.size() > 255) return false;
    ++made;
    from = onward ? at + with.size() : 0;
    if (from >= work.size()) break;
  }
  line = work;
  count += made;
  return true;
}

// --- random replies and tables ---------------------------------------------

struct Alphabet {
  std::vector<char32_t> unusual;  // characters CP866 lacks, and box drawing
  std::vector<char32_t> plain;    // ASCII and Cyrillic letters
};

Alphabet MakeAlphabet() {
  Alphabet a;
  for (char32_t c = 0x4E00; c < 0x4E00 + 3000; ++c) a.unusual.push_back(c);  // CJK
  for (char32_t c = 0x1F600; c < 0x1F650; ++c) a.unusual.push_back(c);       // emoji
  for (char32_t c = 0x2500; c < 0x2580; ++c) a.unusual.push_back(c);         // box drawing
  for (char32_t c : {U'«', U'»', U'—', U'€', U'…'}) a.unusual.push_back(c);
  for (char32_t c = U'a'; c <= U'z'; ++c) a.plain.push_back(c);
  for (char32_t c = 0x410; c <= 0x44F; ++c) a.plain.push_back(c);
  for (char32_t c : {U' ', U' ', U' ', U'1', U'-', U'='}) a.plain.push_back(c);
  return a;
}

class Random {
 public:
  explicit Random(unsigned seed) : rng_(seed) {}
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  char32_t Of(const std::vector<char32_t>& from) {
    return from[static_cast<std::size_t>(Between(0, static_cast<int>(from.size()) - 1))];
  }
  // count unusual characters drawn from the first `spread` of them.
  Line Rare(const Alphabet& a, int count, int spread) {
    Line out;
    for (int i = 0; i < count; ++i)
      out += a.unusual[static_cast<std::size_t>(Between(0, spread - 1))];
    return out;
  }
  // count characters, unusual ones drawn from the first `spread` of them.
  Line Text(const Alphabet& a, int count, int spread) {
    Line out;
    for (int i = 0; i < count; ++i) {
      out +=
          Between(0, 2) == 0
              ? a.plain[static_cast<std::size_t>(Between(0, static_cast<int>(a.plain.size()) - 1))]
              : a.unusual[static_cast<std::size_t>(Between(0, spread - 1))];
    }
    return out;
  }

 private:
  std::mt19937 rng_;
};

listman::List* Parse(const std::string& bytes, std::uint32_t options,
                     charset::EscapeTable& escapes) {
  listman::List* list = nullptr;
  iolist::TextFormat format;
  format.Charset = charset::Charset::Utf8;
  format.Escapes = &escapes;
  EXPECT_EQ(iolist::TextParse(bytes, list, options, format), 0);
  return list;
}

class Pipeline : public support::StageTest {
 protected:
  void TearDown() override {
    units::SetEscapes(false);
    StageTest::TearDown();
  }
};

TEST_F(Pipeline, StagesMatchThePlainReferenceOnDecodedCharacters) {
  const Alphabet a = MakeAlphabet();
  std::size_t wrapped = 0, deleted = 0, replaced = 0;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    Random rnd(seed);
    charset::EscapeTable escapes;
    units::SetEscapes(true);
    // Spread: a few distinct characters, or thousands (escapes of every length).
    const int spread = seed % 3 == 0 ? 40 : static_cast<int>(a.unusual.size());
    if (spread > 40) {
      // Every unusual character seen once, in a shuffled order: those of the
      // reply then take escapes of two, three and five bytes.
      std::vector<char32_t> all = a.unusual;
      std::shuffle(all.begin(), all.end(), std::mt19937(seed));
      charset::Decode(Utf8(Line(all.begin(), all.end())), charset::Charset::Utf8, &escapes);
    }
    // Tables first, as a run reads them: filter patterns and macro keys of
    // one to three unusual characters, expansions of any characters.
    std::vector<Line> patterns, keys, values;
    for (int i = 0; i < 6; ++i) patterns.push_back(rnd.Rare(a, rnd.Between(1, 2), spread));
    for (int i = 0; i < 8; ++i) {
      keys.push_back(rnd.Rare(a, rnd.Between(1, 3), spread));
      values.push_back(rnd.Text(a, rnd.Between(0, 6), spread));
    }
    std::vector<Line> macroLines;
    for (std::size_t i = 0; i < keys.size(); ++i) macroLines.push_back(keys[i] + U"," + values[i]);
    listman::List* filter = Parse(Lf(patterns), files::optRead, escapes);
    listman::List* macros = Parse(Lf(macroLines), files::optRead, escapes);
    // The reply: quoted and plain lines of every length, some past 255.
    std::vector<Line> reply;
    for (int i = 0, n = rnd.Between(20, 60); i < n; ++i) {
      const int length = rnd.Between(0, 9) == 0 ? rnd.Between(250, 600) : rnd.Between(0, 80);
      Line head = rnd.Between(0, 2) == 0 ? Line(U" AB> ") : Line();
      reply.push_back(head + rnd.Text(a, length, spread));
      if (rnd.Between(0, 4) == 0)
        reply.back() += patterns[static_cast<std::size_t>(rnd.Between(0, 5))];
      if (rnd.Between(0, 2) == 0)
        reply.back().insert(0, keys[static_cast<std::size_t>(rnd.Between(0, 7))]);
    }
    listman::List* message = Parse(Lf(reply), files::optRead | files::optWrap, escapes);

    // The reference: wrap, delete quoted lines holding a pattern, Н and р
    // made Latin, macros in table order.
    std::vector<Line> want;
    for (const Line& l : reply) Wrap(l, want);
    wrapped += want.size() - reply.size();
    std::vector<Line> kept;
    for (const Line& l : want) {
      bool hit = false;
      for (const Line& p : patterns) hit = hit || l.find(p) != Line::npos;
      if (!(Quoted(l) && hit)) kept.push_back(l);
    }
    deleted += want.size() - kept.size();
    int wantCount = 0;
    for (Line& l : kept) {
      for (char32_t& c : l) c = c == 0x41D ? U'H' : c == 0x440 ? U'p' : c;
      for (std::size_t k = 0; k < keys.size(); ++k) ReplaceAll(l, keys[k], values[k], wantCount);
    }

    quote_filter::QuoteFilter(message, filter, nullptr, 1, -1,
                              quote_filter::kQuoted | quote_filter::kPatterns);
    letters::LatinHAndP(message);
    std::int32_t count = 0;
    macros::MacroReplace(message, macros, true, count);
    iolist::TextFormat format;
    format.Charset = charset::Charset::Utf8;
    format.Ending = textlines::LineEnd::Lf;
    format.Escapes = &escapes;
    EXPECT_EQ(iolist::TextBytes(message, format), Lf(kept)) << "seed " << seed;
    EXPECT_EQ(count, wantCount) << "seed " << seed;
    replaced += count;
    for (listman::List* l : {filter, macros, message}) listman::ListDisposeAll(l);
  }
  // The cases did what they are for.
  EXPECT_GT(wrapped, 10u);
  EXPECT_GT(deleted, 10u);
  EXPECT_GT(replaced, 50u);
}

}  // namespace
