// DefOpt: the default-option flags, computed once at start-up.
#pragma once

namespace defopt {

extern bool DebugFlag;  // /Debug given
extern bool HelpFlag;   // /Help or /? given

void DefOptInit();

}  // namespace defopt
