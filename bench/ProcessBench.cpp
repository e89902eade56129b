// bench_process [RUN_DIR [RUNS]]: the whole `corvane --info RUN_DIR` process
// against the plain loader's process (plain_load: fgets + sscanf), as a user
// meets them: wall time from start to exit, medians of RUNS runs each (the two
// taken in turns, so that both see the same machine), their ratio, and the
// peak memory of corvane against the run's size on disk.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessTiming.h"

namespace {
void Measure(const std::string& dir, int runs) {
  std::uintmax_t bytes = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.is_regular_file()) bytes += e.file_size();
  const std::vector<std::string> corvane = {CORVANE_BIN, "--info", dir};
  const std::vector<std::string> plain = {PLAIN_LOAD_BIN, dir};
  TimeProcess(corvane), TimeProcess(plain);  // the run's files in the page cache for both
  std::vector<double> fast, slow;
  std::vector<long> peak;
  for (int i = 0; i < runs; ++i) {
    const ProcessRun a = TimeProcess(corvane), b = TimeProcess(plain);
    fast.push_back(a.seconds), slow.push_back(b.seconds), peak.push_back(a.peakKb);
  }
  const double f = Median(fast), s = Median(slow);
  const double peakBytes = static_cast<double>(Median(peak)) * 1024.0;
  std::printf("run: %s, %.1f MB on disk; medians of %d runs\n", dir.c_str(), static_cast<double>(bytes) / 1e6, runs);
  std::printf("corvane --info   %8.3f s   peak %7.1f MB (%.2f of the run's size)\n", f, peakBytes / 1e6,
              peakBytes / static_cast<double>(bytes));
  std::printf("plain_load       %8.3f s\n", s);
  std::printf("ratio            %8.2f x\n", s / f);
}
}  // namespace

// Without RUN_DIR: the big run, then each of its printf shapes that
// `cmake --build . --target bench_shapes` has made.
int main(int argc, char** argv) {
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  if (argc > 1) {
    Measure(argv[1], runs);
    return 0;
  }
  for (const char* shape : {"", "-f", "-e", "-g", "-4f"}) {
    const std::string dir = std::string(CORVANE_BENCH_RUN) + shape;
    if (std::filesystem::exists(dir + "/configure.dat")) Measure(dir, runs);
  }
  return 0;
}
