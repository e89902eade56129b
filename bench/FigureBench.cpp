// bench_figure [RUN_DIR...] [--runs N]: `corvane --figure` of one chart (the
// head's skin temperature, 85 mm at 300 dpi) against the same figure made by
// a short pandas + matplotlib script (figure_reference.py), whole processes
// taken in turns, medians of N runs each, for PDF, SVG and PNG. Without a
// run: the sample run and the big benchmark run. Needs no display; needs
// Debian's python3-pandas and python3-matplotlib.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessTiming.h"

namespace {
void Measure(const std::string& dir, int runs) {
  const std::string out = std::filesystem::temp_directory_path() / "bench-figure";
  std::filesystem::create_directories(out);
  const std::uintmax_t bytes = FolderBytes(dir);
  std::printf("run: %s, %.1f MB on disk; medians of %d runs\n", dir.c_str(), static_cast<double>(bytes) / 1e6, runs);
  for (const char* format : {"pdf", "svg", "png"}) {
    const std::string mine = out + "/corvane." + format, theirs = out + "/reference." + format;
    const std::vector<std::string> corvane = {CORVANE_BIN,  "--figure", mine,    "--option", "1100",
                                              "--width-mm", "85",       "--dpi", "300",      dir};
    const std::vector<std::string> reference = {"/usr/bin/python3", FIGURE_REFERENCE, dir, theirs};
    TimeProcess(corvane);  // the run's files in the page cache for both
    TimeProcess(reference);
    std::vector<double> fast, slow;
    for (int i = 0; i < runs; ++i) {
      fast.push_back(TimeProcess(corvane).seconds);
      slow.push_back(TimeProcess(reference).seconds);
    }
    const double f = Median(fast), s = Median(slow);
    std::printf("  %s: corvane %7.3f s (%7.1f KB)   pandas + matplotlib %7.3f s (%7.1f KB)   ratio %6.2f x\n", format,
                f, static_cast<double>(std::filesystem::file_size(mine)) / 1e3, s,
                static_cast<double>(std::filesystem::file_size(theirs)) / 1e3, s / f);
  }
  std::filesystem::remove_all(out);
}
}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::vector<std::string> dirs;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      dirs.emplace_back(argv[i]);
    }
  }
  if (dirs.empty()) {
    dirs = {CORVANE_SAMPLE_RUN, CORVANE_BENCH_RUN};
  }
  for (const std::string& dir : dirs) {
    if (std::filesystem::exists(dir + "/bodyProperty.dat")) {
      Measure(dir, runs);
    } else {
      std::printf("run: %s is not there (cmake --build . --target bench_run makes the big one)\n", dir.c_str());
    }
  }
  return 0;
}
