#include <langinfo.h>

#include <clocale>
#include <cstdlib>
#include <string_view>

#include "platform/locale.h"

namespace platform {

std::string LocaleCodeset() {
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr ? codeset : "";
}

namespace {
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}
}  // namespace

// As gettext chooses: the messages locale is the first set of LC_ALL,
// LC_MESSAGES and LANG; in the C locale messages stay English, otherwise
// the list in LANGUAGE comes before it.
std::vector<std::string> MessageLanguages() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = Variable(name);
    if (!locale.empty()) break;
  }
  if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return {};
  std::vector<std::string> languages;
  const std::string all = Variable("LANGUAGE");
  std::string_view list = all;
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    if (colon != 0) languages.emplace_back(list.substr(0, colon));
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  languages.push_back(locale);
  return languages;
}

}  // namespace platform
