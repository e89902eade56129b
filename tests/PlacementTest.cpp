// Where a chart draws a point, read off its picture as a reader would: the
// column of a spike's tip against the two tick labels that bracket its time.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <functional>

#include "ChartLogic.h"
#include "ChartPalette.h"
#include "MyChart.h"
#include "ProfileChart.h"

namespace {
constexpr QSize kSize(640, 400);
const QColor kFirst(210, 100, 100);

// Where the tick labels put x value t: between the ticks whose labels
// bracket it, in proportion.
double ColumnFromLabels(const CMyChart& chart, double t) {
  const std::vector<int> ticks = XTickColumns(chart.Layout(), 10);
  const std::vector<QString>& labels = chart.XLabels();
  for (std::size_t i = 0; i + 1 < labels.size(); ++i) {
    const double a = labels[i].toDouble(), b = labels[i + 1].toDouble();
    // A hair of slack: a label reads six digits of a float's time.
    const double slack = 1e-6 * (b - a);
    if (t >= a - slack && t <= b + slack) {
      return ticks[i] + (t - a) / (b - a) * (ticks[i + 1] - ticks[i]);
    }
  }
  ADD_FAILURE() << t << " lies outside the labels " << labels.front().toStdString() << " ... "
                << labels.back().toStdString();
  return -1;
}

// The column of the highest pixel of colour c within the plot: a spike's tip.
double TipColumn(const QImage& img, const CMyChart& chart, const QColor& c) {
  const ChartLayout& l = chart.Layout();
  for (int y = l.originY - l.axisHeight; y < l.originY; ++y) {
    int sum = 0, count = 0;
    for (int x = l.originX; x <= l.originX + l.axisWidth; ++x) {
      if (img.pixelColor(x, y) == c) {
        sum += x;
        ++count;
      }
    }
    if (count > 0) {
      return static_cast<double>(sum) / count;
    }
  }
  ADD_FAILURE() << "no pixel of the curve in the plot";
  return -1;
}

// A flat curve at 30 of `count` samples from `from`, `step` apart (each time
// a float, as the files' decimals read), rising to 50 at the sample nearest
// `spike`.
void AddCurve(CMyChart& chart, double from, double step, int count, double spike) {
  const auto at = static_cast<int>(std::lround((spike - from) / step));
  for (int k = 0; k < count; ++k) {
    chart.AddPoint(static_cast<float>(from + k * step), k == at ? 50.0f : 30.0f);
  }
}
}  // namespace

// A run that starts late, one sampled unevenly, a zoomed chart, two runs on
// other samples, a run's last point: each spike's tip stands where the
// labels put its time, within a pixel.
TEST(Placement, EveryPointStandsWhereTheLabelsPutItsTime) {
  const QColor second = CurveColour(1, kFirst);
  const struct {
    const char* what;
    std::function<void(CMyChart&)> fill;
    double spike;
    QColor colour;
  } cases[] = {
      {"a run whose first sample is at 10 min", [](CMyChart& c) { AddCurve(c, 10, 0.5, 221, 37); }, 37, kFirst},
      {"its first point", [](CMyChart& c) { AddCurve(c, 10, 0.5, 221, 10); }, 10, kFirst},
      {"a run from 0 at 0.1 min: its last point on the last tick", [](CMyChart& c) { AddCurve(c, 0, 0.1, 1201, 120); },
       120, kFirst},
      {"a run from 0 at 0.1 min: a middle point", [](CMyChart& c) { AddCurve(c, 0, 0.1, 1201, 60.3); }, 60.3, kFirst},
      {"a run sampled unevenly",
       [](CMyChart& c) {
         for (const float t : {0.0f, 1.0f, 2.0f, 3.0f, 7.0f, 8.0f, 9.5f, 15.0f, 16.0f, 30.0f}) {
           c.AddPoint(t, t == 7.0f ? 50.0f : 30.0f);
         }
       },
       7, kFirst},
      {"a zoomed chart",
       [](CMyChart& c) {
         AddCurve(c, 0, 0.1, 1201, 37.3);
         c.Render(kSize);
         c.ZoomTo({30, 50});
       },
       37.3, kFirst},
      {"the second of two runs on other samples",
       [](CMyChart& c) {
         AddCurve(c, 0, 0.5, 121, -1);
         c.AddSeries(QStringLiteral("B"), QString(), 0);
         AddCurve(c, 5, 0.3, 284, 41.3);
       },
       41.3, second},
      {"the first of two runs on other samples",
       [](CMyChart& c) {
         AddCurve(c, 0, 0.5, 121, 20);
         c.AddSeries(QStringLiteral("B"), QString(), 0);
         AddCurve(c, 5, 0.3, 284, -1);
       },
       20, kFirst},
  };
  for (const auto& c : cases) {
    CMyChart chart;
    c.fill(chart);
    const QImage img = chart.Render(kSize);
    EXPECT_NEAR(TipColumn(img, chart, c.colour), ColumnFromLabels(chart, c.spike), 1.0) << c.what;
  }
}

// The axis of a run that starts late still starts at 0; the hover box reads
// nothing there and, over a point, that point's own time.
TEST(Placement, HoverReadsThePointUnderThePointer) {
  CMyChart chart;
  AddCurve(chart, 10, 0.5, 221, 37);
  chart.resize(kSize);
  chart.show();
  chart.Render(kSize);
  ASSERT_EQ(chart.XLabels().front(), QStringLiteral("0"));
  auto hoverAt = [&](double column) {
    const QPointF at(column, chart.Layout().originY - 20);
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &move);
    return chart.HoverText();
  };
  EXPECT_EQ(hoverAt(XTickColumns(chart.Layout(), 10)[0]), QString()) << "nothing at 0";
  EXPECT_EQ(hoverAt(ColumnFromLabels(chart, 37)), QStringLiteral("37 min: 50"));
  EXPECT_EQ(hoverAt(ColumnFromLabels(chart, 10)), QStringLiteral("10 min: 30"));
}

// A profile's nodes stand at their positions, each on its own layer's side
// of the dashed boundary, whatever each layer's node spacing.
TEST(Placement, ProfileNodesStandAtTheirPositions) {
  const std::vector<float> inner{0.06f, 0.12f}, outer{0.15f, 0.19f, 0.23f, 0.27f, 0.31f};
  for (const float spike : {0.06f, 0.12f, 0.15f, 0.23f, 0.31f}) {
    FabricProfile profile;
    profile.time = 12.5f;
    for (const float x : inner) {
      profile.points.push_back({x, 0, x == spike ? 50.0f : 30.0f});
    }
    for (const float x : outer) {
      profile.points.push_back({x, 1, x == spike ? 50.0f : 30.0f});
    }
    profile.layers = {{0, 0.06f, 0.12f}, {1, 0.15f, 0.31f}};
    profile.boundaries = {0.135f};
    CProfileChart chart;
    chart.SetProfile(profile, QStringLiteral("Trunk"), QStringLiteral("Temperature(Degree)"), std::nullopt);
    const QImage img = chart.Render(kSize);
    const double tip = TipColumn(img, chart, kFirst);
    EXPECT_NEAR(tip, ColumnFromLabels(chart, spike), 1.0) << spike;
    // The boundary: the dashed grey column halfway between the layers.
    const int boundary = static_cast<int>(std::lround(ColumnFromLabels(chart, 0.135)));
    int grey = 0;
    for (int y = chart.Layout().originY - chart.Layout().axisHeight; y < chart.Layout().originY; ++y) {
      grey += img.pixelColor(boundary, y) == QColor(90, 90, 90);
    }
    EXPECT_GT(grey, 20) << "the dashed boundary at 0.135 cm";
    EXPECT_EQ(tip < boundary, spike < 0.135f) << spike << " on its layer's side";
  }
}

// The time cursor's label reads whole at the run's last minute: left of its
// line where the chart ends first.
TEST(Placement, TheCursorsLabelReadsWholeAtTheRunsEnd) {
  for (const float at : {60.0f, 120.0f}) {
    CMyChart chart;
    AddCurve(chart, 0, 0.5, 241, -1);
    chart.SetCursorTime(at);
    QImage img(kSize, QImage::Format_RGB32);
    QPainter p(&img);
    chart.Paint(p, kSize, false, /*overlays=*/true);
    p.end();
    const int line = chart.Scale().Column(at);
    int left = kSize.width(), right = -1;
    const int top = YTickRows(chart.Layout(), 10).back();
    for (int y = std::max(0, top - 16); y < top - 1; ++y) {
      for (int x = 0; x < kSize.width(); ++x) {
        if (img.pixelColor(x, y) == QColor(40, 40, 160) && x != line) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    ASSERT_GE(right, 0) << at << ": the label is drawn";
    EXPECT_LT(right, kSize.width() - 1) << at << ": it ends inside the chart";
    // "60 min" is some 35 pixels wide, "120 min" some 45: the whole of it, not "12".
    EXPECT_GT(right - left, at < 100 ? 30 : 40) << at;
    EXPECT_EQ(left > line, at < 100) << at << ": right of the line unless the chart ends first";
  }
}
