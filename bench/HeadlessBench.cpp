// bench_headless [RUNS]: `corvane --screenshot` without a display (Qt's
// offscreen platform, the 3D scenes through the program's own EGL context)
// against the same under `xvfb-run -a`, as a user on a cluster node meets
// both: whole processes, medians of RUNS runs taken in turns, and their
// ratio, for pictures of three kinds.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProcessTiming.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  // The machine without a display; xvfb-run makes its own.
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    unsetenv(v);
  }
  const std::string out = std::string(CORVANE_BENCH_OUT) + "/headless.png";
  const struct {
    const char* name;
    std::vector<std::string> args;
  } cases[] = {
      {"static view, 800x600", {"--view", "static", "--size", "800x600", "--step", "2"}},
      {"space suit, the window's page", {"--view", "space"}},
      {"line plot, the science page", {"--view", "science", "--option", "2300", "--quantity", "4"}},
  };
  std::printf("corvane --screenshot of the sample run; medians of %d runs\n", runs);
  for (const auto& c : cases) {
    std::vector<std::string> headless = {CORVANE_BIN, "--screenshot", out};
    headless.insert(headless.end(), c.args.begin(), c.args.end());
    headless.push_back(CORVANE_SAMPLE_RUN);
    std::vector<std::string> xvfb = {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"};
    xvfb.insert(xvfb.end(), headless.begin(), headless.end());
    TimeProcess(headless), TimeProcess(xvfb);  // the files in the page cache for both
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
      a.push_back(TimeProcess(headless).seconds);
      b.push_back(TimeProcess(xvfb).seconds);
    }
    const double h = Median(a), x = Median(b);
    std::printf("%-32s without a display %6.3f s   xvfb-run %6.3f s   xvfb-run / without %5.2f x\n", c.name, h, x,
                x / h);
  }
  return 0;
}
