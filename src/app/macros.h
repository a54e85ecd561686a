// Macros: every key of the macro table in the message is replaced by its
// expansion (case-insensitive, anywhere in a line); lines beginning with
// ";" are left alone.
#pragma once

#include <cstdint>

#include "app/context.h"
#include "textlib/iolist.h"

namespace macros {

// Applies the macro lines (field 1 key, field 2 expansion) in table order to
// every line. In place: the lines are stored back and the result is lines;
// otherwise the changed lines go to a new list. count = replacements made.
// An expansion puts '?' for each character the message's format (its
// charset, with its escapes) cannot write; by default it goes in as it is.
listman::List* MacroReplace(listman::List* lines, listman::List* macros, bool inPlace,
                            std::int32_t& count, const iolist::TextFormat& format = {});
// The stage over the message with the macro table (its letters made Latin
// first, as the message's are); the number of changes, 0 for an empty table.
std::int32_t ChangeMacros(app::Message& message, app::Tables& tables);

}  // namespace macros
