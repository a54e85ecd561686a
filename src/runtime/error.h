// Error: how the program leaves. ErrorDone runs last of the exit procedures:
// after a normal end it prints the shutdown line with the exit code; after a
// fatal run-time error it appends a failure report to the program's ".err"
// file, prints the error with its address and source line (from the ".map"
// file), and waits for Enter on a terminal.
#pragma once

#include <cstdint>
#include <string>

#include "textlib/shortstr.h"

namespace error {

using shortstr::ShortStr;

extern bool ErrorEnglish;
extern bool ErrorShow;
extern bool ErrorWriteReport;
extern bool ErrorClearFault;
// What ErrorDone reads: the exit code and the fault address (0: no fault).
extern std::int32_t ExitCode;
extern std::uint32_t FaultAddress;

// Start-up: ErrorDone at position 1 of the exit procedures; what a fault
// caught as a signal needs is prepared, so that its handler writes the
// report and the message with async-signal-safe calls only.
void ErrorInit();
void ErrorDone();
// Appends the five-line report block to the ".err" file; silent on failure.
void ErrorReport(std::int32_t code, const ShortStr& text, const ShortStr& title,
                 std::uint32_t address);
// Source line of address from a map file (empty name: the program's);
// 0 when not found, the I/O error negated when the file cannot be read.
std::int32_t MapLineLookup(const std::string& name, std::uint32_t address, ShortStr& module);
// Ends the program: exit procedures newest first (ErrorDone last), console
// shut-down, then the exit code as ErrorDone left it.
[[noreturn]] void Halt(std::int32_t code);
// A fatal run-time error with the given code at address.
[[noreturn]] void RunErrorAt(std::int32_t code, std::uint32_t address);
// A fatal run-time error at the caller.
[[noreturn]] void RunError(std::int32_t code);

}  // namespace error
