#include "textlib/tr.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/locale.h"
#include "textlib/iolist.h"
#include "textlib/paths.h"

namespace tr {

namespace {

// English text to its translation, in CP866 as the catalogue is built.
std::unordered_map<std::string, std::string>& Catalogue() {
  static std::unordered_map<std::string, std::string> texts;
  return texts;
}

std::uint32_t Word32(std::string_view bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 4) return 0;
  std::uint32_t w = 0;
  for (std::size_t i = 4; i-- > 0;) w = (w << 8) | static_cast<unsigned char>(bytes[at + i]);
  return w;
}

// Entry i of a table of (length, offset) pairs; empty when it points
// outside the file.
std::string_view Entry(std::string_view bytes, std::uint32_t table, std::uint32_t i) {
  const std::size_t at = static_cast<std::size_t>(table) + 8U * i;
  const std::uint32_t length = Word32(bytes, at);
  const std::uint32_t offset = Word32(bytes, at + 4);
  if (offset > bytes.size() || length > bytes.size() - offset) return {};
  return bytes.substr(offset, length);
}

}  // namespace

bool UseCatalogue(std::string_view bytes) {
  Catalogue().clear();
  if (Word32(bytes, 0) != 0x950412deU) return false;
  const std::uint32_t count = Word32(bytes, 8);
  for (std::uint32_t i = 0; i < count && i < bytes.size() / 8; ++i) {
    const std::string_view english = Entry(bytes, Word32(bytes, 12), i);
    const std::string_view shown = Entry(bytes, Word32(bytes, 16), i);
    if (!english.empty() && !shown.empty()) Catalogue().emplace(english, shown);
  }
  return true;
}

namespace {

// "ru_RU.UTF-8@mod" is looked for as "ru_RU", then "ru". English (which
// the program speaks without a catalogue) ends the search.
bool LoadLanguage(const std::string& folder, std::string_view language, bool& english) {
  language = language.substr(0, language.find_first_of(".@"));
  const std::string_view base = language.substr(0, language.find('_'));
  if (base == "en" || base == "C" || base == "POSIX") {
    english = true;
    return false;
  }
  for (std::string_view name : {language, base}) {
    std::string bytes;
    const std::string file =
        paths::AddBackslash(paths::AddBackslash(folder + std::string(name)) + "LC_MESSAGES") +
        "salvetor.mo";
    if (iolist::TextRead(file, bytes) == 0 && UseCatalogue(bytes)) return true;
  }
  return false;
}

const char* Shown(const char* english) {
  if (Catalogue().empty()) return english;  // English: nothing to look up
  const auto found = Catalogue().find(english);
  return found == Catalogue().end() ? english : found->second.c_str();
}

ShortStr Fill(std::string_view format, std::initializer_list<ShortStr> args) {
  ShortStr out;
  std::size_t next = 0;
  auto argument = [&args](std::size_t i) -> const ShortStr* {
    return i < args.size() ? args.begin() + i : nullptr;
  };
  while (!format.empty()) {
    // The text up to the next directive goes in whole.
    const std::size_t percent = format.find('%');
    out.Append(format.substr(0, percent));
    if (percent == std::string_view::npos) break;
    const std::string_view rest = format.substr(percent);
    const ShortStr* arg = nullptr;
    std::size_t used = 1;
    if (rest.starts_with("%%")) {
      out.Append(std::string_view("%"));
      used = 2;
    } else if (rest.starts_with("%s")) {
      arg = argument(next++);
      used = 2;
    } else if (rest.size() >= 4 && rest[1] >= '1' && rest[1] <= '9' && rest.substr(2, 2) == "$s") {
      arg = argument(static_cast<std::size_t>(rest[1] - '1'));
      used = 4;
    } else {
      out.Append(std::string_view("%"));
    }
    if (arg != nullptr) out.Append(*arg);
    format.remove_prefix(percent + used);
  }
  return out;
}

}  // namespace

void TrInit() {
  Catalogue().clear();
  const std::string folder = paths::LocaleFolder();
  if (folder.empty()) return;
  bool english = false;
  for (const std::string& language : platform::MessageLanguages()) {
    if (LoadLanguage(folder, language, english) || english) return;
  }
}

ShortStr Tr(const char* english) { return ShortStr(Shown(english)); }

ShortStr Format(const char* format, std::initializer_list<ShortStr> args) {
  return Fill(Shown(format), args);
}

Text Say(const char* english) { return Text(ShortStr(english), Tr(english)); }

Text Say(const char* format, std::initializer_list<ShortStr> args) {
  const char* shown = Shown(format);
  const ShortStr english = Fill(format, args);
  return Text(english, shown == format ? english : Fill(shown, args));
}

}  // namespace tr
