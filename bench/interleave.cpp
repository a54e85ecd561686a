// Times two commands in one interleaved run: A and B alternate, each on a
// fresh copy of the reply, the first round is a warm-up and is dropped, and
// the medians are printed with the peak memory of A. No shell runs between
// the samples: the commands are started directly and timed around fork and
// wait.
//
// Usage: interleave ROUNDS REPLY COPY -- A [ARGS...] -- B [ARGS...]
// Prints: "<median A ms> <median B ms> <peak A KiB>".
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Milliseconds one run of argv takes; peak receives its maximum resident size.
double RunOnce(const std::vector<char*>& argv, long& peak) {
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  peak = std::max(peak, usage.ru_maxrss);
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: interleave ROUNDS REPLY COPY -- A [ARGS...] -- B [ARGS...]\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::filesystem::path reply = argv[2], copy = argv[3];
  std::vector<char*> a, b;
  std::vector<char*>* fill = nullptr;
  for (int i = 4; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      fill = fill == nullptr ? &a : &b;
      continue;
    }
    if (fill != nullptr) fill->push_back(argv[i]);
  }
  a.push_back(nullptr);
  b.push_back(nullptr);
  std::vector<double> timesA, timesB;
  long peakA = 0, peakB = 0;
  for (int round = 0; round <= rounds; ++round) {
    for (int which = 0; which < 2; ++which) {
      std::filesystem::copy_file(reply, copy, std::filesystem::copy_options::overwrite_existing);
      double ms = RunOnce(which == 0 ? a : b, which == 0 ? peakA : peakB);
      if (round > 0) (which == 0 ? timesA : timesB).push_back(ms);  // round 0 warms up
    }
  }
  std::printf("%.2f %.2f %ld\n", Median(timesA), Median(timesB), peakA);
  return 0;
}
