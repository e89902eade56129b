// corvane: the viewer of clothing thermal-comfort simulation runs.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "CommandLine.h"
#include "GlDriverPin.h"

int main(int argc, char** argv) {
  // Rendering needs the GUI application; the text commands do not.
  bool gui = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0) gui = true;
  if (gui && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "corvane: --screenshot needs a display; on a machine without one, run it under xvfb-run.\n");
    return 1;
  }
  std::unique_ptr<QCoreApplication> app(gui ? new QApplication(argc, argv) : new QCoreApplication(argc, argv));
  QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  const int result = RunCommandLine(QCoreApplication::arguments());
  if (gui) PinGlDriversForLeakCheck();
  return result;
}
