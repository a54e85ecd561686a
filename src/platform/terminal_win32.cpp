// The keyboard of a Windows console: key events read with the console input
// calls. F1-F10 arrive as their scan codes 59-68; characters as CP866 bytes.
#include <windows.h>

#include <deque>
#include <string>

#include "platform/terminal.h"
#include "platform/wide_win32.h"

namespace platform {
namespace {

std::deque<KeyEvent>& Queued() {
  static std::deque<KeyEvent> keys;
  return keys;
}

HANDLE Input() { return GetStdHandle(STD_INPUT_HANDLE); }

DWORD savedMode = 0;
bool quiet = false;

BOOL WINAPI OnControl(DWORD) {
  // Ctrl-C or Ctrl-Break while quiet: the input mode is put back, then the
  // default action ends the process.
  if (quiet) SetConsoleMode(Input(), savedMode);
  return FALSE;
}

bool IsModifierKey(WORD vk) {
  return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_CAPITAL || vk == VK_NUMLOCK ||
         vk == VK_SCROLL || vk == VK_LWIN || vk == VK_RWIN;
}

// A key-down event as a key; false for events that are no key press.
bool Translate(const INPUT_RECORD& record, KeyEvent& key) {
  if (record.EventType != KEY_EVENT) return false;
  const KEY_EVENT_RECORD& k = record.Event.KeyEvent;
  if (!k.bKeyDown || IsModifierKey(k.wVirtualKeyCode)) return false;
  const DWORD state = k.dwControlKeyState;
  const bool ctrlOrAlt = (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED | LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
  key = KeyEvent();
  if (k.uChar.UnicodeChar != 0) {
    const unsigned char b = Cp866Byte(k.uChar.UnicodeChar);
    key.Char = b != 0 ? b : '?';
    // As on a terminal: Shift only makes another character.
    key.Modified = ctrlOrAlt;
  } else {
    key.Scan = k.wVirtualScanCode;
    key.Modified = ctrlOrAlt || (state & SHIFT_PRESSED) != 0;
  }
  return true;
}

// Moves the waiting input events into keys; never blocks.
void Collect() {
  HANDLE in = Input();
  DWORD count = 0;
  while (GetNumberOfConsoleInputEvents(in, &count) && count > 0) {
    INPUT_RECORD records[32];
    DWORD got = 0;
    if (!ReadConsoleInputW(in, records, 32, &got) || got == 0) return;
    for (DWORD i = 0; i < got; ++i) {
      KeyEvent key;
      if (!Translate(records[i], key)) continue;
      const WORD repeat = records[i].Event.KeyEvent.wRepeatCount;
      for (WORD r = 0; r < (repeat > 0 ? repeat : 1); ++r) Queued().push_back(key);
    }
  }
}

}  // namespace

bool StdinIsTerminal() { return IsConsole(Input()); }

void TerminalQuiet(bool on) {
  if (on == quiet || !StdinIsTerminal()) return;
  if (on) {
    if (!GetConsoleMode(Input(), &savedMode)) return;
    SetConsoleCtrlHandler(OnControl, TRUE);
    SetConsoleMode(Input(), savedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT | ENABLE_LINE_INPUT));
    quiet = true;
  } else {
    SetConsoleMode(Input(), savedMode);
    SetConsoleCtrlHandler(OnControl, FALSE);
    quiet = false;
  }
}

bool KeyPeek(KeyEvent& key) {
  if (!StdinIsTerminal()) return false;
  if (Queued().empty()) Collect();
  if (Queued().empty()) return false;
  key = Queued().front();
  return true;
}

bool KeyTake(KeyEvent& key) {
  if (!KeyWait()) return false;
  key = Queued().front();
  Queued().pop_front();
  return true;
}

bool KeyWait() {
  if (!StdinIsTerminal()) return false;
  while (Queued().empty()) {
    if (WaitForSingleObject(Input(), INFINITE) != WAIT_OBJECT_0) return false;
    Collect();
  }
  return true;
}

}  // namespace platform
