#include "textlib/msgtext.h"

#include "textlib/iolist.h"
#include "textlib/lines.h"
#include "textlib/paths.h"

namespace msgtext {

using namespace shortstr;

const ShortStr& LanguageCode() {
  static const ShortStr code("RUS");
  return code;
}

ShortStr MsgText(const ShortStr& key, const ShortStr& language) {
  return MsgTextArgs(key, "", "", language);
}

ShortStr MsgTextArgs(const ShortStr& key, const ShortStr& first, const ShortStr& second,
                     const ShortStr& language) {
  ShortStr lang = Copy(language, 1, 3);
  const std::string name = paths::ProgramDataFile("." + lang.Std());
  iolist::CacheEntry* entry = nullptr;
  if (!iolist::TextCacheFind(name, entry)) iolist::TextCacheLoad(name, files::optRead, entry);
  ShortStr text = MsgFind(Copy(key, 1, 12), entry != nullptr ? entry->Lines : nullptr);
  text = ReplaceText(text, "%1", first);
  return ReplaceText(text, "%2", second);
}

ShortStr MsgFind(const ShortStr& key, listman::List* list) {
  if (list == nullptr) return {};
  ShortStr k = Copy(UpCaseStr(key), 1, 12) + ShortStr(",");
  for (std::int32_t i = 1; i <= list->Count; ++i) {
    ShortStr line = lines::LineAt(list, i);
    if (Pos(k, UpCaseStr(RemoveSpaces(line))) == 1) return ExtractField(line, 2);
  }
  return {};
}

}  // namespace msgtext
