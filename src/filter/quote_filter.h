// Quote filter: removes quoted service lines (Origin, tearline, tagline) and
// quoted hello/goodbye lines inside a window of a message, then squeezes runs
// of blank lines. Comparisons use the normalised form (look-alike Latin
// letters folded to Cyrillic, then upper-cased); lines are kept or removed,
// never changed.
#pragma once

#include <cstdint>
#include <string_view>

#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace quote_filter {

inline constexpr std::int32_t kQuoted = 1;
inline constexpr std::int32_t kSqueeze = 4;
inline constexpr std::int32_t kService = 8;
inline constexpr std::int32_t kPatterns = 16;
inline constexpr std::int32_t kInfo = 0x400;

// The filter modes: service lines, hello/goodbye patterns or both, each with
// the squeeze of blank lines; or the squeeze alone.
inline constexpr std::int32_t kModeService = kService | kSqueeze;             // 12
inline constexpr std::int32_t kModePatterns = kPatterns | kSqueeze;           // 20
inline constexpr std::int32_t kModeAll = kService | kPatterns | kSqueeze;     // 28
inline constexpr std::int32_t kModeSqueeze = kSqueeze;                        // 4

// Receives the report line of each removal in info mode.
using Report = void (*)(const shortstr::ShortStr& line);

// Removes lines of `lines` in place within the lines that stood at positions
// first..last when the pass began (first < 1 means 1, last < 0 the count).
// No list: returns at once. In info mode each removal is handed to report.
void QuoteFilter(listman::List* lines, listman::List* patterns,
                 listman::List* extraPatterns, std::int32_t first,
                 std::int32_t last, std::int32_t flags, Report report = nullptr);


// Look-alike folding then upper case.
shortstr::ShortStr Normalise(const shortstr::ShortStr& text);

}  // namespace quote_filter
