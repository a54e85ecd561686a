// Helpers shared by the fuzz targets: fuzzed bytes to short strings and to
// line lists, the latter by the reading rules of text files.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "textlib/lines.h"
#include "textlib/listman.h"
#include "textlib/shortstr.h"
#include "textlib/textlines.h"

namespace fuzz {

inline shortstr::ShortStr Str(FuzzedDataProvider& in) {
  return shortstr::ShortStr(in.ConsumeRandomLengthString(300));
}

// Lines of bytes by the reading rules of text files; wrap: long lines are
// wrapped as a reply's are, else cut at 255 bytes as a data file's are.
inline listman::List* Lines(const std::string& bytes, bool wrap = false) {
  listman::List* list = nullptr;
  listman::ListCreate(list);
  auto add = [&](const shortstr::ShortStr& line) { lines::LineAdd(list, line); };
  textlines::ForEachLine(textlines::WithoutEndMark(bytes), [&](std::string_view line) {
    if (wrap) textlines::WrapLine(line, add);
    else add(shortstr::ShortStr(line));
  });
  return list;
}

inline listman::List* Lines(FuzzedDataProvider& in, size_t max) {
  return Lines(in.ConsumeRandomLengthString(max));
}

}  // namespace fuzz
