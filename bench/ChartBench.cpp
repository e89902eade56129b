// Painting a chart of 1,000,000 points at 1000 x 600: the chart's own way
// (one vertical run per pixel column that many points share) against drawing
// every segment. Both give the same picture (tests/ChartTest.cpp proves it).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <random>

#include "MyChart.h"

namespace {
CMyChart* MakeChart() {
  auto* chart = new CMyChart;
  std::mt19937 rng(1);
  std::normal_distribution<float> noise(0, 1);
  float y = 0;
  for (int i = 0; i < 1000000; ++i) chart->AddPoint(static_cast<float>(i) / 1000.0f, y += noise(rng));
  return chart;
}

void Paint(benchmark::State& state, bool everySegment) {
  static CMyChart* chart = MakeChart();
  QImage image(1000, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&image);
    chart->Paint(p, image.size(), everySegment);
  }
}
void BM_ChartColumnRuns(benchmark::State& state) { Paint(state, false); }
void BM_ChartEverySegment(benchmark::State& state) { Paint(state, true); }
BENCHMARK(BM_ChartColumnRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChartEverySegment)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
