// Console texts in the user's language. The program's texts are written in
// English; where the user's catalogue translates one, the console shows the
// translation (CP866, as every console line), while the log and the error
// report keep the English, so the files written never depend on the locale.
#pragma once

#include <initializer_list>
#include <string_view>

#include "textlib/shortstr.h"

// Marks a text for the catalogue where it is translated later (tables).
#define N_(text) text

namespace tr {

using shortstr::ShortStr;

// A text in both forms: English for the files, shown for the console.
struct Text {
  Text(const char* same) : english(same), shown(same) {}
  Text(const ShortStr& same) : english(same), shown(same) {}
  Text(const ShortStr& inEnglish, const ShortStr& asShown) : english(inEnglish), shown(asShown) {}
  ShortStr english;
  ShortStr shown;
};

// Opens the user's catalogue (once, at start-up, before any text is shown).
void TrInit();
// Takes the translations of a GNU message catalogue (.mo, little-endian,
// texts in CP866) in place of the present ones; false, with none, when the
// bytes are not one. Entries that point outside the bytes are passed over.
bool UseCatalogue(std::string_view bytes);
// The shown form of english, cut at 255 characters.
ShortStr Tr(const char* english);
// format with each "%s" replaced by the next argument and "%N$s" by the
// Nth ("%%" is one '%'); a missing argument is empty. Cut at 255.
ShortStr Format(const char* format, std::initializer_list<ShortStr> args);
// Both forms of a text, and of a formatted one.
Text Say(const char* english);
Text Say(const char* format, std::initializer_list<ShortStr> args);

}  // namespace tr
