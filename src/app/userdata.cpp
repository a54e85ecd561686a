#include "app/userdata.h"

#include <string>
#include <vector>

#include "app/context.h"
#include "console/writer.h"
#include "platform/files.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/paths.h"
#include "textlib/tr.h"

namespace userdata {

using shortstr::ShortStr;
using writer::Writer;

namespace {

// The data files shipped beside the program, by file name.
std::vector<std::string> ShippedFiles() {
  return {paths::ProgramFileName(".cfg"), "names.dat", "macro.dat", "filter.dat", "filter2.dat",
          paths::ProgramFileName(".RUS")};
}

// Copies one shipped file as UTF-8 with LF line ends; false on failure.
bool CopyAsUtf8(const std::string& from, const std::string& to) {
  listman::List* lines = nullptr;
  int r = iolist::TextLoad(from, lines, files::optRead | files::optNoCache);
  if (r == 0) {
    iolist::TextFormat format;
    format.Ending = textlines::LineEnd::Lf;
    format.Charset = charset::Charset::Utf8;
    r = iolist::TextWrite(to, lines, "", files::optRewrite | files::optNoCache, format);
  }
  listman::ListDisposeAll(lines);
  if (r != 0) app::ReportFileError(N_("Error writing file %s #%s!"), to, r);
  return r == 0;
}

// A shipped data file: beside the program, or in an installation's data
// folder; empty when neither holds it.
std::string Shipped(const std::string& name) {
  std::string beside = paths::DirOf(paths::ProgramPath()) + name;
  if (files::FileExists(beside)) return beside;
  const std::string installed = paths::InstalledDataFolder();
  return !installed.empty() && files::FileExists(installed + name) ? installed + name : "";
}

// A shipped example begin or end text: in the build's examples folder or an
// installation's documentation; empty when there is none.
std::string ShippedExample(const std::string& name) {
  const std::string dir = paths::DirOf(paths::ProgramPath());
  for (const std::string& folder : {dir + "examples/", dir + "../share/doc/salvetor/examples/"}) {
    if (files::FileExists(folder + name)) return folder + name;
  }
  return "";
}

// Copies from to mine unless mine is there; false when a copy failed.
bool Put(const std::string& from, const std::string& mine) {
  if (platform::KindOf(mine) != platform::Kind::Missing) {
    Writer->Info(tr::Say("Kept: %s", {ShortStr(mine)}));
    return true;
  }
  if (from.empty()) return true;
  if (!CopyAsUtf8(from, mine)) return false;
  Writer->Info(tr::Say("Written: %s", {ShortStr(mine)}));
  return true;
}

}  // namespace

bool InitUserFolder() {
  const std::string folder = paths::UserFolder();
  if (!folder.empty()) paths::MakePath(folder);
  if (folder.empty() || !files::DirExists(folder)) {
    Writer->ErrorLine(tr::Say("Cannot make the folder %s!",
                              {ShortStr(folder.empty() ? "~/.config/salvetor" : folder)}));
    return false;
  }
  bool ok = true;
  for (const std::string& name : ShippedFiles()) ok = Put(Shipped(name), folder + name) && ok;
  // The example begin and end texts go in under names no run reads: as
  // they are they would put the example's words into every reply. Renamed
  // to salvetor.beg and salvetor.end they take effect.
  for (const char* ext : {".beg", ".end"}) {
    const std::string name = paths::ProgramFileName(ext);
    ok = Put(ShippedExample("salvetor" + std::string(ext)), folder + name + ".example") && ok;
  }
  return ok;
}

}  // namespace userdata
