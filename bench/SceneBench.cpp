// The static scene's frame at 1000 x 660: body, garment, room, colour legend
// and cross-section legend. Compiled geometry per group with glyph lists
// built once, against every triangle in immediate mode with the glyph lists
// rebuilt each frame (the original design). Both must give the same picture.
// Run under a display (xvfb-run). Usage: bench_scene [benchmark flags]

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "OpenGLView.h"
#include "SceneLoader.h"
#include "ScienceLogic.h"
#include "SimulationData.h"

// The view's reference drawing, for the comparison this benchmark makes.
class CDrawingComparison {
 public:
  static void SetReference(COpenGLView& view, bool on) { view.SetReferenceDrawing(on); }
};

namespace {
class CBenchView : public COpenGLView {
 public:
  void Frame() {
    makeCurrent();
    paintGL();
    glFinish();
    doneCurrent();
  }
};

CSimulationData* g_data = nullptr;
CBenchView* g_view = nullptr;

void BM_StaticSceneFrame(benchmark::State& state) {
  CDrawingComparison::SetReference(*g_view, state.range(0) != 0);
  g_view->Frame();  // compiles what is compiled once
  for (auto _ : state) g_view->Frame();
  state.SetLabel(state.range(0) ? "immediate mode, glyphs rebuilt per frame" : "compiled per group, glyphs once");
}
BENCHMARK(BM_StaticSceneFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The line plot of a fabric quantity of the big run, as the scientific view
// shows it: the trunk's first layer's temperature, a curve per node over time.
CBenchView* g_plot = nullptr;
// Arg 0: ours, 1: the reference way; a second arg of 1 turns the plot a
// little before every frame, as a drag with the mouse does.
void BM_LinePlotFrame(benchmark::State& state) {
  if (!g_plot) return state.SkipWithError("no big run: cmake --build build-release --target bench_run");
  const bool reference = state.range(0) != 0, turning = state.range(1) != 0;
  CDrawingComparison::SetReference(*g_plot, reference);
  g_plot->ResetCamera();
  g_plot->Frame();
  for (auto _ : state) {
    if (turning) {
      ViewCamera camera = g_plot->Camera();
      camera.m_dRotZ += 0.5;
      g_plot->SetCamera(camera);
    }
    g_plot->Frame();
  }
  state.SetLabel(std::string(reference ? "box and strips per frame, immediate mode" : "box and strips once, arrays") +
                 (turning ? ", turning" : ", still"));
}
BENCHMARK(BM_LinePlotFrame)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

int DifferentPixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      n += std::abs(p.red() - q.red()) > 2 || std::abs(p.green() - q.green()) > 2 || std::abs(p.blue() - q.blue()) > 2;
    }
  return n;
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CSimulationData data;
  if (!data.Load(QStringLiteral(CORVANE_SAMPLE_RUN))) return 1;
  data.State().SelectLayer(1);
  data.State().SetSectionPart(2);
  data.State().SeekStep(data.Run().m_nSamples / 2);
  CBenchView view;
  view.SetData(&data);
  const QString dir = QStringLiteral(CORVANE_BIN_DIR "/");
  view.SetModuleDir(dir);
  view.SetMode(ViewMode::Static);
  view.ResetCamera();
  view.resize(1000, 660);
  view.show();
  if (!LoadBodyModel(&view, dir + QStringLiteral("model.obj")) ||
      !LoadGarmentModel(&view, dir + QStringLiteral("cloth.obj")))
    return 1;
  g_data = &data;
  g_view = &view;

  CDrawingComparison::SetReference(view, false);
  const QImage fast = view.grabFramebuffer();
  CDrawingComparison::SetReference(view, true);
  const QImage reference = view.grabFramebuffer();
  const int differ = DifferentPixels(fast, reference);
  std::fprintf(stderr, "pixels that differ between the two ways: %d of %d\n", differ, fast.width() * fast.height());
  if (differ > fast.width() * fast.height() / 1000) return 1;

  CSimulationData big;
  CBenchView plot;
  if (big.Load(QStringLiteral(CORVANE_BENCH_RUN "/")) && !big.Run().m_fabric[Trunk].empty()) {
    // The scientific view's plot of the trunk's first layer's temperature.
    std::vector<PlotCurve> curves = FabricCurves(big, Trunk, 0, 4);
    plot.SetMode(ViewMode::Plot);
    plot.ResetCamera();
    plot.resize(1000, 660);
    plot.show();
    plot.SetCurves(std::move(curves));
    // The same picture both ways, from several angles and zooms.
    const double turns[][3] = {{0, 0, 0}, {20, 0, 35}, {-30, 15, -80}, {0, 0, 180}};
    for (const auto& t : turns) {
      for (const float zoom : {1.0f, 2.5f}) {
        plot.ResetCamera();
        ViewCamera camera = plot.Camera();
        camera.m_dRotX += t[0], camera.m_dRotY += t[1], camera.m_dRotZ += t[2], camera.m_fZoom = zoom;
        plot.SetCamera(camera);
        CDrawingComparison::SetReference(plot, false);
        const QImage cached = plot.grabFramebuffer();
        CDrawingComparison::SetReference(plot, true);
        const QImage everyFrame = plot.grabFramebuffer();
        const int plotDiffer = DifferentPixels(cached, everyFrame);
        std::fprintf(stderr, "line plot of %zu curves, turned %g %g %g, zoom %g: pixels that differ: %d\n",
                     plot.Curves().size(), t[0], t[1], t[2], static_cast<double>(zoom), plotDiffer);
        if (plotDiffer > cached.width() * cached.height() / 1000) return 1;
      }
    }
    plot.ResetCamera();
    g_plot = &plot;
  }

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
