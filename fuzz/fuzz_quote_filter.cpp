// The quote filter on arbitrary messages, pattern lists, windows and flags.
#include <cstdint>
#include <string>

#include "filter/quote_filter.h"
#include "fuzz_input.h"
#include "platform/output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string sink;
  platform::OutCapture(&sink);
  listman::List* patterns = fuzz::Lines(in, 2000);
  listman::List* extra = in.ConsumeBool() ? fuzz::Lines(in, 500) : nullptr;
  int first = in.ConsumeIntegralInRange(-5, 100);
  int last = in.ConsumeIntegralInRange(-5, 100);
  int flags = in.ConsumeIntegral<int>();
  listman::List* message = fuzz::Lines(in.ConsumeRemainingBytesAsString());
  int before = message->Count;
  quote_filter::QuoteFilter(message, patterns, extra, first, last, flags);
  if (message->Count > before) __builtin_trap();
  for (listman::List* l : {message, patterns, extra}) {
    if (l != nullptr) listman::ListDisposeAll(l);
  }
  platform::OutCapture(nullptr);
  return 0;
}
