// Message texts: texts looked up by a short key in the message text file
// beside the program (the program's path with the language code as
// extension). Keys compare upper-cased with blanks ignored; a missing file
// or key gives the empty text. The file is read at most once per run.
#pragma once

#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace msgtext {

using shortstr::ShortStr;

// "RUS".
const ShortStr& LanguageCode();
ShortStr MsgText(const ShortStr& key, const ShortStr& language);
// The text with "%1" and "%2" replaced by first and second.
ShortStr MsgTextArgs(const ShortStr& key, const ShortStr& first, const ShortStr& second,
                     const ShortStr& language);
// Field 2 of the first line whose blank-free, upper-cased form begins with
// the key (cut to 12) and a comma.
ShortStr MsgFind(const ShortStr& key, listman::List* lines);

}  // namespace msgtext
