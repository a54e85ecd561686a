#include "app/userdata.h"

#include <string>
#include <vector>

#include "app/context.h"
#include "console/writer.h"
#include "platform/files.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/paths.h"

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
  if (r != 0) app::ReportFileError("Error writing file ", to, r);
  return r == 0;
}

}  // namespace

bool InitUserFolder() {
  const std::string folder = paths::UserFolder();
  if (!folder.empty()) paths::MakePath(folder);
  if (folder.empty() || !files::DirExists(folder)) {
    Writer->ErrorLine(ShortStr("Cannot make the folder ") + ShortStr(folder.empty() ? "~/.config/salvetor" : folder) +
                      ShortStr("!"));
    return false;
  }
  const std::string shipped = paths::DirOf(paths::ProgramPath());
  bool ok = true;
  for (const std::string& name : ShippedFiles()) {
    const std::string mine = folder + name;
    if (platform::KindOf(mine) != platform::Kind::Missing) {
      Writer->Info(ShortStr("Kept: ") + ShortStr(mine));
    } else if (files::FileExists(shipped + name)) {
      if (CopyAsUtf8(shipped + name, mine)) Writer->Info(ShortStr("Written: ") + ShortStr(mine));
      else ok = false;
    }
  }
  return ok;
}

}  // namespace userdata
