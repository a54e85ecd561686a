#include <windows.h>

#include <string>

#include "platform/locale.h"
#include "platform/wide_win32.h"

namespace platform {

// The OEM code page names the charset on Windows: it is the one message
// editors hand text over in.
std::string LocaleCodeset() {
  switch (const UINT page = GetOEMCP()) {
    case 65001: return "UTF-8";
    case 20866: return "KOI8-R";
    default: return "CP" + std::to_string(page);
  }
}

// The language of the user's Windows interface ("ru", "en", ...).
std::vector<std::string> MessageLanguages() {
  wchar_t name[16] = {};
  const LCID id = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (GetLocaleInfoW(id, LOCALE_SISO639LANGNAME, name, 16) == 0) return {};
  return {Utf8(name)};
}

}  // namespace platform
