// main() of the tests that need a GUI application (windows or GL).

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "GlDriverPin.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Without a display these tests cannot run (./test.sh gives them Xvfb):
  // report them skipped to CTest rather than failed.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "skipped: no display (run under xvfb-run)\n");
    return 77;
  }
  // Qt warns (and the tests treat warnings as failures) without a runtime
  // folder of its own; this one goes when the tests end.
  QTemporaryDir runtime;
  if (!std::getenv("XDG_RUNTIME_DIR") && runtime.isValid()) {
    ::setenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()).constData(), 1);
  }
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  PinGlDriversForLeakCheck();
  return result;
}
