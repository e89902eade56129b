// corvane: the viewer of clothing thermal-comfort simulation runs.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
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
  // The viewer and its pictures need the GUI application; the text commands do not.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const bool gui = !IsTextCommand(arguments);
  if (gui && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "corvane: there is no display to show the viewer on (DISPLAY is not set).\n"
                 "  On a machine without one, 'corvane --info DATA_DIR' prints a run's summary, and\n"
                 "  'xvfb-run -a corvane --screenshot FILE --view VIEW DATA_DIR' renders a view.\n");
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
