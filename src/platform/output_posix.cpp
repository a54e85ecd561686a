#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <strings.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/codepages.h"
#include "platform/locale.h"
#include "platform/output.h"
#include "platform/output_common.h"

namespace platform {
namespace {

// The charset console text goes out in: the locale's.
enum class Charset { Utf8, Koi8r, Cp1251, Cp866 };

struct OutState {
  bool known = false;
  bool terminal = false;
  Charset charset = Charset::Utf8;
  // A single-byte charset's byte for each CP866 byte ('?' where it has none).
  std::array<char, 256> single{};
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

// The high half of a single-byte charset.
const unsigned short (&HighHalf(Charset cs))[128] {
  if (cs == Charset::Koi8r) return kKoi8rHigh;
  if (cs == Charset::Cp1251) return kCp1251High;
  return kCp866High;
}

// The console's charset from the locale's: UTF-8 also for the C locale,
// which names none (terminals today are UTF-8).
void LearnCharset(OutState& st) {
  const std::string codeset = LocaleCodeset();
  auto is = [&codeset](std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (strcasecmp(codeset.c_str(), name) == 0) return true;
    }
    return false;
  };
  st.charset = is({"KOI8-R"})                        ? Charset::Koi8r
               : is({"CP1251", "WINDOWS-1251"})       ? Charset::Cp1251
               : is({"CP866", "IBM866", "866"})       ? Charset::Cp866
                                                      : Charset::Utf8;
  for (unsigned b = 0; b < 256; ++b) {
    st.single[b] = ByteOf(b < 0x80 ? char32_t{b} : char32_t{kCp866High[b - 0x80]}, HighHalf(st.charset));
  }
}

void Learn() {
  OutState& st = State();
  if (st.known) return;
  st.known = true;
  LearnCharset(st);
  st.terminal = isatty(st.fd) == 1;
  st.buffered = false;
  if (!st.terminal) {
    StartBuffering(st);
    return;
  }
  const char* term = std::getenv("TERM");
  const char* noColour = std::getenv("NO_COLOR");  // the no-color convention
  st.colour = (term == nullptr || std::strcmp(term, "dumb") != 0) && (noColour == nullptr || *noColour == 0);
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

// Puts a CP866 byte of console text in the console's charset (allocates
// nothing: the fatal-fault path uses it too). Captured text stays CP866.
template <class Put>
void PutConsoleByte(const OutState& st, unsigned char b, Put&& put) {
  if (st.capture != nullptr || st.charset == Charset::Cp866) put(static_cast<char>(b));
  else if (st.charset == Charset::Utf8) PutUtf8(b, put);
  else put(st.single[b]);
}

// Console lines end in LF, as on every POSIX console; captured ones in CR LF.
std::string_view LineEnd(const OutState& st) { return st.capture != nullptr ? "\r\n" : "\n"; }

}  // namespace

void OutFlush() { State().buffer.Flush(WriteNow); }

void OutWrite(std::string_view bytes) {
  Learn();
  const OutState& st = State();
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) PutConsoleByte(st, static_cast<unsigned char>(ch), [&](char c) { out.push_back(c); });
  WriteAll(out);
}

void OutWriteLine(std::string_view text) {
  // The fatal-fault path writes its lines from a signal handler through here.
  Learn();
  const OutState& st = State();
  auto putByte = [&st](unsigned char b, auto& put) { PutConsoleByte(st, b, put); };
  WriteShownLine(text, st.terminal && st.capture == nullptr, putByte, WriteAll, LineEnd(st));
}

void OutWriteLineUnicode(std::u32string_view text) {
  Learn();
  const OutState& st = State();
  if (st.capture != nullptr || st.charset == Charset::Cp866) {
    OutWriteLine(Cp866Text(text));
    return;
  }
  std::string bytes;  // in the console's charset
  for (char32_t c : text) {
    if (st.charset == Charset::Utf8) {
      PutUtf8Char(c, [&](char b) { bytes += b; });
      continue;
    }
    bytes += ByteOf(c, HighHalf(st.charset));
  }
  // The bytes are the console's already: each goes out as it is.
  WriteShownLine(bytes, st.terminal, [](unsigned char b, auto& put) { put(static_cast<char>(b)); }, WriteAll,
                 LineEnd(st));
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
