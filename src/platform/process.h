// The process: how it ends, fatal faults, the wait for Enter, standard error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using FatalHandler = void (*)(int code, std::uint32_t address);

// Turns SIGSEGV/SIGBUS into code 216 and SIGFPE into 200, with the offset of
// the faulting instruction inside the program's image, and calls handler.
// Also ignores SIGXFSZ, so that a file-size limit is an ordinary write error.
void InstallFatalHandlers(FatalHandler handler);
// Offset of a code address inside the program's own image, to 32 bits.
std::uint32_t CodeOffset(const void* address);
// The offset of the call site of the function this is inlined into.
[[gnu::always_inline]] inline std::uint32_t CallerOffset() { return CodeOffset(__builtin_return_address(0)); }
// The command-line arguments after the program's own name, as UTF-8 on
// Windows (taken from the UTF-16 command line), as given elsewhere.
std::vector<std::string> CommandArguments(int argc, char** argv);
// The system this build is for, as the banner names it ("POSIX", "Windows").
const char* SystemName();
// True for a command-line argument that is a file name, not an option.
bool IsPositionalArgument(const std::string& arg);
// Reads one line from standard input when it is a terminal; else returns.
void WaitForEnter();
void ErrWrite(std::string_view bytes);
[[noreturn]] void ProcessExit(int code);

}  // namespace platform
