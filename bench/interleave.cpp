// Times two commands in one interleaved run: A and B alternate, each on a
// fresh copy of the reply, the first round is a warm-up and is dropped, and
// the medians are printed with the peak memory of A. No shell runs between
// the samples: the commands are started directly and timed around fork and
// wait. CPU time is the child's user + system time. With --sync, B's wall
// time also takes an fsync of COPY and of its folder after B ends (the
// durability the program's own commit gives its result).
//
// Usage: interleave ROUNDS REPLY COPY [--sync] -- A [ARGS...] -- B [ARGS...]
// Prints: "<median A ms> <median B ms> <peak A KiB> <median A CPU ms> <median B CPU ms>".
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

double Ms(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

void SyncFileAndFolder(const std::filesystem::path& file) {
  for (const std::filesystem::path& p : {file, file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path()}) {
    const int fd = open(p.c_str(), O_RDONLY);
    if (fd >= 0) {
      fsync(fd);
      close(fd);
    }
  }
}

// Milliseconds one run of argv takes (and the file synced after it when
// syncing is given); peak receives its maximum resident size, cpu its user
// + system milliseconds.
double RunOnce(const std::vector<char*>& argv, long& peak, double& cpu, const std::filesystem::path* syncing) {
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
  if (syncing != nullptr) SyncFileAndFolder(*syncing);
  const auto end = std::chrono::steady_clock::now();
  peak = std::max(peak, usage.ru_maxrss);
  cpu = Ms(usage.ru_utime) + Ms(usage.ru_stime);
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: interleave ROUNDS REPLY COPY [--sync] -- A [ARGS...] -- B [ARGS...]\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::filesystem::path reply = argv[2], copy = argv[3];
  std::vector<char*> a, b;
  std::vector<char*>* fill = nullptr;
  bool sync = false;
  for (int i = 4; i < argc; ++i) {
    if (fill == nullptr && std::string(argv[i]) == "--sync") sync = true;
    if (std::string(argv[i]) == "--") {
      fill = fill == nullptr ? &a : &b;
      continue;
    }
    if (fill != nullptr) fill->push_back(argv[i]);
  }
  a.push_back(nullptr);
  b.push_back(nullptr);
  std::vector<double> timesA, timesB, cpuA, cpuB;
  long peakA = 0, peakB = 0;
  for (int round = 0; round <= rounds; ++round) {
    for (int which = 0; which < 2; ++which) {
      std::filesystem::copy_file(reply, copy, std::filesystem::copy_options::overwrite_existing);
      double cpu = 0;
      const double ms = RunOnce(which == 0 ? a : b, which == 0 ? peakA : peakB, cpu,
                                which == 1 && sync ? &copy : nullptr);
      if (round == 0) continue;  // round 0 warms up
      (which == 0 ? timesA : timesB).push_back(ms);
      (which == 0 ? cpuA : cpuB).push_back(cpu);
    }
  }
  std::printf("%.2f %.2f %ld %.2f %.2f\n", Median(timesA), Median(timesB), peakA, Median(cpuA), Median(cpuB));
  return 0;
}
