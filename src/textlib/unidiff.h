// Unified diffs: the change from one text to another in the format of
// `diff -u`, line by line in the texts' own bytes, so that `patch` applied
// to the old text gives the new one exactly.
#pragma once

#include <string>
#include <string_view>

namespace unidiff {

// The diff of old to new under the headers "--- name" and "+++ name", with
// three lines of context; empty when the texts are equal. A line is its
// bytes up to and including '\n' (a CR before it is part of the line); a
// last line without one is marked "\ No newline at end of file".
std::string UnifiedDiff(std::string_view oldText, std::string_view newText, const std::string& name);
// The name as a header shows it: as it is, or, when it holds a blank, a
// control character, a double quote or a backslash, in double quotes with
// C escapes, as GNU diff quotes it (patch reads both forms).
std::string HeaderName(const std::string& name);

}  // namespace unidiff
