// Names: the name change. Greeting lines found through the templates get
// the Russian form of the addressee's name from the names table, and quoted
// lines that only repeat the receiver's name are deleted.
#pragma once

#include "app/context.h"

namespace names {

using shortstr::ShortStr;

// The table form of name (first line whose field 1, upper-cased, equals the
// name upper-cased; comments skipped; lines cut to 36), or the name itself;
// a name longer than 36 is in no table line and comes back as it is.
ShortStr NameLookup(const ShortStr& name, listman::List* table);
// Н, у, р to H, y, p.
ShortStr CyrillicToLatin(const ShortStr& text);
struct NameOptions {
  bool saveFullName = false;       // /SN: every word of a changed name stays
  bool keepReceiverLines = false;  // /FN-: quoted lines repeating the name stay
};
// The stage over the whole message, with the templates and the names table;
// the number of names it changed.
std::int32_t ChangeNames(app::Message& message, const app::Tables& tables, NameOptions options);

}  // namespace names
