// The begin and end texts (salvetor.beg, salvetor.end): loaded, and each
// inserted only when the message does not hold it already; the end text
// goes before the service lines among the last four lines.
#pragma once

#include <cstdint>

#include "app/context.h"

namespace inserts {

// Loads BeginLines and EndLines; a missing file leaves its list empty.
void LoadInserts(app::Tables& tables, charset::EscapeTable* escapes);
// True when block stands in message as consecutive lines (look-alike
// letters folded on both sides).
bool MessageContains(listman::List* message, listman::List* block);
// Where the end text goes: before the service lines among the last four.
std::int32_t EndInsertPosition(listman::List* message);
// The begin and end inserts, each only when the message lacks it.
void InsertBeginAndEnd(app::Message& message, app::Tables& tables);

}  // namespace inserts
