#include <langinfo.h>

#include <clocale>

#include "platform/locale.h"

namespace platform {

std::string LocaleCodeset() {
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr ? codeset : "";
}

}  // namespace platform
