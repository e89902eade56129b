// Painting charts of 1,000,000 points at 1000 x 600.
//
// BM_ChartColumnRuns / BM_ChartEverySegment: one curve, the chart's own way
// (one vertical run per pixel column that many points share) against
// drawing every segment. Both give the same picture (tests/ChartTest.cpp
// proves it).
//
// BM_SixCurves/KIND: six curves of 1,000,000 points against one, painted
// in turn in every iteration; the counters give each one's median time,
// their ratio, and whether the six-curve picture equals the one of drawing every
// segment (checked once, before timing). KIND is the shape of the data: a
// random walk, a smooth wave with a little noise, or a square wave with
// spikes and gaps.
//
// BM_ZoomWheelStep/FROM: a 1,000,000-point chart of the window's size
// zoomed by one wheel notch (the widget's own wheel handler) and painted
// again, notches in and out by turns so that the range stays where it
// began: from the whole run (800,000 points shown after a notch in) or from
// a hundredth of it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "MyChart.h"

namespace {
constexpr int kPoints = 1000000;
const QSize kSize(1000, 600);

enum class Shape { Walk, Wave, Square };

// Curve `curve` of a shape: each of the six is drawn with its own seed or phase.
void AddCurve(CMyChart& chart, Shape shape, int curve) {
  std::mt19937 rng(static_cast<unsigned>(curve + 1));
  std::normal_distribution<float> noise(0, 1);
  float walk = 0;
  for (int i = 0; i < kPoints; ++i) {
    const float t = static_cast<float>(i) / 1000.0f;
    float y = 0;
    switch (shape) {
      case Shape::Walk:
        y = walk += noise(rng);
        break;
      case Shape::Wave:
        y = 30 * std::sin(t * 0.05f + static_cast<float>(curve)) + 0.2f * noise(rng);
        break;
      case Shape::Square:
        if ((i / 20011 + curve) % 7 == 6) {
          y = std::nanf("");  // a gap
        } else {
          y = ((i / 4001 + curve) % 2) * 20.0f + (i % 9973 == 0 ? 50.0f : 0.0f);
        }
        break;
    }
    chart.AddPoint(t, y);
  }
}

std::unique_ptr<CMyChart> MakeChart(Shape shape, int curves) {
  auto chart = std::make_unique<CMyChart>();
  for (int c = 0; c < curves; ++c) {
    if (c > 0) {
      chart->AddSeries(QStringLiteral("curve %1").arg(c), QString(), 0);
    }
    AddCurve(*chart, shape, c);
  }
  return chart;
}

void Paint(benchmark::State& state, bool everySegment) {
  static std::unique_ptr<CMyChart> chart = MakeChart(Shape::Walk, 1);
  QImage image(kSize, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&image);
    chart->Paint(p, image.size(), everySegment);
  }
}
void BM_ChartColumnRuns(benchmark::State& state) { Paint(state, false); }
void BM_ChartEverySegment(benchmark::State& state) { Paint(state, true); }
BENCHMARK(BM_ChartColumnRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChartEverySegment)->Unit(benchmark::kMillisecond)->UseRealTime();

double PaintSeconds(CMyChart& chart, QImage& image) {
  const auto start = std::chrono::steady_clock::now();
  {
    QPainter p(&image);
    chart.Paint(p, image.size());
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SixCurves(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const std::unique_ptr<CMyChart> one = MakeChart(shape, 1), six = MakeChart(shape, 6);
  const bool identical = six->Render(kSize) == six->Render(kSize, true);
  QImage image(kSize, QImage::Format_RGB32);
  std::vector<double> ones, sixes;
  for (auto _ : state) {
    ones.push_back(PaintSeconds(*one, image));
    sixes.push_back(PaintSeconds(*six, image));
    state.SetIterationTime(sixes.back());
  }
  // Medians: a paint that another process interrupted counts for neither.
  auto median = [](std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  state.counters["one_ms"] = 1000 * median(ones);
  state.counters["six_ms"] = 1000 * median(sixes);
  state.counters["ratio"] = median(sixes) / median(ones);
  state.counters["identical"] = identical ? 1 : 0;
}
BENCHMARK(BM_SixCurves)
    ->ArgName("walk0_wave1_square2")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(31);

void BM_ZoomWheelStep(benchmark::State& state) {
  const std::unique_ptr<CMyChart> chart = MakeChart(Shape::Walk, 1);
  chart->resize(kSize);
  QImage image(kSize, QImage::Format_RGB32);
  PaintSeconds(*chart, image);  // lays it out, as the window's first paint does
  if (state.range(0) == 1) {
    chart->ZoomTo({400, 410});  // a hundredth of the run
    PaintSeconds(*chart, image);
  }
  const QPoint at(chart->Layout().originX + chart->Layout().axisWidth / 3, chart->Layout().originY - 50);
  int delta = 120;
  for (auto _ : state) {
    QWheelEvent wheel(at, chart->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart.get(), &wheel);
    PaintSeconds(*chart, image);
    delta = -delta;
  }
  state.counters["shown_span_min"] = chart->ShownRange().Span();
}
BENCHMARK(BM_ZoomWheelStep)
    ->ArgName("whole0_hundredth1")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
