// Short-string operations on arbitrary bytes, lengths and positions: none
// may read or write outside its 255 bytes or fail to end.
#include <cstdint>

#include "fuzz_input.h"

using namespace shortstr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ShortStr a = fuzz::Str(in), b = fuzz::Str(in), c = fuzz::Str(in);
  int i = in.ConsumeIntegral<int>(), n = in.ConsumeIntegral<int>();
  Pos(a, b);
  Copy(a, i, n);
  Delete(a, i, n);
  Insert(a, b, i);
  UpCaseStr(a);
  LoCaseStr(a);
  RecodeStr(a, in.ConsumeIntegralInRange(0, 3));
  PairReplace(a, b);
  FoldLookAlikes(a);
  PosNth(a, b, in.ConsumeIntegral<std::uint16_t>());
  Trim(a);
  RemoveSpaces(a);
  DeleteChars(a, CharSet(b.View()));
  int count = 0;
  ShortStr r = ReplaceAll(a, b, c, count);
  if (count > 1000 || r.len > kMaxLen) __builtin_trap();
  TildeCopy(a, i, n);
  StrToReal(a);
  NumText(in.ConsumeIntegralInRange(-300, 300), in.ConsumeFloatingPoint<double>());
  ZeroPad(in.ConsumeIntegralInRange(-300, 300), in.ConsumeFloatingPoint<double>());
  NumTextOrDash(in.ConsumeIntegralInRange(-300, 300), in.ConsumeIntegralInRange(-5, 40),
                in.ConsumeFloatingPoint<double>());
  HexVal(a);
  ParseSegOfs(a);
  FormatSegOfs(in.ConsumeIntegral<std::uint32_t>());
  return 0;
}
