// Word and field extraction on arbitrary bytes and numbers.
#include <cstdint>

#include "fuzz_input.h"

using namespace shortstr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ShortStr text = fuzz::Str(in);
  ShortStr set = fuzz::Str(in);
  int n = in.ConsumeIntegralInRange(-2, 300);
  int k = n;
  ShortStr word = ExtractWord(text, k, CharSet(set.View()));
  if (word.len > text.len || (k != n && k != -1)) __builtin_trap();
  if (ExtractField(text, n).len > text.len) __builtin_trap();
  ExtractToken(text, n);
  ExtractBlankWord(text, n);
  Unquote(text);
  return 0;
}
