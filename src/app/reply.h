// The reply file: its bytes read once, its charset chosen (the option /CS=,
// a CHRS control line, UTF-8 by its bytes, the locale's charset, else CP866)
// and its lines loaded into MessageLines, decoded to CP866.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/context.h"
#include "textlib/charset.h"

namespace reply {

// The charset of a reply's bytes: csOption is the /CS= name when given
// (nullptr otherwise), localeCodeset the locale's. False for an unknown
// /CS= name.
bool ChooseCharset(std::string_view bytes, const std::string_view* csOption,
                   std::string_view localeCodeset, charset::Charset& out);
// The reply as read: its bytes (moved out when its lines are loaded), the
// result of reading them (0, or an error code as iolist gives it) and the
// charset chosen for it.
struct Reply {
  std::string Bytes;
  int Code = 0;
  charset::Charset Charset = charset::Charset::Cp866;
};
// Reads the reply and chooses its charset, printing "Charset: <name>" when
// it is not CP866. Nothing, with the error printed, for an unknown /CS=
// name; a read error travels in the result.
std::optional<Reply> ReadReply(const app::RunContext& run);
// The reply's lines into message, decoded from its charset (with the
// escapes as the run has set them). False, with the error printed (name is
// the reply's), when it could not be read or holds more than 65,535 lines.
bool LoadReply(const std::string& name, Reply reply, app::Message& message);

}  // namespace reply
