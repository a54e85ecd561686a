// The quote filter's part in a run: the mode the options ask for, the key
// window that can change it, and the three passes (header, footer, whole
// message).
#pragma once

#include <cstdint>

#include "app/context.h"

namespace filterpass {

// The flag word for a mode: a key pressed in the 540 ms window (unless
// /Key- or keyWindow is false) may change the mode; then /SB- and /IF.
std::int32_t ChooseFlags(std::int32_t mode, const settings::Settings& options,
                         bool keyWindow = true);
// The three passes over the message with the flag word, the header pass
// over its first headerSize lines and the footer pass over its last
// footerSize; the number of lines they removed.
std::int32_t FilterPasses(app::Message& message, const app::Tables& tables, std::int32_t flags,
                          std::int32_t headerSize, std::int32_t footerSize);

}  // namespace filterpass
