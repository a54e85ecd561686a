// The text-file reader on arbitrary file contents.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "textlib/files.h"
#include "textlib/iolist.h"
#include "textlib/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string name =
      (std::filesystem::temp_directory_path() / ("salvetor-fuzz-" + std::to_string(std::random_device()()) + ".txt"))
          .string();
  FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  listman::List* list = nullptr;
  int r = iolist::TextLoad(name, list, files::optRead | files::optNoCache);
  if (r != 0 || list == nullptr || list->Count > 65535) __builtin_trap();
  size_t total = 0;
  for (int i = 1; i <= list->Count; ++i) total += lines::LineAt(list, i).len;
  if (total > size) __builtin_trap();
  listman::ListDisposeAll(list);
  return 0;
}
