#include "console/keyb.h"

#include "platform/output.h"
#include "platform/terminal.h"

namespace keyb {

bool KeyWaiting() {
  platform::OutFlush();  // what was printed is seen before a key is awaited
  platform::KeyEvent key;
  return platform::KeyPeek(key);
}

unsigned char ReadKeyChar() {
  platform::OutFlush();
  platform::KeyEvent key;
  if (!platform::KeyTake(key)) return 0;
  return static_cast<unsigned char>(key.Char);
}

std::int32_t ReadKeyCode() {
  platform::OutFlush();  // what was printed is seen before a key is awaited
  platform::KeyEvent key;
  while (platform::KeyTake(key)) {
    if (key.Modified) continue;
    return key.Char != 0 ? key.Char : -key.Scan;
  }
  return 0;
}

void DiscardKeys() {
  while (KeyWaiting()) ReadKeyChar();
}

void WaitForKey() {
  platform::OutFlush();
  platform::KeyWait();
}

void PauseForKey() {
  platform::OutFlush();  // what was printed is seen before a key is awaited
  DiscardKeys();
  WaitForKey();
  DiscardKeys();
}

void QuietBegin() { platform::TerminalQuiet(true); }

void QuietEnd() { platform::TerminalQuiet(false); }

}  // namespace keyb
