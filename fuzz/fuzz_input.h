// Helpers shared by the fuzz targets: fuzzed bytes to short strings and to
// line lists, the latter by the reading rules of text files.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "textlib/lines.h"
#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace fuzz {

inline shortstr::ShortStr Str(FuzzedDataProvider& in) {
  return shortstr::ShortStr(in.ConsumeRandomLengthString(300));
}

// Lines of bytes: CR ends a line (an LF after it belongs to it), Ctrl-Z
// ends the text, lines are cut at 255 bytes.
inline listman::List* Lines(const std::string& bytes) {
  listman::List* list = nullptr;
  listman::ListCreate(list);
  shortstr::ShortStr line;
  bool any = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == 0x1A) break;
    any = true;
    if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      lines::LineAdd(list, line);
      line = shortstr::ShortStr();
      any = false;
      continue;
    }
    line.AppendChar(c);
  }
  if (any) lines::LineAdd(list, line);
  return list;
}

inline listman::List* Lines(FuzzedDataProvider& in, size_t max) {
  return Lines(in.ConsumeRandomLengthString(max));
}

}  // namespace fuzz
