// The character set of the user's locale.
#pragma once

#include <string>

namespace platform {

// The codeset of the locale the environment names for LC_CTYPE ("UTF-8",
// "KOI8-R", "CP1251", ...); the program's character type locale is set to it.
std::string LocaleCodeset();

}  // namespace platform
