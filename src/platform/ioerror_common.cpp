// The pending I/O error, one per thread, as every system's file calls leave it.
#include "platform/files.h"

namespace platform {
namespace {

thread_local int pending = 0;

}  // namespace

int IoResult() {
  const int code = pending;
  pending = 0;
  return code;
}

void IoSet(int code) { pending = code; }

}  // namespace platform
