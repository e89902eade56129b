// Switching options in the scientific view on the big run: from the click to
// the painted chart (a body property of 36,000 samples) or plot (a fabric
// layer of every fabric step). Run under a display (xvfb-run).
// Usage: bench_science [benchmark flags]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "SimulationData.h"

namespace {
CSimulationData* g_data = nullptr;
CScientificDlg* g_view = nullptr;

void Switch(benchmark::State& state, OptionKind kind) {
  if (!g_view) return state.SkipWithError("no big run: cmake --build build-release --target bench_run");
  const int a = EncodeOption(Trunk, kind, 0), b = EncodeOption(Leg, kind, 0);
  bool first = true;
  for (auto _ : state) {
    g_view->OnOptionSelect(first ? a : b);
    if (IsChartKind(kind))
      g_view->Chart()->repaint();
    else
      g_view->PlotViewMade()->repaint();
    first = !first;
  }
}
void BM_SwitchToBodyPropertyChart(benchmark::State& state) { Switch(state, OptionKind::Body); }
void BM_SwitchToFabricLayerPlot(benchmark::State& state) { Switch(state, OptionKind::Fabric); }
BENCHMARK(BM_SwitchToBodyPropertyChart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwitchToFabricLayerPlot)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CSimulationData data;
  std::unique_ptr<CScientificDlg> view;
  if (data.Load(QStringLiteral(CORVANE_BENCH_RUN "/"))) {
    view = std::make_unique<CScientificDlg>(&data, QStringLiteral(CORVANE_BIN_DIR "/"));
    view->show();
    QApplication::processEvents();
    g_data = &data;
    g_view = view.get();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
