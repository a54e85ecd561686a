// Escape-sequence decoding of terminal keys; no operating-system calls.
#include <cstdlib>
#include <string>

#include "platform/terminal.h"

namespace platform {
namespace {

constexpr char kEsc = 0x1B;

KeyEvent Plain(unsigned char c) {
  KeyEvent k;
  k.Char = c;
  // Control bytes other than Backspace, Tab, LF and Enter come from keys
  // pressed with Ctrl.
  k.Modified = c >= 1 && c <= 26 && c != 8 && c != 9 && c != 10 && c != 13;
  return k;
}

KeyEvent Special(int scan, bool modified) {
  KeyEvent k;
  k.Scan = scan;
  k.Modified = modified;
  return k;
}

// Scan code of the final letter of ESC O x or ESC [ x / ESC [ 1 ; m x.
int LetterScan(char c) {
  switch (c) {
    case 'P': return 59;
    case 'Q': return 60;
    case 'R': return 61;
    case 'S': return 62;
    case 'A': return 72;
    case 'B': return 80;
    case 'C': return 77;
    case 'D': return 75;
    case 'H': return 71;
    case 'F': return 79;
    default: return 0;
  }
}

// Scan code of ESC [ n ~.
int TildeScan(int n) {
  switch (n) {
    case 11: return 59;
    case 12: return 60;
    case 13: return 61;
    case 14: return 62;
    case 15: return 63;
    case 17: return 64;
    case 18: return 65;
    case 19: return 66;
    case 20: return 67;
    case 21: return 68;
    case 1: case 7: return 71;
    case 2: return 82;
    case 3: return 83;
    case 4: case 8: return 79;
    case 5: return 73;
    case 6: return 81;
    default: return 0;
  }
}

// Length of a complete CSI sequence at the front (ESC [ ...), 0 when it is
// not finished yet.
size_t CsiLength(const std::string& b) {
  for (size_t i = 2; i < b.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(b[i]);
    if (c >= 0x40 && c <= 0x7E) return i + 1;
  }
  return 0;
}

KeyEvent DecodeCsi(const std::string& seq) {
  // seq: ESC [ params final
  std::string params = seq.substr(2, seq.size() - 3);
  char final = seq.back();
  bool modified = params.find(';') != std::string::npos;
  if (final == '~') return Special(TildeScan(static_cast<int>(std::strtol(params.c_str(), nullptr, 10))), modified);
  return Special(LetterScan(final), modified);
}

}  // namespace

void DecodeKeys(std::string& b, std::deque<KeyEvent>& keys, bool final) {
  while (!b.empty()) {
    if (b[0] != kEsc) {
      keys.push_back(Plain(static_cast<unsigned char>(b[0])));
      b.erase(0, 1);
      continue;
    }
    if (b.size() == 1) {
      if (!final) return;
      keys.push_back(Plain(kEsc));
      b.erase(0, 1);
      continue;
    }
    char second = b[1];
    if (second == '[' && b.size() >= 3 && b[2] == '[') {  // Linux console F1-F5
      if (b.size() < 4) {
        if (!final) return;
        b.erase(0, 3);
        continue;
      }
      char c = b[3];
      keys.push_back(Special(c >= 'A' && c <= 'E' ? 59 + (c - 'A') : 0, false));
      b.erase(0, 4);
    } else if (second == '[') {
      size_t n = CsiLength(b);
      if (n == 0) {
        if (!final) return;
        b.clear();
        continue;
      }
      keys.push_back(DecodeCsi(b.substr(0, n)));
      b.erase(0, n);
    } else if (second == 'O') {
      if (b.size() < 3) {
        if (!final) return;
        b.clear();
        continue;
      }
      size_t n = 3;
      bool modified = false;
      while (n <= b.size() && b[n - 1] >= '0' && b[n - 1] <= '9') ++n, modified = true;
      if (n > b.size()) {
        if (!final) return;
        b.clear();
        continue;
      }
      keys.push_back(Special(LetterScan(b[n - 1]), modified));
      b.erase(0, n);
    } else {
      // Esc followed by a key: that key pressed with Alt.
      KeyEvent k = Plain(static_cast<unsigned char>(second));
      k.Modified = true;
      keys.push_back(k);
      b.erase(0, 2);
    }
  }
}

}  // namespace platform
