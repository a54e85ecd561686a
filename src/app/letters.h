// Letters: the stage that makes the Cyrillic Н and р the Latin H and p in
// every line of a list, so that no mail software mistakes them for others.
#pragma once

#include <cstdint>

#include "textlib/listman.h"

namespace letters {

// Н and р made H and p in every line, over the stored bytes; -1 with no
// list, else the letters replaced.
std::int32_t LatinHAndP(listman::List* list);

}  // namespace letters
