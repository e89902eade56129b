// main() of the tests that need a GUI application (windows or GL).

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Without a display these tests cannot run (./test.sh gives them Xvfb):
  // report them skipped to CTest rather than failed.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "skipped: no display (run under xvfb-run)\n");
    return 77;
  }
  // Qt warns (and the tests treat warnings as failures) without a runtime
  // folder of our own.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const std::string dir = "/tmp/corvane-runtime-" + std::to_string(getuid());
    ::mkdir(dir.c_str(), 0700);
    ::chmod(dir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
