// Option: the command line as positional arguments, options and option
// values. Every query is answered afresh from the process arguments; tests
// may supply their own argument vector.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textlib/shortstr.h"

namespace option {

using shortstr::ShortStr;

// Sets the arguments 1..n (without the program path).
void SetArguments(std::vector<std::string> args);
void SetArguments(int argc, char** argv);

// The option arguments joined by one blank, cut at 255 characters, for
// showing them. File names never add words to it.
ShortStr CommandLine();
// The n-th positional argument (n = 0 acts as 1), empty when there is none.
// POSIX: whole arguments in their own case, never cut; an argument starting
// with '-' is an option, one starting with '/' too unless it holds a second
// '/' (an absolute path); empty arguments are skipped. After "--" every
// argument is a file name.
std::string ParamN(int n);
// The Windows rule: the n-th word of the joined line that is not an option,
// upper-cased.
ShortStr ParamNOfLine(const ShortStr& line, int n);
// The option arguments (not file names) in command-line order, as given.
std::vector<std::string> OptionArguments();
// True when an argument is exactly text (case-sensitive, whole argument):
// for the Linux options such as --help, which match nothing else.
bool ArgumentGiven(std::string_view text);
// Whole-word, case-insensitive; '/' and '-' alike; '=' also ends a word.
// Every option argument is read whole, however long.
bool OptionPresent(const ShortStr& option);
// The rest of the first word that begins with option, in its own case,
// never cut.
std::string OptionValue(const ShortStr& option);

}  // namespace option
