#include "filter/quote_filter.h"

#include "textlib/lines.h"

namespace quote_filter {

using namespace shortstr;
using listman::List;

namespace {

constexpr int kQuoteWindow = 12;

bool IsServiceLine(const ShortStr& normalised) {
  static const ShortStr kMarks[] = {Normalise(" * Origin"), Normalise("---"),
                                    Normalise("... "), Normalise(" + Origin"),
                                    Normalise("-+-")};
  for (const ShortStr& mark : kMarks) {
    // An occurrence that starts at position 1..12.
    ShortStr head = Copy(normalised, 1, kQuoteWindow + mark.len - 1);
    if (Contains(mark, head)) return true;
  }
  return false;
}

// The entry that matches N first, or 0. Entries of the extra list are taken
// as written; pattern-list entries lose one pair of enclosing quotes first.
std::int32_t MatchingEntry(List* patterns, const ShortStr& normalised, bool unquote) {
  std::int32_t count = patterns->Count;
  for (std::int32_t e = 1; e <= count; ++e) {
    ShortStr entry = lines::LineAt(patterns, e);
    ShortStr pattern = Normalise(unquote ? Unquote(entry) : entry);
    if (Trim(pattern).At(1) == ';') continue;
    if (Contains(pattern, normalised)) return e;
  }
  return 0;
}

void RemoveLine(List* list, std::int32_t i, const ShortStr& line, bool info,
                const ShortStr* entry) {
  if (info) {
    ShortStr report = ShortStr("Deleted \"") + line + ShortStr("\"");
    if (entry == nullptr) report = report + ShortStr(" as a service info!");
    else report = report + ShortStr(" cause of \"") + *entry + ShortStr("\"!");
    WriteOutLn(report);
  }
  listman::ListDelete(list, i);
}

bool IsBlank(const ShortStr& line) { return Trim(line).Empty(); }

void SqueezeBlankLines(List* list) {
  int run = 0;
  std::int32_t j = 1;
  while (j <= list->Count) {
    if (!IsBlank(lines::LineAt(list, j))) {
      run = 0;
      ++j;
    } else if (++run > 1) {
      listman::ListDelete(list, j);
    } else {
      ++j;
    }
  }
}

bool HasEntries(List* list) { return list != nullptr && list->Count > 0; }

}  // namespace

ShortStr Normalise(const ShortStr& text) {
  return UpCaseStr(PairReplace(text, LatinToCyrillic()));
}

bool IsQuoted(const ShortStr& line) {
  int p = Pos(ShortStr(">"), line);
  return p >= 1 && p <= kQuoteWindow;
}

ShortStr StripQuotePrefix(const ShortStr& line) {
  if (line.Empty()) return {};
  int p = Pos(ShortStr(">"), line);
  if (p == 0 || p > kQuoteWindow) return line;
  while (line.At(p) == '>') ++p;
  return Copy(line, p, kMaxLen);
}

void QuoteFilter(List* list, List* patterns, List* extraPatterns,
                 std::int32_t first, std::int32_t last, std::int32_t flags) {
  if (listman::ListCheck(list) != 0) return;
  if (first < 1) first = 1;
  if (last < 0) last = list->Count;
  const bool info = HasFlags(flags, kInfo);
  std::int32_t removed = 0;
  std::int32_t i = first;
  while (i <= list->Count && removed + i <= last) {
    ShortStr line = lines::LineAt(list, i);
    ShortStr n = Normalise(line);
    if (!HasFlags(flags, kQuoted) || !IsQuoted(n)) {
      ++i;
      continue;
    }
    if (HasFlags(flags, kService) && IsServiceLine(n)) {
      RemoveLine(list, i, line, info, nullptr);
      ++removed;
      continue;
    }
    std::int32_t e = 0;
    List* source = nullptr;
    if (HasFlags(flags, kPatterns) && HasEntries(patterns)) {
      e = MatchingEntry(patterns, n, true);
      source = patterns;
    }
    if (e == 0 && HasEntries(extraPatterns)) {
      e = MatchingEntry(extraPatterns, n, false);
      source = extraPatterns;
    }
    if (e > 0) {
      ShortStr entry = lines::LineAt(source, e);
      RemoveLine(list, i, line, info, &entry);
      ++removed;
      continue;
    }
    ++i;
  }
  if (HasFlags(flags, kSqueeze)) SqueezeBlankLines(list);
}

}  // namespace quote_filter
