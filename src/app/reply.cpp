#include "app/reply.h"

#include <algorithm>
#include <new>
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

void Read(app::RunContext& run) {
  if (!run.FromStdin) {
    run.ReplyRead = iolist::TextRead(run.InputName, run.ReplyBytes);
    if (run.ShowDiff) pipes::KeepInput(run.ReplyBytes);
    return;
  }
  // Standard input is kept as read, for the diff and for giving it back;
  // the run works on a copy.
  run.ReplyRead = pipes::ReadStandardInput();
  try {
    run.ReplyBytes = pipes::Input();
  } catch (const std::bad_alloc&) {
    run.ReplyRead = 203;
  }
}

}  // namespace

bool ReadReply(app::RunContext& run) {
  const bool given = run.Options.CharsetGiven;
  const std::string& csName = run.Options.Charset;
  // Standard input is read before anything may refuse it: a refused reply
  // is given back whole.
  if (!given || run.FromStdin) Read(run);
  const std::string_view csView(csName);
  charset::Charset cs;
  if (!ChooseCharset(run.ReplyBytes, given ? &csView : nullptr, platform::LocaleCodeset(), cs)) {
    Writer->ErrorLine(tr::Say("Unknown charset %s!", {ShortStr(csName)}));
    return false;
  }
  if (given && !run.FromStdin) Read(run);
  run.MessageFormat.Charset = cs;
  // The data files are read with escapes on, so that a character CP866
  // lacks stays itself there too; LoadReply switches them off for a CP866
  // reply when no data file needed one.
  charset::UseEscapes(true);
  if (cs != charset::Charset::Cp866) {
    Writer->Info(tr::Say("Charset: %s", {ShortStr(charset::Name(cs))}));
  }
  return true;
}

bool LoadReply(app::RunContext& run) {
  if (run.ReplyRead == iolist::kErrTooManyLines) {
    Writer->ErrorLine(tr::Say("File %s has more than 65535 lines!", {ShortStr(run.InputName)}));
    return false;
  }
  if (run.ReplyRead != 0) {
    app::ReportFileError(N_("Error reading file %s #%s!"), run.InputName, run.ReplyRead);
    return false;
  }
  if (run.MessageFormat.Charset == charset::Charset::Cp866 && !charset::EscapesMade())
    charset::UseEscapes(false);
  int r = iolist::TextParse(std::move(run.ReplyBytes), run.MessageLines,
                            files::optRead | files::optWrap, run.MessageFormat);
  run.ReplyBytes.clear();
  run.ReplyBytes.shrink_to_fit();
  if (r == iolist::kErrTooManyLines) {
    Writer->ErrorLine(tr::Say("File %s has more than 65535 lines!", {ShortStr(run.InputName)}));
    return false;
  }
  return true;
}

}  // namespace reply
