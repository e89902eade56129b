// bench_movie [SPEED [RUN_DIR]]: `corvane --movie` of a run at 1001 x 661, 30
// frames a second, in each of the three body views, as a user meets it (the
// whole process; with a display or without one). Reported: frames encoded per second of
// wall time and its ratio to the 30 the movie plays at (above 1: a movie
// renders faster than it plays), the same with the process's start-up (a
// screenshot's whole process) taken off, and peak memory against the
// screenshot's, which shows that what a movie holds does not grow with its
// length, and the encoder program's own peak. SPEED defaults to 600 (273
// frames of the sample run); 60 makes the whole 2716-frame movie.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ProcessTiming.h"

namespace {
// The encoder program's peak memory, in kB: its VmHWM, watched while it runs
// (it is the viewer's child, so the viewer's own figure leaves it out).
class CEncoderWatch {
 public:
  CEncoderWatch()
      : m_thread([this] {
          while (!m_stop) {
            for (const auto& e : std::filesystem::directory_iterator("/proc")) {
              std::ifstream comm(e.path() / "comm");
              std::string name;
              if (comm && std::getline(comm, name) && name == "corvane-encode") {
                std::ifstream status(e.path() / "status");
                for (std::string line; std::getline(status, line);) {
                  if (line.rfind("VmHWM:", 0) == 0) {
                    m_peakKb = std::max(m_peakKb.load(), std::atol(line.c_str() + 6));
                  }
                }
              }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~CEncoderWatch() {
    m_stop = true;
    m_thread.join();
  }
  CEncoderWatch(const CEncoderWatch&) = delete;
  CEncoderWatch& operator=(const CEncoderWatch&) = delete;
  long PeakKb() const { return m_peakKb; }

 private:
  std::atomic<bool> m_stop{false};
  std::atomic<long> m_peakKb{0};
  std::thread m_thread;
};

long long Frames(long long totalSeconds, int speed, int fps) { return (totalSeconds * fps + speed - 1) / speed + 1; }
}  // namespace

int main(int argc, char** argv) {
  const int speed = argc > 1 ? std::atoi(argv[1]) : 600;
  const std::string run = argc > 2 ? argv[2] : CORVANE_SAMPLE_RUN;
  // The sample run: 181 samples of 0.5 minutes.
  const long long total = argc > 2 ? -1 : 181 * 30;
  const std::string dir = std::filesystem::temp_directory_path() / ("bench_movie." + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string movie = dir + "/run.mp4", still = dir + "/still.png";
  std::printf("run: %s at %dx, 1001x661 (encoded as 1002x662), 30 frames a second\n", run.c_str(), speed);
  std::printf("%-8s %7s %9s %9s %8s %11s %9s %9s %10s\n", "view", "frames", "wall s", "frames/s", "x play",
              "no start-up", "peak MB", "x still", "encoder MB");
  for (const char* view : {"static", "dynamic", "space"}) {
    const ProcessRun shot =
        TimeProcess({CORVANE_BIN, "--screenshot", still, "--view", view, "--size", "1002x662", run});
    CEncoderWatch watch;
    const ProcessRun m = TimeProcess({CORVANE_BIN, "--movie", movie, "--view", view, "--size", "1001x661", "--fps",
                                      "30", "--speed", std::to_string(speed), run});
    const long long frames = total > 0 ? Frames(total, speed, 30) : 0;
    const double rate = static_cast<double>(frames) / m.seconds;
    const double rendering = static_cast<double>(frames) / (m.seconds - shot.seconds);
    std::printf("%-8s %7lld %9.2f %9.1f %8.2f %11.1f %9.1f %9.2f %10.1f\n", view, frames, m.seconds, rate, rate / 30,
                rendering, static_cast<double>(m.peakKb) / 1024, static_cast<double>(m.peakKb) / shot.peakKb,
                static_cast<double>(watch.PeakKb()) / 1024);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
