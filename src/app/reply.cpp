#include "app/reply.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "app/pipes.h"
#include "console/writer.h"
#include "platform/locale.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/tr.h"

namespace reply {

using shortstr::ShortStr;
using writer::Writer;

bool ChooseCharset(std::string_view bytes, const std::string_view* csOption,
                   std::string_view localeCodeset, charset::Charset& out) {
  using charset::Charset;
  if (csOption != nullptr) return charset::ByName(*csOption, out);
  if (charset::FromControlLines(bytes, out)) return true;
  if (charset::IsUtf8Text(bytes)) {
    out = Charset::Utf8;
    return true;
  }
  // Editors on POSIX keep their file in the locale's charset by default; a
  // reply that is plain ASCII may be UTF-8 too, and a name put into it then
  // goes in as UTF-8.
  Charset local;
  const bool known = charset::ByName(localeCodeset, local);
  const bool ascii = std::none_of(bytes.begin(), bytes.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  out = known && (local != Charset::Utf8 || ascii) ? local : Charset::Cp866;
  return true;
}

namespace {

Reply Read(const app::RunContext& run) {
  Reply reply;
  if (!run.FromStdin) {
    reply.Code = iolist::TextRead(run.InputName, reply.Bytes);
    if (run.Options.ShowDiff) pipes::KeepInput(reply.Bytes);
    return reply;
  }
  // Standard input is kept as read, for the diff and for giving it back;
  // the run works on a copy.
  reply.Code = pipes::ReadStandardInput();
  try {
    reply.Bytes = pipes::Input();
  } catch (const std::bad_alloc&) {
    reply.Code = 203;
  }
  return reply;
}

}  // namespace

std::optional<Reply> ReadReply(const app::RunContext& run) {
  const bool given = run.Options.CharsetGiven;
  const std::string& csName = run.Options.Charset;
  // Standard input is read before anything may refuse it: a refused reply
  // is given back whole.
  Reply reply;
  if (!given || run.FromStdin) reply = Read(run);
  const std::string_view csView(csName);
  if (!ChooseCharset(reply.Bytes, given ? &csView : nullptr, platform::LocaleCodeset(),
                     reply.Charset)) {
    Writer->ErrorLine(tr::Say("Unknown charset %s!", {ShortStr(csName)}));
    return std::nullopt;
  }
  if (given && !run.FromStdin) {
    const charset::Charset cs = reply.Charset;
    reply = Read(run);
    reply.Charset = cs;
  }
  if (reply.Charset != charset::Charset::Cp866) {
    Writer->Info(tr::Say("Charset: %s", {ShortStr(charset::Name(reply.Charset))}));
  }
  return reply;
}

bool LoadReply(const std::string& name, Reply reply, app::Message& message) {
  if (reply.Code == iolist::kErrTooManyLines) {
    Writer->ErrorLine(tr::Say("File %s has more than 65535 lines!", {ShortStr(name)}));
    return false;
  }
  if (reply.Code != 0) {
    app::ReportFileError(N_("Error reading file %s #%s!"), name, reply.Code);
    return false;
  }
  message.Format.Charset = reply.Charset;
  int r = iolist::TextParse(std::move(reply.Bytes), message.Lines, files::optRead | files::optWrap,
                            message.Format);
  if (r == iolist::kErrTooManyLines) {
    Writer->ErrorLine(tr::Say("File %s has more than 65535 lines!", {ShortStr(name)}));
    return false;
  }
  return true;
}

}  // namespace reply
