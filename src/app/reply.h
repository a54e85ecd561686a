// The reply file: its bytes read once, its charset chosen (the option /CS=,
// a CHRS control line, UTF-8 by its bytes, the locale's charset, else CP866)
// and its lines loaded into MessageLines, decoded to CP866.
#pragma once

#include <string_view>

#include "app/context.h"
#include "textlib/charset.h"

namespace reply {

// The charset of a reply's bytes: csOption is the /CS= name when given
// (nullptr otherwise), localeCodeset the locale's. False for an unknown
// /CS= name.
bool ChooseCharset(std::string_view bytes, const std::string_view* csOption,
                   std::string_view localeCodeset, charset::Charset& out);
// Reads the reply and chooses its charset, printing "Charset: <name>" when
// it is not CP866 and turning escapes on for it. False, with the error
// printed, for an unknown /CS= name.
bool ReadReply(app::RunContext& run);
// The reply's lines into MessageLines. False, with the error printed, when
// it could not be read or holds more than 65,535 lines.
bool LoadReply(app::RunContext& run);

}  // namespace reply
