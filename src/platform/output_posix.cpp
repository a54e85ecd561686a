#include <poll.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/codepages.h"
#include "platform/locale.h"
#include "platform/output.h"
#include "platform/output_common.h"

namespace platform {
namespace {

struct OutState {
  bool known = false;
  bool terminal = false;
  bool utf8 = false;
  bool colour = false;
  bool coloured = false;  // a colour was written and must be reset
  bool bold = false;      // the last colour written was bold
  // On a file or pipe the bytes gather here and go out in large writes; a
  // terminal gets each line as it happens.
  bool buffered = false;
  OutBuffer buffer;
  std::string* capture = nullptr;
  int fd = 1;  // standard output, or standard error
};

OutState& State();

// Ctrl-C or a termination request on a buffered run: what was printed goes
// out first, then the signal does what it would have done.
void OnStop(int sig) {
  OutFlush();
  signal(sig, SIG_DFL);
  raise(sig);
}

void StartBuffering(OutState& st) {
  st.buffer.Start();
  st.buffered = true;
  struct sigaction act{};
  act.sa_handler = OnStop;
  sigemptyset(&act.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old{};
    sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_DFL) sigaction(sig, &act, nullptr);
  }
}

OutState& State() {
  static OutState state;
  return state;
}

void Learn() {
  OutState& st = State();
  if (st.known) return;
  st.known = true;
  st.terminal = isatty(st.fd) == 1;
  st.buffered = false;
  if (!st.terminal) {
    StartBuffering(st);
    return;
  }
  const char* term = std::getenv("TERM");
  const char* noColour = std::getenv("NO_COLOR");  // the no-color convention
  st.colour = (term == nullptr || std::strcmp(term, "dumb") != 0) && (noColour == nullptr || *noColour == 0);
  const std::string codeset = LocaleCodeset();
  st.utf8 = codeset == "UTF-8" || codeset == "utf8";
}

// Hands the UTF-8 form of a character to put, byte by byte (allocates
// nothing: the fatal-fault path uses it too).
template <class Put>
void PutUtf8Char(char32_t code, Put&& put) {
  if (code < 0x80) {
    put(static_cast<char>(code));
    return;
  }
  if (code < 0x800) {
    put(static_cast<char>(0xC0 | (code >> 6)));
  } else if (code < 0x10000) {
    put(static_cast<char>(0xE0 | (code >> 12)));
    put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
  } else {
    put(static_cast<char>(0xF0 | (code >> 18)));
    put(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
  }
  put(static_cast<char>(0x80 | (code & 0x3F)));
}

// The UTF-8 form of a CP866 byte.
template <class Put>
void PutUtf8(unsigned char b, Put&& put) {
  PutUtf8Char(b < 0x80 ? char32_t{b} : char32_t{kCp866High[b - 0x80]}, put);
}

// Writes all of bytes to fd; false on an error.
bool WriteFd(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Left non-blocking by the parent: wait until it takes more.
      pollfd ready{fd, POLLOUT, 0};
      if (poll(&ready, 1, -1) >= 0 || errno == EINTR) continue;
    }
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

void WriteNow(std::string_view bytes) { WriteFd(State().fd, bytes); }

void WriteAll(std::string_view bytes) {
  OutState& st = State();
  if (st.capture != nullptr) {
    st.capture->append(bytes);
    return;
  }
  if (!st.buffered) {
    WriteNow(bytes);
    return;
  }
  st.buffer.Add(bytes, WriteNow);
}

// CP866 bytes in their UTF-8 form (ASCII and control bytes stay one byte).
std::string Cp866ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) PutUtf8(static_cast<unsigned char>(ch), [&](char c) { out.push_back(c); });
  return out;
}

}  // namespace

void OutFlush() { State().buffer.Flush(WriteNow); }

void OutWrite(std::string_view bytes) {
  Learn();
  if (State().utf8 && State().capture == nullptr) {
    WriteAll(Cp866ToUtf8(bytes));
  } else {
    WriteAll(bytes);
  }
}

void OutWriteLine(std::string_view text) {
  // The fatal-fault path writes its lines from a signal handler through here.
  Learn();
  OutState& st = State();
  const bool utf8 = st.utf8 && st.capture == nullptr;
  auto putByte = [&](unsigned char b, auto& put) {
    if (utf8) PutUtf8(b, put);
    else put(static_cast<char>(b));
  };
  WriteShownLine(text, st.terminal && st.capture == nullptr, putByte, WriteAll);
}

void OutWriteLineUnicode(std::u32string_view text) {
  Learn();
  OutState& st = State();
  if (!st.utf8 || st.capture != nullptr) {
    OutWriteLine(Cp866Text(text));
    return;
  }
  std::string utf8;
  for (char32_t c : text) PutUtf8Char(c, [&](char b) { utf8 += b; });
  // The bytes are UTF-8 already: each goes out as it is.
  WriteShownLine(utf8, st.terminal, [](unsigned char b, auto& put) { put(static_cast<char>(b)); }, WriteAll);
}

void OutSetColour(int colour) {
  Learn();
  OutState& st = State();
  if (!st.colour || st.capture != nullptr) return;
  // Light grey, the console's normal colour, is the terminal's own
  // foreground, and white its bold form, so that text stays readable on a
  // light background too. Console colour numbers count blue as 1 and red as
  // 4; ANSI the reverse.
  static constexpr int kAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  std::string seq = "\x1b[";
  if (colour == 15) {
    seq += "1;39";
  } else {
    if (st.bold) seq += "22;";
    seq += colour == 7 ? "39" : std::to_string((colour & 8) ? 90 + kAnsi[colour & 7] : 30 + kAnsi[colour & 7]);
  }
  WriteAll(seq + "m");
  st.bold = colour == 15;
  st.coloured = true;
}

void OutResetColours() {
  OutState& st = State();
  if (st.coloured && st.capture == nullptr) WriteAll("\x1b[0m");
  st.coloured = false;
  st.bold = false;
}

void OutReset() {
  OutFlush();
  State().known = false;
  Learn();
}

void OutToStandardError() {
  OutFlush();  // what waits belongs to standard output
  State().fd = 2;
  OutReset();
}

// Standard output was closed when the program started.
bool& OutputWasClosed() {
  static bool closed = false;
  return closed;
}

void GuardStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open takes the lowest free number: the one left closed.
    const int standIn = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (fd == 1) OutputWasClosed() = true;
    if (standIn != fd && standIn >= 0) close(standIn);
  }
}

bool ResultWrite(std::string_view bytes) {
  if (OutputWasClosed()) {
    errno = EBADF;
    return false;
  }
  return WriteFd(1, bytes);
}

void OutCapture(std::string* sink) { State().capture = sink; }

}  // namespace platform
