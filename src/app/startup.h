// The start-up sequence that every module needs before the program's own
// code, run explicitly and in this order as the first step of main.
#pragma once

namespace startup {

// File registry, console, exit procedures, text cache (release registered),
// default options, ErrorDone at position 1, the log.
void StartUp(int argc, char** argv);

}  // namespace startup
