#include "app/appinfo.h"

namespace appinfo {

AppInfoRec& AppInfo() {
  static AppInfoRec info;
  return info;
}

void AppInfoSet(const ShortStr& title, const ShortStr& version, const ShortStr& date) {
  AppInfo().AppTitle = shortstr::Copy(title, 1, 36);
  AppInfo().AppVersion = shortstr::Copy(version, 1, 12);
  AppInfo().AppDate = shortstr::Copy(date, 1, 12);
}

}  // namespace appinfo
