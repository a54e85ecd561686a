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
// Reads standard input into Input(): 0 at its end; a read error negated;
// or, reading stopped with the rest of standard input left for the
// give-back, iolist::kErrTooManyLines once it surely holds more than 65,535
// lines (or more bytes than they can), or 203 when memory ran out.
int ReadStandardInput();
// The reply as read from standard input (or kept by KeepInput).
const std::string& Input();
// Keeps a reply file as read, for the diff.
void KeepInput(const std::string& bytes);
// A run whose result goes to standard output gives its input back there
// unchanged when it ends without a result, however it ends (refused reply,
// failed load, run-time error, memory run out): what was read, then the
// rest of standard input as it comes; this arranges that.
void GiveBackUnlessDelivered();
// The finished result (its bytes): written to standard output, shown as a
// diff, or only counted, as the modes say; false, with the error printed,
// when standard output takes no more.
bool Deliver(const app::RunContext& run, const std::string& bytes);

}  // namespace pipes
