// The quote filter's part in a run: the mode the options ask for, the key
// window that can change it, and the three passes (header, footer, whole
// message) that give LinesSkipped.
#pragma once

#include <cstdint>

#include "app/context.h"

namespace filterpass {

// The mode the command line asks for: 28 for /F, /F3, /Filt; then 12 for
// /F1; then 20 for /F2; 0 for none (no filter stage at all).
std::int32_t CommandLineMode();
// The flag word for a mode: a key pressed in the 540 ms window (unless
// /Key- or keyWindow is false) may change the mode; then /SB- and /IF.
std::int32_t ChooseFlags(std::int32_t mode, bool keyWindow = true);
// The three passes with run.FilterFlags; sets LinesSkipped.
void FilterPasses(app::RunContext& run);

}  // namespace filterpass
