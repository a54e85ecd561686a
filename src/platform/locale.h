// The user's locale: the character set text is exchanged in, and the
// languages messages are wanted in.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The codeset of the locale the environment names for LC_CTYPE ("UTF-8",
// "KOI8-R", "CP1251", ...); the program's character type locale is set to it.
std::string LocaleCodeset();
// The languages the user wants messages in, most wanted first, as locale
// names ("ru_RU.UTF-8", "ru"); empty when messages are English (the C locale).
std::vector<std::string> MessageLanguages();

}  // namespace platform
