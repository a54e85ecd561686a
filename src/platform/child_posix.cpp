#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/child.h"

namespace platform {

int RunInChild(const std::function<int()>& body, long long fileSizeLimit) {
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (fileSizeLimit >= 0) {
      signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    _exit(body() & 0xFF);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace platform
