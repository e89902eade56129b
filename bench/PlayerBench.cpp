// The 3D player at each speed, on the sample run and on the big run, with
// the program's body and garment: the frames drawn per tick of the player's
// one-second timer (the colours of a step are drawn once, however many
// steps a tick passes), and the GUI thread's longest time in one tick with
// the repaint it asks for (under 50 ms keeps the window live).
// Run under a display: xvfb-run -a bench_player

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "PlayerTime.h"
#include "SceneLoader.h"
#include "SimulationData.h"
#include "Visualize3DDlg.h"

namespace {
void Play(const char* name, const QString& dir) {
  CSimulationData run;
  if (!run.Load(dir)) {
    std::printf("%-7s no run in %s (cmake --build build-release --target bench_run)\n", name, qPrintable(dir));
    return;
  }
  CVisiualize3DDlg dlg(&run, QStringLiteral(CORVANE_BIN_DIR "/"));
  dlg.resize(1000, 700);
  dlg.show();
  const QString models = QStringLiteral(CORVANE_BIN_DIR "/");
  LoadBodyModel(dlg.View(), models + QStringLiteral("model.obj"));
  LoadGarmentModel(dlg.View(), models + QStringLiteral("cloth.obj"));
  run.State().SelectLayer(1);
  QApplication::processEvents();
  long drawn = 0;
  QObject::connect(dlg.View(), &COpenGLView::framePainted, [&drawn] { ++drawn; });
  for (const int speed : kPlayerSpeeds) {
    run.State().SeekStep(0);
    run.State().SetSpeed(speed);
    run.State().SetPlaying(true);
    QApplication::processEvents();
    drawn = 0;
    int ticks = 0;
    double longest = 0;
    QElapsedTimer all;
    all.start();
    // At most 200 ticks: a slow speed on a long run would take hours.
    while (run.State().Playing() && ticks < 200) {
      QElapsedTimer t;
      t.start();
      dlg.View()->OnTimer(1);  // the timer's tick, called: no waiting a second
      QApplication::processEvents();
      longest = std::max(longest, static_cast<double>(t.nsecsElapsed()) / 1e6);
      ++ticks;
    }
    run.State().SetPlaying(false);
    std::printf(
        "%-7s %4dx: %3d ticks to step %d of %d, %.2f frames drawn per tick, longest tick %.1f ms, mean %.1f ms\n", name,
        speed, ticks, run.State().Step(), run.Run().m_nSamples, static_cast<double>(drawn) / ticks, longest,
        static_cast<double>(all.nsecsElapsed()) / 1e6 / ticks);
  }
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Play("sample", QStringLiteral(CORVANE_SAMPLE_RUN "/"));
  Play("big", QStringLiteral(CORVANE_BENCH_RUN "/"));
  return 0;
}
