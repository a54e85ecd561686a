// AppInfo: the program's title, version and date, read by the banner and
// the kludge line.
#pragma once

#include "textlib/shortstr.h"

namespace appinfo {

using shortstr::ShortStr;

struct AppInfoRec {
  ShortStr AppTitle;    // at most 36
  ShortStr AppVersion;  // at most 12
  ShortStr AppDate;     // at most 12
};

AppInfoRec& AppInfo();
// Copies each text, cut to its field's length.
void AppInfoSet(const ShortStr& title, const ShortStr& version, const ShortStr& date);

}  // namespace appinfo
