// Message assembly: the quote-filter passes, the begin and end inserts, the
// Н/р letter replacement, the kludge line and the write of the result with
// a backup of the previous file.
#pragma once

#include "app/context.h"

namespace assembly {

// The three filter passes (header, footer, whole message); sets LinesSkipped.
void FilterPasses(app::RunContext& run);
// True when block stands in message as consecutive lines (look-alike
// letters folded on both sides).
bool MessageContains(listman::List* message, listman::List* block);
// Where the end text goes: before the service lines among the last four.
std::int32_t EndInsertPosition(listman::List* message);
// The begin and end inserts, each only when the message lacks it.
void InsertBeginAndEnd(app::RunContext& run);
// Н -> H and р -> p over every line.
void ReplaceLetters(app::RunContext& run);
// "\x01Salvetor: 1.08 19990827", cut to 35.
shortstr::ShortStr KludgeLine();
// Puts the kludge line on top and writes the result; false, with the error
// printed, when the write failed.
bool WriteResult(app::RunContext& run);

}  // namespace assembly
