#include "app/result.h"

#include "app/appinfo.h"
#include "app/pipes.h"
#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "textlib/tr.h"

namespace result {

using namespace shortstr;

ShortStr KludgeLine() {
  const appinfo::AppInfoRec& info = appinfo::AppInfo();
  return Copy(ShortStr("\x01") + info.AppTitle + ShortStr(": ") + info.AppVersion + ShortStr(" ") +
                  info.AppDate,
              1, 35);
}

bool WriteResult(app::RunContext& run) {
  lines::LineInsert(run.Text.Lines, KludgeLine(), 1);
  if (run.Options.DryRun || run.ToStdout) {
    return pipes::Deliver(run, iolist::TextBytes(run.Text.Lines, run.Text.Format));
  }
  int r = iolist::TextWrite(run.OutputName, run.Text.Lines, "",
                            files::optRewrite | files::optBackup, run.Text.Format);
  if (r != 0) app::ReportFileError(N_("Error writing file %s #%s!"), run.OutputName, r);
  return r == 0;
}

}  // namespace result
