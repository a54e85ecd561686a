// Console keys on Windows: input events written into the console's input
// buffer and read back as keys. Skipped where no console can be opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/terminal.h"

namespace {

INPUT_RECORD Key(WORD scan, wchar_t ch, DWORD state = 0, BOOL down = TRUE, WORD vk = 0) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = down;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = vk;
  r.Event.KeyEvent.wVirtualScanCode = scan;
  r.Event.KeyEvent.uChar.UnicodeChar = ch;
  r.Event.KeyEvent.dwControlKeyState = state;
  return r;
}

TEST(ConsoleKeys, EventsBecomeKeysAsOnATerminal) {
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no console to write input events to";
  HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
  SetStdHandle(STD_INPUT_HANDLE, in);
  FlushConsoleInputBuffer(in);
  const std::vector<INPUT_RECORD> events = {
      Key(59, 0),                           // F1
      Key(59, 0, 0, FALSE),                 // its release: no key
      Key(42, 0, SHIFT_PRESSED, TRUE, VK_SHIFT),  // Shift alone: no key
      Key(60, 0, SHIFT_PRESSED),            // Shift+F2
      Key(68, 0),                           // F10
      Key(1, 27),                           // Esc
      Key(30, L'a'),                        // a
      Key(30, L'A', SHIFT_PRESSED),         // Shift only makes another letter
      Key(30, 1, LEFT_CTRL_PRESSED),        // Ctrl+A
      Key(35, L'\u041d'),                   // Cyrillic capital En
      Key(44, L'z'),                        // the last: nothing came between
  };
  DWORD written = 0;
  const bool ok = WriteConsoleInputW(in, events.data(), static_cast<DWORD>(events.size()), &written);
  if (!ok || written != events.size()) {
    SetStdHandle(STD_INPUT_HANDLE, saved);
    CloseHandle(in);
    GTEST_SKIP() << "the console takes no input events here";
  }
  struct Want {
    int ch, scan;
    bool modified;
  } const want[] = {{0, 59, false}, {0, 60, true}, {0, 68, false}, {27, 0, false},
                    {'a', 0, false}, {'A', 0, false}, {1, 0, true}, {0x8D, 0, false},
                    {'z', 0, false}};
  for (const Want& w : want) {
    platform::KeyEvent key;
    ASSERT_TRUE(platform::KeyTake(key));
    EXPECT_EQ(key.Char, w.ch);
    EXPECT_EQ(key.Scan, w.scan);
    EXPECT_EQ(key.Modified, w.modified) << w.ch << " " << w.scan;
  }
  SetStdHandle(STD_INPUT_HANDLE, saved);
  CloseHandle(in);
}

}  // namespace
