#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <string>

#include "platform/terminal.h"

namespace platform {
namespace {

constexpr int kSequenceWaitMs = 30;

// The keys decoded and the bytes not yet decoded, made on first use.
struct KeyState {
  std::deque<KeyEvent> queued;
  std::string pendingBytes;
};
KeyState& Keys() {
  static KeyState state;
  return state;
}
bool inputEnded = false;

termios savedMode;
volatile sig_atomic_t rawActive = 0;
struct sigaction savedInt;

void OnInterrupt(int sig) {
  if (rawActive) tcsetattr(0, TCSANOW, &savedMode);
  rawActive = 0;
  sigaction(SIGINT, &savedInt, nullptr);  // the handler before ours (or the default) acts next
  raise(sig);
}

bool EnterRaw() {
  if (tcgetattr(0, &savedMode) != 0) return false;
  termios raw = savedMode;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  struct sigaction act{};
  act.sa_handler = OnInterrupt;
  sigemptyset(&act.sa_mask);
  sigaction(SIGINT, &act, &savedInt);
  rawActive = 1;
  tcsetattr(0, TCSANOW, &raw);
  return true;
}

void LeaveRaw() {
  tcsetattr(0, TCSANOW, &savedMode);
  rawActive = 0;
  sigaction(SIGINT, &savedInt, nullptr);
}

bool quiet = false;  // TerminalQuiet holds the raw mode

// Non-canonical, no-echo mode for as long as it lives (already so while quiet).
class RawMode {
 public:
  RawMode() : active_(!quiet && EnterRaw()) {}
  ~RawMode() {
    if (active_) LeaveRaw();
  }
  RawMode(const RawMode&) = delete;
  RawMode& operator=(const RawMode&) = delete;

 private:
  bool active_;
};

bool WaitReadable(int timeoutMs) {
  pollfd p{0, POLLIN, 0};
  int r;
  do r = poll(&p, 1, timeoutMs);
  while (r < 0 && errno == EINTR);
  return r > 0;
}

// Reads what is there; false when input has ended.
bool ReadAvailable() {
  char buffer[256];
  ssize_t n = read(0, buffer, sizeof buffer);
  if (n > 0) Keys().pendingBytes.append(buffer, static_cast<size_t>(n));
  if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) inputEnded = true;
  return n > 0;
}

// Moves the bytes that wait into decoded keys; waits up to timeoutMs for
// the first byte, and briefly for the rest of an escape sequence.
void Collect(int timeoutMs) {
  if (inputEnded) return;
  RawMode raw;
  if (WaitReadable(timeoutMs)) ReadAvailable();
  for (;;) {
    DecodeKeys(Keys().pendingBytes, Keys().queued, false);
    if (Keys().pendingBytes.empty()) return;
    if (!WaitReadable(kSequenceWaitMs) || !ReadAvailable()) break;
  }
  DecodeKeys(Keys().pendingBytes, Keys().queued, true);
}

}  // namespace

bool StdinIsTerminal() { return isatty(0) == 1; }

void TerminalQuiet(bool on) {
  if (on == quiet || !StdinIsTerminal()) return;
  if (on) {
    quiet = EnterRaw();
  } else {
    LeaveRaw();
    quiet = false;
  }
}

bool KeyPeek(KeyEvent& key) {
  if (!StdinIsTerminal()) return false;
  if (Keys().queued.empty()) Collect(0);
  if (Keys().queued.empty()) return false;
  key = Keys().queued.front();
  return true;
}

bool KeyTake(KeyEvent& key) {
  if (!KeyWait()) return false;
  key = Keys().queued.front();
  Keys().queued.pop_front();
  return true;
}

bool KeyWait() {
  if (!StdinIsTerminal()) return false;
  while (Keys().queued.empty()) {
    if (inputEnded) return false;
    Collect(-1);
  }
  return true;
}

}  // namespace platform
