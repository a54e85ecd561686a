// The keyboard of a terminal on standard input. While a key operation runs
// the terminal is in non-canonical, no-echo mode (restored afterwards, and
// on Ctrl-C before the default action). Escape sequences are decoded into
// keys: F1-F10 are keys without a character with scan codes 59-68; a key
// sent with Shift, Ctrl or Alt is marked as modified.
#pragma once

#include <deque>
#include <string>

namespace platform {

struct KeyEvent {
  int Char = 0;           // character byte, 0 for a key without one
  int Scan = 0;           // scan code of a key without a character
  bool Modified = false;  // pressed with Shift, Ctrl or Alt
};

bool StdinIsTerminal();
// On: the terminal stays in non-canonical, no-echo mode until it is turned
// off (restored on Ctrl-C too). Nothing happens when input is no terminal.
void TerminalQuiet(bool on);
// True when a decoded key is waiting; never blocks.
bool KeyPeek(KeyEvent& key);
// Takes the next key, waiting for one. False when input has ended.
bool KeyTake(KeyEvent& key);
// Waits until a key is waiting (it stays queued). False when input ended.
bool KeyWait();

// Decodes complete keys from the front of bytes into keys. With final set,
// a lone Esc at the end is a key; otherwise an unfinished sequence stays.
void DecodeKeys(std::string& bytes, std::deque<KeyEvent>& keys, bool final);

}  // namespace platform
