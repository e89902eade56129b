// corvane: the viewer of clothing thermal-comfort simulation runs.

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "CommandLine.h"
#include "DataDirectory.h"
#include "FirstPaint.h"
#include "GlDriverPin.h"
#include "HeadlessGl.h"
#include "RunLoader.h"

namespace {
// On the offscreen platform, which pictures take without a display, Qt says
// on every window shown that it has no window manager to give size hints to:
// nothing a user can act on; nor is it that the session gives no runtime
// folder (a batch job's, a CI job's), for which Qt takes one of its own.
bool OffscreenNoise(const QString& message) {
  return message == QLatin1String("This plugin does not support propagateSizeHints()") ||
         message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

QtMessageHandler g_beforeOffscreen = nullptr;
void OffscreenMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (OffscreenNoise(message)) {
    return;
  }
  if (g_beforeOffscreen) {
    g_beforeOffscreen(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    if (type == QtFatalMsg) {
      std::abort();
    }
  }
}

// Qt ends the process with an abort when it cannot reach the display; say
// what happened and exit with an error instead.
void DisplayFailure(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg && qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen") &&
      OffscreenNoise(message)) {
    return;
  }
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
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  const bool gui = !IsTextCommand(arguments);
  if (gui && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM") &&
      !arguments.contains(QStringLiteral("-platform"))) {
    if (IsPictureCommand(arguments)) {
      // Pictures need no display: Qt's offscreen platform for the widgets,
      // and the 3D scenes through a GL context of the program's own.
      qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
      // Wrong arguments are said as such, display or not.
      if (const int check = RunCommandLine(arguments, /*checkOnly=*/true); check != 0) {
        return check;
      }
      std::fprintf(stderr,
                   "corvane: there is no display to show the viewer on (DISPLAY is not set).\n"
                   "  On a machine without one, 'corvane --info DATA_DIR' prints a run's summary, and\n"
                   "  'corvane --screenshot FILE --view VIEW DATA_DIR' renders a view.\n");
      return 1;
    }
  }
  // "corvane DATA_DIR": the run is read while Qt starts.
  if (gui && arguments.size() == 2 && !arguments[1].startsWith(QLatin1Char('-'))) {
    const QString dir = RunFolderOf(arguments[1]);
    if (!dir.isEmpty()) {
      CRunLoader::StartEarly(dir);
    }
  }
  // Fontconfig reads its configuration while Qt starts, on another core:
  // the first text the window paints need not wait for it.
  std::thread fonts;
  if (gui) {
    fonts = std::thread([] { FcInit(); });
  }
  std::unique_ptr<QCoreApplication> app;
  if (gui) {
    const QtMessageHandler previous = qInstallMessageHandler(DisplayFailure);
    app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    if (UseHeadlessGl()) {
      g_beforeOffscreen = qInstallMessageHandler(OffscreenMessages);
    }
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  if (fonts.joinable()) {
    fonts.join();
  }
  QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  // The start-up benchmark's hook (bench_startup sets it).
  std::unique_ptr<CQuitAfterFirstPaint> quitAfterPaint;
  if (gui && std::getenv("CORVANE_QUIT_AFTER_FIRST_PAINT")) {
    quitAfterPaint = std::make_unique<CQuitAfterFirstPaint>("CCorvaneDlg");
  }
  const int result = RunCommandLine(QCoreApplication::arguments());
  if (gui) {
    PinGlDriversForLeakCheck();
  }
  return result;
}
