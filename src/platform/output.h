// Standard output of the process. Bytes are the program's CP866 text; on a
// terminal they are recoded to UTF-8 when the locale asks for it and colours
// become ANSI sequences; on a file or pipe the bytes go out unchanged.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Start-up, before any file is opened: a standard stream the parent left
// closed gets a stand-in, so that no file of the run takes its number;
// ResultWrite then fails as the closed stream would.
void GuardStandardStreams();
// Writes the bytes and flushes them. Errors are ignored.
void OutWrite(std::string_view bytes);
// Writes a line of text and CR LF; on a terminal its control characters
// (below 32, and 127) are shown as ^X instead of acting on the terminal.
// Allocates nothing: safe in a signal handler once output is known.
void OutWriteLine(std::string_view text);
// OutWriteLine of text given as Unicode characters: a terminal (a console)
// that can show them gets them as they are; elsewhere each goes out as its
// CP866 byte, or '?' when CP866 lacks it.
void OutWriteLineUnicode(std::u32string_view text);
// Sets the foreground colour (0..15) on a colour terminal; nothing elsewhere.
void OutSetColour(int colour);
// Resets the terminal's colours; nothing when no colour was ever written.
void OutResetColours();
// Writes out what waits in the buffer of a file or pipe (a terminal has
// none). Safe in a signal handler.
void OutFlush();
// Re-reads what standard output is (terminal or not, locale).
void OutReset();
// From now on console text goes to standard error (standard output then
// carries a result or a diff).
void OutToStandardError();
// Writes bytes to standard output unchanged and unbuffered, all of them;
// false on a write error.
bool ResultWrite(std::string_view bytes);
// Tests: collect every written byte in sink instead (nullptr restores).
void OutCapture(std::string* sink);

}  // namespace platform
