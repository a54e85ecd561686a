// Test helpers: line lists from texts and back.
#pragma once

#include <string>
#include <vector>

#include "textlib/lines.h"

namespace lines {

inline List* MakeLines(const std::vector<ShortStr>& items) {
  List* list = nullptr;
  listman::ListCreate(list);
  for (const ShortStr& s : items) LineAdd(list, s);
  return list;
}

inline std::vector<std::string> LineTexts(List* list) {
  std::vector<std::string> out;
  for (std::int32_t i = 1; i <= LineCount(list); ++i) out.push_back(LineAt(list, i).Std());
  return out;
}

}  // namespace lines
