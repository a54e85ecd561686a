// The result: the control line on top, and the write over the output file
// with a backup of the previous one.
#pragma once

#include "app/context.h"

namespace result {

// "\x01Salvetor: 1.08 19990827", cut to 35.
shortstr::ShortStr KludgeLine();
// Puts the kludge line on top and writes the result (to standard output,
// or nowhere on a dry run, as the run's modes say); false, with the error
// printed, when the write failed.
bool WriteResult(app::RunContext& run);

}  // namespace result
