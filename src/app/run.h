// The program's run: banner, options, data files, the stages in their fixed
// order, the summary and the one end step that every path reaches.
#pragma once

namespace run {

// Runs the program once; never returns (the end step halts with 0).
[[noreturn]] void RunProgram();

}  // namespace run
