// Pipes and previews: "-" as the reply (standard input in, the result to
// standard output, the console on standard error), and runs that write no
// file (--dry-run or -n, and --diff, which prints the change as a unified
// diff on standard output).
#pragma once

#include <string>
#include <string_view>

#include "app/context.h"

namespace pipes {

// The modes of the command line into run; routes the console to standard
// error when standard output carries a result or a diff, and switches off
// every file the run would write besides its result (log, error report).
void Setup(app::RunContext& run);
// Reads standard input to its end into bytes: 0, or a read error negated
// (the bytes before it kept).
int ReadStandardInput(std::string& bytes);
// Keeps the reply as read, for the diff and for giving it back.
void KeepInput(const std::string& bytes);
// A run whose result goes to standard output gives its input back there
// unchanged when it ends without a result, however it ends (refused reply,
// failed load, run-time error); this arranges that.
void GiveBackUnlessDelivered();
// The finished result (its bytes): written to standard output, shown as a
// diff, or only counted, as the modes say; false, with the error printed,
// when standard output takes no more.
bool Deliver(const app::RunContext& run, const std::string& bytes);

}  // namespace pipes
