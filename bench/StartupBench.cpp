// bench_startup [RUNS] [BIG_RUN]: the time from starting corvane on the
// sample run to its first painted main window (the process says when its
// paint is done; its exit is not counted), against a minimal Qt program that
// opens one window (minimal_window), medians of RUNS runs taken in turns.
// With the big run: corvane on it, against its load alone (the whole
// corvane --info process) plus the minimal window. Run it under Xvfb:
// xvfb-run -a bench_startup.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessTiming.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string big = argc > 2 ? argv[2] : CORVANE_BENCH_RUN;
  setenv("CORVANE_QUIT_AFTER_FIRST_PAINT", "1", 1);
  // A command whose first argument is "--info" is timed whole; the others to their first paint.
  auto time = [](const std::vector<std::string>& c) {
    return c.size() > 1 && c[1] == "--info" ? TimeProcess(c).seconds : TimeToFirstPaint(c);
  };
  auto median = [runs, time](std::vector<std::vector<std::string>> commands) {
    std::vector<std::vector<double>> times(commands.size());
    for (const auto& c : commands) time(c);  // warm: files in the page cache, the driver loaded once
    for (int i = 0; i < runs; ++i)
      for (std::size_t k = 0; k < commands.size(); ++k) times[k].push_back(time(commands[k]));
    std::vector<double> out;
    for (auto& t : times) out.push_back(Median(t));
    return out;
  };
  const auto sample =
      median({{CORVANE_BIN, CORVANE_SAMPLE_RUN "/"}, {MINIMAL_WINDOW_BIN}, {MINIMAL_WINDOW_BIN, "--gl"}});
  std::printf("medians of %d runs\n", runs);
  std::printf("corvane, sample run, to the first painted window  %7.3f s\n", sample[0]);
  std::printf("minimal Qt window                                 %7.3f s\n", sample[1]);
  std::printf("ratio                                             %7.2f (goal: at most 1.5)\n", sample[0] / sample[1]);
  // The main window is made for GL views from its start (no flash when the
  // first one comes): the driver's start-up is in its first paint.
  std::printf("minimal Qt window made for GL views               %7.3f s\n", sample[2]);
  std::printf("ratio to it                                       %7.2f\n", sample[0] / sample[2]);
  if (!std::filesystem::exists(big + "/configure.dat")) {
    std::printf("(no big run at %s: cmake --build . --target bench_run)\n", big.c_str());
    return 0;
  }
  const auto large = median({{CORVANE_BIN, big + "/"}, {CORVANE_BIN, "--info", big + "/"}});
  std::printf("corvane, big run, to the first painted window     %7.3f s\n", large[0]);
  std::printf("its load alone (corvane --info)                   %7.3f s\n", large[1]);
  std::printf("load + minimal window                             %7.3f s (goal: the window within this)\n",
              large[1] + sample[1]);
  return 0;
}
