// DefOpt: the default-option flags, computed once at start-up.
#pragma once

namespace defopt {

extern bool DebugFlag;  // /Debug given
extern bool HelpFlag;   // /Help, /?, --help or -h given

void DefOptInit();

}  // namespace defopt
