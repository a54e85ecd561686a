// Decoding any bytes from a charset and encoding them back gives the same
// bytes, with escapes on as for a reply that is not CP866.
#include <cstdint>
#include <string>

#include "textlib/charset.h"
#include "textlib/units.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  using charset::Charset;
  static const Charset kAll[] = {Charset::Cp866, Charset::Utf8, Charset::Koi8r, Charset::Cp1251};
  const Charset cs = kAll[data[0] % 4];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  units::SetEscapes(true);
  charset::EscapeTable table;
  const std::string text = charset::Decode(bytes, cs, &table);
  // The decoded text is whole characters: no byte of 0xB0..0xDF outside an escape.
  for (size_t i = 0; i < text.size(); i += units::Length(text, i)) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (units::Length(text, i) == 1 && c >= units::kFirstLead && c <= units::kLastTrail)
      __builtin_trap();
  }
  if (charset::Encode(text, cs, &table) != bytes) __builtin_trap();
  return 0;
}
