#include "app/defopt.h"

#include "textlib/option.h"

namespace defopt {

bool DebugFlag = false;
bool HelpFlag = false;

void DefOptInit() {
  DebugFlag = option::OptionPresent("/Debug");
  HelpFlag = option::OptionPresent("/Help") || option::OptionPresent("/?");
}

}  // namespace defopt
