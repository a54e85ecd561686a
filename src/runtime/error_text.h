// Error texts: one Russian line (CP866) for every code of the program's
// error table; every other code, negative ones included, gets
// "Ошибка #" and the code.
#pragma once

#include <cstdint>

#include "textlib/shortstr.h"

namespace error_text {

shortstr::ShortStr ErrorText(std::int32_t code);

}  // namespace error_text
