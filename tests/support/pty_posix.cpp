#include "support/pty.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/output.h"

namespace support {

namespace {

int savedStdin = -1;
int pipeEnds[2] = {-1, -1};

std::string ReadFor(int fd, int ms) {
  std::string out;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0) continue;
    char buf[512];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

}  // namespace

PtyRun OnPty(const std::function<int()>& child, const std::vector<std::pair<int, std::string>>& typing) {
  int master = -1;
  pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    termios mode{};
    tcgetattr(1, &mode);
    mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);  // the program's bytes, untranslated
    tcsetattr(1, TCSANOW, &mode);
    setenv("TERM", "xterm", 1);
    unsetenv("LANG");
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    platform::OutReset();
    _exit(child() & 0xFF);
  }
  PtyRun run;
  std::string seen;
  for (int i = 0; i < 300 && seen.find('R') == std::string::npos; ++i) seen += ReadFor(master, 10);
  for (const auto& [delay, bytes] : typing) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (write(master, bytes.data(), bytes.size()) < 0) break;
  }
  run.output = seen.substr(seen.find('R') + 1) + ReadFor(master, 300);
  int status = 0;
  waitpid(pid, &status, 0);
  close(master);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void Ready() {
  if (write(1, "R", 1) < 0) _exit(99);
}

unsigned LineModeOfStdin() {
  termios mode{};
  tcgetattr(0, &mode);
  return static_cast<unsigned>(mode.c_lflag & (ICANON | ECHO));
}

void StdinFromPipe() {
  if (pipe(pipeEnds) != 0) return;
  savedStdin = dup(0);
  dup2(pipeEnds[0], 0);
}

void RestoreStdin() {
  dup2(savedStdin, 0);
  close(savedStdin);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

}  // namespace support
