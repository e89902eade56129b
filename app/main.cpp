// corvane: the viewer of clothing thermal-comfort simulation runs.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "CommandLine.h"
#include "GlDriverPin.h"

namespace {
// Qt ends the process with an abort when it cannot reach the display; say
// what happened and exit with an error instead.
void DisplayFailure(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return;
  }
  const char* display = std::getenv("DISPLAY");
  std::fprintf(stderr, "corvane: cannot open the display%s%s%s: %s\n", display ? " \"" : "", display ? display : "",
               display ? "\"" : "", qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
  std::_Exit(1);
}
}  // namespace

int main(int argc, char** argv) {
  // Rendering needs the GUI application; the text commands do not.
  bool gui = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0) gui = true;
  if (gui && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "corvane: --screenshot needs a display; on a machine without one, run it under xvfb-run.\n");
    return 1;
  }
  std::unique_ptr<QCoreApplication> app;
  if (gui) {
    const QtMessageHandler previous = qInstallMessageHandler(DisplayFailure);
    app.reset(new QApplication(argc, argv));
    qInstallMessageHandler(previous);
  } else {
    app.reset(new QCoreApplication(argc, argv));
  }
  QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  const int result = RunCommandLine(QCoreApplication::arguments());
  if (gui) PinGlDriversForLeakCheck();
  return result;
}
