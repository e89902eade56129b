// bench_process [RUN_DIR [RUNS]]: the whole `corvane --info RUN_DIR` process
// against the plain loader's process (plain_load: fgets + sscanf), as a user
// meets them: wall time from start to exit, medians of RUNS runs each (the two
// taken in turns, so that both see the same machine), their ratio, and the
// peak memory of corvane against the run's size on disk; then two exports of
// the files' own values against that load.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessTiming.h"

namespace {
// What writing the files' own values costs: an export loads the run and then
// reads the file it writes from once more, at full precision (a body chart
// the body file, a fabric layer's plot the part's fabric file). Each against
// `corvane --info` of the same run, the load alone (`info` seconds, peak
// bytes), taken in turns.
void MeasureExports(const std::string& dir, int runs, double info, double infoPeak) {
  const std::string out = std::filesystem::temp_directory_path() / "bench_process_export.csv";
  struct Export {
    const char* what;
    const char* option;
    const char* quantity;
  };
  for (const Export& e :
       {Export{"body chart, Trunk skin", "2100", "0"}, Export{"fabric plot, Trunk layer 1", "2300", "4"}}) {
    const std::vector<std::string> args = {CORVANE_BIN, "--export-csv", out,        "--option",
                                           e.option,    "--quantity",   e.quantity, dir};
    TimeProcess(args);
    std::vector<double> seconds;
    std::vector<long> peak;
    for (int i = 0; i < runs; ++i) {
      const ProcessRun a = TimeProcess(args);
      seconds.push_back(a.seconds), peak.push_back(a.peakKb);
    }
    const double t = Median(seconds), m = static_cast<double>(Median(peak)) * 1024.0;
    std::printf("export %-26s %8.3f s (%.2f x --info)   peak %7.1f MB (%.2f x --info)\n", e.what, t, t / info, m / 1e6,
                m / infoPeak);
  }
  std::filesystem::remove(out);
}

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
  MeasureExports(dir, runs, f, peakBytes);
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
