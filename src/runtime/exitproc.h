// Exit procedures: what modules register to run when the program ends. They
// run newest first, each exactly once; one inserted at position 1 runs last.
#pragma once

#include <cstdint>

namespace exitproc {

using ExitProc = void (*)();

// Creates the list; part of the start-up sequence.
void ExitProcInit();
void AddExitProc(ExitProc proc);
void InsertExitProc(ExitProc proc, std::uint16_t position);
// Calls every registered procedure newest first, then disposes of the list.
// Procedures registered while it runs are run too.
void RunExitProcs();

}  // namespace exitproc
