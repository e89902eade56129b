// main() of the tests that need a GUI application (windows or GL).

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
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
