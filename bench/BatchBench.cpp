// bench_batch [RUN_DIR...] [--runs N]: a paper's twelve PDF figures of a run
// (the skin and core temperature of the six parts, 85 mm at 300 dpi) from
// one `corvane --batch` file, against a pandas + matplotlib script that reads
// the run and writes the same twelve figures (batch_reference.py): whole
// processes taken in turns, medians of N runs each, and their ratio. Without
// a run: the sample run and the big benchmark run. Needs no display; needs
// Debian's python3-pandas and python3-matplotlib.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ProcessTiming.h"

namespace {
const char* const kParts[] = {"head", "trunk", "arm", "hand", "leg", "foot"};

void Measure(const std::string& run, int runs) {
  const std::filesystem::path out = std::filesystem::temp_directory_path() / "bench-batch";
  std::filesystem::create_directories(out / "corvane");
  std::filesystem::create_directories(out / "reference");
  const std::uintmax_t bytes = FolderBytes(run);
  // The twelve figures as a batch file: option P100 is part P's body
  // properties, quantity 0 the skin's temperature and 1 the core's.
  const std::string batch = (out / "corvane" / "paper.toml").string();
  {
    std::ofstream toml(batch);
    for (int p = 0; p < 6; ++p) {
      for (int q = 0; q < 2; ++q) {
        toml << "[[output]]\nfigure = \"" << kParts[p] << (q == 0 ? "-skin" : "-core") << ".pdf\"\nrun = \""
             << std::filesystem::absolute(run).string() << "\"\noption = " << 1000 * (p + 1) + 100
             << "\nquantity = " << q << "\nwidth-mm = 85\ndpi = 300\n\n";
      }
    }
  }
  const std::vector<std::string> corvane = {CORVANE_BIN, "--batch", batch};
  const std::vector<std::string> reference = {"/usr/bin/python3", BATCH_REFERENCE, run, (out / "reference").string()};
  TimeProcess(corvane), TimeProcess(reference);  // the run's files in the page cache for both
  std::vector<double> mine, theirs;
  for (int i = 0; i < runs; ++i) {
    mine.push_back(TimeProcess(corvane).seconds);
    theirs.push_back(TimeProcess(reference).seconds);
  }
  const double m = Median(mine), t = Median(theirs);
  std::printf("run: %s, %.1f MB on disk; twelve PDF figures; medians of %d runs\n", run.c_str(),
              static_cast<double>(bytes) / 1e6, runs);
  std::printf("corvane --batch            %8.3f s\n", m);
  std::printf("pandas + matplotlib        %8.3f s\n", t);
  std::printf("ratio                      %8.1f x\n", t / m);
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
  for (const std::string& d : dirs) {
    if (std::filesystem::exists(d + "/configure.dat")) {
      Measure(d, runs);
    }
  }
  return 0;
}
