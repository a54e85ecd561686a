#include "console/keyb.h"

#include "platform/terminal.h"

namespace keyb {

bool KeyWaiting() {
  platform::KeyEvent key;
  return platform::KeyPeek(key);
}

unsigned char ReadKeyChar() {
  platform::KeyEvent key;
  if (!platform::KeyTake(key)) return 0;
  return static_cast<unsigned char>(key.Char);
}

std::int32_t ReadKeyCode() {
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

void WaitForKey() { platform::KeyWait(); }

void PauseForKey() {
  DiscardKeys();
  WaitForKey();
  DiscardKeys();
}

void QuietBegin() { platform::TerminalQuiet(true); }

void QuietEnd() { platform::TerminalQuiet(false); }

}  // namespace keyb
