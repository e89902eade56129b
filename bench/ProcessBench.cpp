// bench_process RUN_DIR [RUNS]: the whole `corvane --info RUN_DIR` process
// against the plain loader's process (plain_load: fgets + sscanf), as a user
// meets them: wall time from start to exit, medians of RUNS runs each (the two
// taken in turns, so that both see the same machine), their ratio, and the
// peak memory of corvane against the run's size on disk.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
  double seconds = 0;
  long peakKb = 0;
};

Run Time(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0]);
    std::exit(1);
  }
  return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

template <class T>
T Median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : CORVANE_BENCH_RUN;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  std::uintmax_t bytes = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.is_regular_file()) bytes += e.file_size();
  const std::vector<std::string> corvane = {CORVANE_BIN, "--info", dir};
  const std::vector<std::string> plain = {PLAIN_LOAD_BIN, dir};
  Time(corvane), Time(plain);  // the run's files in the page cache for both
  std::vector<double> fast, slow;
  std::vector<long> peak;
  for (int i = 0; i < runs; ++i) {
    const Run a = Time(corvane), b = Time(plain);
    fast.push_back(a.seconds), slow.push_back(b.seconds), peak.push_back(a.peakKb);
  }
  const double f = Median(fast), s = Median(slow);
  const double peakBytes = static_cast<double>(Median(peak)) * 1024.0;
  std::printf("run: %s, %.1f MB on disk; medians of %d runs\n", dir.c_str(), static_cast<double>(bytes) / 1e6, runs);
  std::printf("corvane --info   %8.3f s   peak %7.1f MB (%.2f of the run's size)\n", f, peakBytes / 1e6,
              peakBytes / static_cast<double>(bytes));
  std::printf("plain_load       %8.3f s\n", s);
  std::printf("ratio            %8.2f x\n", s / f);
  return 0;
}
