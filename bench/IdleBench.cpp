// bench_idle [SECONDS]: what the program does while nobody touches it. The
// main window on the sample run shows each view in turn with the player
// stopped; over SECONDS (default 5) it counts, on the GUI thread, the timer
// events delivered, the paints, and the thread's wake-ups (voluntary context
// switches, as the kernel counts them). Run it under Xvfb: xvfb-run -a bench_idle.

#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "SimulationData.h"
#include "Visualize3DDlg.h"

namespace {
long GuiThreadWakeups() {
  QFile status(QStringLiteral("/proc/self/task/%1/status").arg(::getpid()));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("voluntary_ctxt_switches:")) return line.mid(24).trimmed().toLong();
  return -1;
}

class CCounter : public QObject {
 public:
  int m_nTimers = 0, m_nPaints = 0, m_nIgnoredTimer = -1;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer && static_cast<QTimerEvent*>(event)->timerId() != m_nIgnoredTimer) ++m_nTimers;
    if (event->type() == QEvent::Paint) ++m_nPaints;
    return false;
  }
};

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}
}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  // No service answers here: the static view falls back to the program's models at once.
  qputenv("CORVANE_MODEL_SERVICE", "http://127.0.0.1:9");
  QApplication qapp(argc, argv);
  CRecordingMessageSink messages;
  CCorvaneApp app;
  app.SetModuleDir(QStringLiteral(CORVANE_BIN_DIR "/"));
  app.SetMessageSink(&messages);
  if (!app.OpenRun(QStringLiteral(CORVANE_SAMPLE_RUN "/"), nullptr)) return 1;
  CCorvaneDlg main(app);
  main.show();
  CCounter counter;
  qapp.installEventFilter(&counter);
  std::printf("%d s idle per view, player stopped (GUI thread)\n", seconds);
  std::printf("%-12s %14s %10s %14s\n", "view", "timer events", "paints", "wake-ups");
  const std::pair<const char*, void (CCorvaneDlg::*)()> views[] = {{"scientific", &CCorvaneDlg::OnViewScientific},
                                                                   {"static", &CCorvaneDlg::OnViewStatic3D},
                                                                   {"dynamic", &CCorvaneDlg::OnViewDynamic3D},
                                                                   {"space suit", &CCorvaneDlg::OnViewSpaceSuit}};
  for (const auto& [name, command] : views) {
    (main.*command)();
    if (main.View3D()) {
      main.View3D()->WaitForDownload();
      main.View3D()->View()->JoinLoaders();
    }
    Wait(1000);  // settle: what the switch itself asked for is drawn
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(seconds * 1000);
    counter.m_nIgnoredTimer = end.timerId();
    counter.m_nTimers = counter.m_nPaints = 0;
    const long before = GuiThreadWakeups();
    loop.exec();
    const long wakeups = GuiThreadWakeups() - before;
    std::printf("%-12s %8.1f / s %6.1f / s %8.1f / s\n", name, counter.m_nTimers / double(seconds),
                counter.m_nPaints / double(seconds), wakeups / double(seconds));
  }
  return 0;
}
