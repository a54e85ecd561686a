#include <windows.h>

#include <string>

#include "platform/locale.h"

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

}  // namespace platform
