// The quote filter's part in a run: the mode the options ask for, the key
// window that can change it, and the three passes (header, footer, whole
// message) that give LinesSkipped.
#pragma once

#include <cstdint>

#include "app/context.h"

namespace filterpass {

// The flag word for a mode: a key pressed in the 540 ms window (unless
// /Key- or keyWindow is false) may change the mode; then /SB- and /IF.
std::int32_t ChooseFlags(std::int32_t mode, const settings::Settings& options, bool keyWindow = true);
// The three passes with run.FilterFlags; sets LinesSkipped.
void FilterPasses(app::RunContext& run);

}  // namespace filterpass
