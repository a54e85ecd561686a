// The console module: standard output, text colours and the set-up and
// shut-down of the console around the run. Colours are the 16 console colours (7 light grey,
// 12 light red, 14 yellow, 15 white); on a terminal they become ANSI
// sequences, on a file or pipe nothing.
#pragma once

#include <cstdint>

#include "textlib/charset.h"
#include "textlib/shortstr.h"

namespace console {

// The console colours the program uses.
inline constexpr std::uint8_t kBlue = 1;
inline constexpr std::uint8_t kGreen = 2;
inline constexpr std::uint8_t kCyan = 3;
inline constexpr std::uint8_t kLightGrey = 7;  // the console's normal colour
inline constexpr std::uint8_t kLightRed = 12;
inline constexpr std::uint8_t kYellow = 14;
inline constexpr std::uint8_t kWhite = 15;

// Current attribute: low 4 bits foreground, next 4 background.
extern std::uint16_t TextAttribute;
extern std::uint16_t InitialAttribute;

// Start-up: guards the standard streams and learns what standard output is.
void ConsoleSetup();
// End: restores the start-up colours.
void ConsoleShutdown();
// Replaces the foreground (colour AND 0x0F) and keeps the background.
void SetTextColour(std::uint8_t colour);
void RestoreTextAttribute();

// Writes out what a file or pipe has waiting (a terminal gets every line at
// once); the end, the key waits and the fatal path call it.
void Flush();
// Re-opens the standard output channel (/StdOut).
void ResetOutput();
// Writes the bytes to standard output and flushes them.
void WriteOut(const shortstr::ShortStr& text);
// A line of text and CR LF; on a terminal its control characters show as ^X.
void WriteOutLn(const shortstr::ShortStr& text);
// The escapes of the run's text, so that a character it holds is shown as
// itself (the run hands its table over once it has one; none: bytes are
// CP866).
void ShowEscapesWith(const charset::EscapeTable* escapes);
const charset::EscapeTable* EscapesShown();

}  // namespace console
