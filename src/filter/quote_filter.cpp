#include "filter/quote_filter.h"

#include <array>
#include <bit>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

#include "textlib/lines.h"
#include "textlib/multimatch.h"
#include "textlib/textlines.h"
#include "textlib/units.h"
#include "textlib/tr.h"

namespace quote_filter {

using namespace shortstr;
using listman::List;

namespace {

constexpr int kQuoteWindow = 12;

// Folding then upper-casing, as one table.
const std::array<unsigned char, 256>& NormalTable() {
  static const auto table = [] {
    std::array<unsigned char, 256> t{};
    for (std::size_t b = 0; b < t.size(); ++b) {
      ShortStr one;
      one.AppendChar(static_cast<unsigned char>(b));
      t[b] = UpCaseStr(FoldLookAlikes(one)).s[0];
    }
    return t;
  }();
  return table;
}

constexpr std::string_view kServiceMarks[] = {" * Origin", "---", "... ", " + Origin", "-+-"};

// True when a service mark (normalised, as the line is read) starts at one
// of the line's first 12 positions. Read in place, through the table.
bool IsServiceLine(std::string_view line) {
  const auto& table = NormalTable();
  static const auto kMarks = [] {
    std::array<ShortStr, std::size(kServiceMarks)> marks;
    for (std::size_t m = 0; m < marks.size(); ++m) marks[m] = Normalise(kServiceMarks[m]);
    return marks;
  }();
  // Each byte to the marks that start with it (a bit each).
  static const auto kStarts = [] {
    std::array<std::uint8_t, 256> starts{};
    for (std::size_t m = 0; m < kMarks.size(); ++m)
      starts[kMarks[m].s[0]] = static_cast<std::uint8_t>(starts[kMarks[m].s[0]] | 1u << m);
    return starts;
  }();
  const std::size_t window = units::Head(line, kQuoteWindow);  // its first 12 characters
  for (std::size_t at = 0; at < window; ++at) {
    // Only the marks that start with this byte, one bit each.
    for (unsigned starting = kStarts[table[static_cast<unsigned char>(line[at])]]; starting != 0;
         starting &= starting - 1) {
      const ShortStr& mark = kMarks[static_cast<std::size_t>(std::countr_zero(starting))];
      if (at + mark.len > line.size()) continue;
      std::size_t i = 0;
      while (i < mark.len && table[static_cast<unsigned char>(line[at + i])] == mark.s[i]) ++i;
      if (i == mark.len) return true;
    }
  }
  return false;
}

// The patterns of a list, normalised once per pass. Entries of the extra
// list are taken as written; pattern-list entries lose one pair of
// enclosing quotes first. Comments and empty entries never match.
struct Pattern {
  std::int32_t entry;
  ShortStr text;
};

// A list's patterns and one matcher for all of them.
struct PatternList {
  std::vector<Pattern> patterns;
  multimatch::Matcher matcher;
};

std::vector<std::string_view> Texts(const std::vector<Pattern>& patterns) {
  std::vector<std::string_view> texts;
  texts.reserve(patterns.size());
  for (const Pattern& p : patterns) texts.push_back(p.text.View());
  return texts;
}

std::vector<Pattern> Patterns(List* list, bool unquote) {
  std::vector<Pattern> out;
  const std::int32_t count = list != nullptr ? list->Count : 0;
  out.reserve(static_cast<std::size_t>(count));  // a pattern is large: no regrowth
  for (std::int32_t e = 1; e <= count; ++e) {
    ShortStr entry = lines::LineAt(list, e);
    ShortStr pattern = Normalise(unquote ? Unquote(entry) : entry);
    if (pattern.Empty() || Trim(pattern).At(1) == ';') continue;
    out.push_back({e, pattern});
  }
  return out;
}

PatternList MakePatternList(List* list, bool unquote) {
  std::vector<Pattern> patterns = Patterns(list, unquote);
  // The matcher reads lines as they are stored, through the table.
  multimatch::Matcher matcher(Texts(patterns), NormalTable());
  return {std::move(patterns), std::move(matcher)};
}

// The entry that matches the line (normalised) first, or 0.
std::int32_t MatchingEntry(const PatternList& list, std::string_view line) {
  if (list.patterns.empty()) return 0;
  const int k = list.matcher.First(line);
  return k < 0 ? 0 : list.patterns[static_cast<std::size_t>(k)].entry;
}

void RemoveLine(List* list, std::int32_t i, const ShortStr& line, Report report,
                const ShortStr* entry) {
  if (report != nullptr) {
    report(entry == nullptr ? tr::Format("Deleted \"%s\" as a service info!", {line})
                            : tr::Format("Deleted \"%s\" cause of \"%s\"!", {line, *entry}));
  }
  listman::ListDelete(list, i);
}

bool IsBlank(std::string_view line) {
  const CharSet& trim = TrimSet();
  for (char c : line) {
    if (!trim.Has(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void SqueezeBlankLines(List* list) {
  int run = 0;
  std::int32_t j = 1;
  for (listman::Node* node = list->First; node != nullptr;) {
    listman::Node* next = node->Next;
    if (!IsBlank(lines::ViewOfNode(node))) {
      run = 0;
      ++j;
    } else if (++run > 1) {
      listman::ListDelete(list, j);
    } else {
      ++j;
    }
    node = next;
  }
}

}  // namespace

ShortStr Normalise(const ShortStr& text) {
  const auto& table = NormalTable();
  ShortStr out = text;
  for (int i = 0; i < out.len; ++i) out.s[i] = table[out.s[i]];
  return out;
}

void QuoteFilter(List* list, List* patterns, List* extraPatterns, std::int32_t first,
                 std::int32_t last, std::int32_t flags, Report report) {
  if (listman::ListCheck(list) != 0) return;
  if (first < 1) first = 1;
  if (last < 0) last = list->Count;
  if (!HasFlags(flags, kInfo)) report = nullptr;
  const PatternList main = MakePatternList(HasFlags(flags, kPatterns) ? patterns : nullptr, true);
  const PatternList extra = MakePatternList(extraPatterns, false);
  std::int32_t removed = 0;
  std::int32_t i = first;
  // The pass walks the nodes; a removal goes through the list by position
  // (its cursor follows the pass, so that stays one step at a time).
  listman::Node* node = i <= list->Count ? listman::ListGetNode(list, i) : nullptr;
  while (node != nullptr && removed + i <= last) {
    // Normalising leaves '>' alone, so the line itself tells whether it is
    // quoted; only a removed one is copied out.
    const std::string_view stored = lines::ViewOfNode(node);
    listman::Node* next = node->Next;
    if (!HasFlags(flags, kQuoted) || !textlines::IsQuoted(stored)) {
      node = next;
      ++i;
      continue;
    }
    if (HasFlags(flags, kService) && IsServiceLine(stored)) {
      RemoveLine(list, i, ShortStr(stored), report, nullptr);
      ++removed;
      node = next;
      continue;
    }
    List* source = patterns;
    std::int32_t e = MatchingEntry(main, stored);
    if (e == 0) {
      e = MatchingEntry(extra, stored);
      source = extraPatterns;
    }
    if (e > 0) {
      ShortStr entry = lines::LineAt(source, e);
      RemoveLine(list, i, ShortStr(stored), report, &entry);
      ++removed;
      node = next;
      continue;
    }
    node = next;
    ++i;
  }
  if (HasFlags(flags, kSqueeze)) SqueezeBlankLines(list);
}

}  // namespace quote_filter
