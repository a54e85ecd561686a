// KeyB: the keyboard. Key codes: a positive value is the character byte, a
// negative one the negated scan code of a key without a character (F1..F10
// give -59..-68); Esc is 27. With standard input not a terminal nothing
// waits: no key is ever waiting and the reads return 0 at once.
#pragma once

#include <cstdint>

namespace keyb {

inline constexpr std::int32_t kEsc = 27;
inline constexpr std::int32_t kF1 = -59;
inline constexpr std::int32_t kF2 = -60;
inline constexpr std::int32_t kF3 = -61;

bool KeyWaiting();
// The character of the next key press (0 for a function key).
unsigned char ReadKeyChar();
// The next key pressed without Shift, Ctrl or Alt.
std::int32_t ReadKeyCode();
void DiscardKeys();
// Waits for a key press and leaves it waiting.
void WaitForKey();
// Discards waiting keys, waits for a new key press and consumes it.
void PauseForKey();
// From QuietBegin to QuietEnd a key pressed on the terminal is not echoed
// (the terminal is restored at QuietEnd, and on Ctrl-C before it acts).
void QuietBegin();
void QuietEnd();

}  // namespace keyb
