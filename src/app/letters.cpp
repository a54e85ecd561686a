#include "app/letters.h"

#include <cstring>
#include <span>
#include <utility>

#include "textlib/lines.h"

namespace letters {

std::int32_t LatinHAndP(listman::List* list) {
  if (listman::ListCheck(list) != 0) return -1;
  // Over the stored bytes, found with memchr: most lines hold neither.
  std::int32_t count = 0;
  for (listman::Node* node = list->First; node != nullptr; node = node->Next) {
    const std::span<unsigned char> bytes = lines::BytesOfNode(node);
    unsigned char* end = bytes.data() + bytes.size();
    for (const auto& [from, to] : {std::pair<int, unsigned char>{0x8D, 'H'}, {0xE0, 'p'}}) {  // Н, р
      for (unsigned char* at = bytes.data();
           (at = static_cast<unsigned char*>(std::memchr(at, from, static_cast<std::size_t>(end - at)))) != nullptr;
           ++at) {
        *at = to;
        ++count;
      }
    }
  }
  return count;
}

}  // namespace letters
