// The chart's parts, each without a widget: the curves, the axes' ranges,
// the zoom, the hover and the painter.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>

#include "ChartAxes.h"
#include "ChartHover.h"
#include "ChartPainter.h"
#include "ChartSeries.h"
#include "ChartZoom.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A run sampled every 0.1 min from minute 5 (a run that starts late).
CChartSeriesModel LateRun(int points) {
  CChartSeriesModel m;
  for (int i = 0; i < points; ++i) {
    m.AddPoint(5.0f + 0.1f * static_cast<float>(i), 30.0f + static_cast<float>(i % 7));
  }
  return m;
}

ChartAxes AxesOf(const CChartSeriesModel& m, TimeRange shown, bool zoomed) {
  const ChartLayout l = LayoutChart(800, 500, false, 16, 8, true);
  const TimeRange whole = m.Times({0, 0});
  return LayOutAxes(l, whole, shown, zoomed, AxisRange(m, 0, BandMode::None, {kNaN, kNaN}, std::nullopt),
                    AxisRange(m, 1, BandMode::None, {kNaN, kNaN}, std::nullopt));
}
}  // namespace

TEST(ChartParts, TheModelKeepsBoundsOrderAndLooks) {
  CChartSeriesModel m = LateRun(3);
  m.AddPoint(4.0f, kNaN);  // out of order, and a value the run lacks
  const CChartSeries& first = m.Curves().front();
  EXPECT_FALSE(first.Sorted());
  EXPECT_EQ(first.Times(), (TimeRange{4.0, 5.2f}));
  EXPECT_FLOAT_EQ(first.Values().lo, 30);
  EXPECT_FLOAT_EQ(first.Values().hi, 32);
  SeriesLook look;
  look.m_strName = QStringLiteral("Head");
  m.SetFirstLook(look);
  EXPECT_EQ(m.Points().size(), 4u) << "naming the first curve keeps its points";
  EXPECT_TRUE(m.LegendTexts().isEmpty()) << "one curve has no legend";
  EXPECT_FLOAT_EQ(m.Values(1).lo, 1000000) << "no curve on the right axis";
  EXPECT_TRUE(m.DataText(QStringLiteral("Time(min)"), QStringLiteral("T"), QLatin1Char(',')).endsWith("4,\n"));
  look.m_strName = QStringLiteral("Core");
  look.m_nAxis = 1;
  m.AddSeries(look);
  m.AddPoint(6, 50);
  EXPECT_TRUE(m.HasRightAxis());
  EXPECT_EQ(m.LegendTexts(), (QStringList{QStringLiteral("Head"), QStringLiteral("Core")}));
  EXPECT_FLOAT_EQ(m.Values(1).hi, 50);
  m.Clear();
  ASSERT_EQ(m.Curves().size(), 1u);
  EXPECT_TRUE(m.Points().empty());
  EXPECT_TRUE(m.Curves().front().Look().m_strName.isEmpty());
}

TEST(ChartParts, AnAxisTakesTheBoxThenTheFixedRangeThenTheBandsThenTheCurves) {
  const CChartSeriesModel m = LateRun(10);  // values 30 ... 36
  struct Case {
    int axis = 0;
    BandMode bands = BandMode::None;
    AxisSpan fixed{kNaN, kNaN};
    std::optional<AxisSpan> box;
    float lo = 0, hi = 0;
  } cases[] = {
      {0, BandMode::None, {kNaN, kNaN}, std::nullopt, 30, 36},
      {0, BandMode::Comfort, {kNaN, kNaN}, std::nullopt, 0, 100},
      {0, BandMode::Comfort, {20, 40}, std::nullopt, 20, 40},
      {0, BandMode::None, {20, kNaN}, std::nullopt, 30, 36},  // half a fixed range is none
      {0, BandMode::None, {20, 40}, AxisSpan{31, 32}, 31, 32},
      {0, BandMode::None, {37, 37}, std::nullopt, 36.5f, 37.5f},  // flat: widened
      {1, BandMode::Comfort, {20, 40}, std::nullopt, 50, 60},     // bands and a fixed range are the left's
  };
  CChartSeriesModel both = LateRun(10);
  SeriesLook right;
  right.m_nAxis = 1;
  both.AddSeries(right);
  both.AddPoint(5, 50);
  both.AddPoint(6, 60);
  for (const Case& c : cases) {
    const AxisSpan a = AxisRange(both, c.axis, c.bands, c.fixed, c.box);
    EXPECT_FLOAT_EQ(a.lo, c.lo) << c.axis << " " << static_cast<int>(c.bands) << " " << c.fixed.lo;
    EXPECT_FLOAT_EQ(a.hi, c.hi) << c.axis << " " << static_cast<int>(c.bands) << " " << c.fixed.lo;
  }
}

TEST(ChartParts, ZoomBoxesWheelsAndDragsWithoutAWidget) {
  const CChartSeriesModel m = LateRun(901);  // 5 ... 95 min
  const TimeRange whole = m.Times({0, 0});
  const int n = static_cast<int>(m.Points().size());
  CChartZoom zoom;
  const ChartAxes axes = AxesOf(m, whole, false);
  const ChartLayout& l = axes.layout;
  // A box under 4 pixels wide is a slip; a flat one zooms the time alone.
  zoom.Press({l.originX + 100, l.originY - 50}, true, whole);
  EXPECT_TRUE(zoom.Release({l.originX + 102, l.originY - 150}, axes, whole, n));
  EXPECT_FALSE(zoom.Zoomed());
  zoom.Press({l.originX + 100, l.originY - 50}, true, whole);
  ASSERT_TRUE(zoom.Drag({l.originX + 300, l.originY - 52}, axes, whole, n));
  ASSERT_TRUE(zoom.Box());
  EXPECT_EQ(zoom.Box()->left(), l.originX + 100);
  EXPECT_EQ(zoom.Box()->right(), l.originX + 300);
  EXPECT_TRUE(zoom.Release({l.originX + 300, l.originY - 52}, axes, whole, n));
  EXPECT_FALSE(zoom.Box()) << "the box goes with the button";
  EXPECT_TRUE(zoom.Zoomed());
  EXPECT_FALSE(zoom.ValueBoxed());
  EXPECT_NEAR(zoom.Shown(whole, n).lo, axes.scale.TimeAt(l.originX + 100), 1e-6);
  EXPECT_NEAR(zoom.Shown(whole, n).hi, axes.scale.TimeAt(l.originX + 300), 1e-6);
  // A tall box: each axis shows the values its rows span.
  zoom.Reset();
  zoom.Press({l.originX + 100, ValueRow(l, 35, axes.m_fYMin, axes.m_fYMax)}, true, whole);
  zoom.Release({l.originX + 300, ValueRow(l, 31, axes.m_fYMin, axes.m_fYMax)}, axes, whole, n);
  ASSERT_TRUE(zoom.ValueBox(0));
  EXPECT_NEAR(zoom.ValueBox(0)->lo, 31, 0.05);
  EXPECT_NEAR(zoom.ValueBox(0)->hi, 35, 0.05);
  EXPECT_FALSE(zoom.ValueBox(2)) << "two axes only";
  // A drag pans the zoomed range: the time under the pointer stays there.
  const TimeRange before = zoom.Shown(whole, n);
  const ChartAxes zoomed = AxesOf(m, before, true);
  zoom.Press({l.originX + 400, 100}, false, before);
  zoom.Drag({l.originX + 300, 100}, zoomed, whole, n);
  EXPECT_NEAR(zoom.Shown(whole, n).lo - before.lo, 100 * before.Span() / zoomed.scale.pixels, 1e-6);
  zoom.Release({l.originX + 300, 100}, zoomed, whole, n);
  // Home in the middle of a box shows the whole run and leaves the box be:
  // its release still zooms to it. A double click ends it.
  zoom.Reset();
  zoom.Press({l.originX + 100, 100}, true, whole);
  zoom.Reset();
  EXPECT_TRUE(zoom.Box());
  zoom.Release({l.originX + 300, 102}, axes, whole, n);
  EXPECT_TRUE(zoom.Zoomed());
  zoom.Press({l.originX + 100, 100}, true, whole);
  zoom.EndDrag();
  EXPECT_FALSE(zoom.Dragging());
  EXPECT_FALSE(zoom.Box());
  // Half notches add up; the whole run again is no zoom.
  zoom.Reset();
  EXPECT_FALSE(zoom.Wheel(60, l.originX + 10, axes, whole, n));
  EXPECT_TRUE(zoom.Wheel(60, l.originX + 10, axes, whole, n));
  EXPECT_NEAR(zoom.Shown(whole, n).Span(), whole.Span() * kWheelZoom, 1e-6);
  zoom.Show(whole, whole, n);
  EXPECT_FALSE(zoom.Zoomed());
}

TEST(ChartParts, TheHoverReadsThePointUnderThePointer) {
  const CChartSeriesModel m = LateRun(11);  // 5 ... 6 min
  const ChartAxes axes = AxesOf(m, m.Times({0, 0}), false);
  const ChartLayout& l = axes.layout;
  EXPECT_EQ(HoverIndexAt(l.originX - 1, axes, m.Points()), -1) << "left of the axis";
  EXPECT_EQ(HoverIndexAt(l.originX + 1, axes, m.Points()), -1) << "minute 0 of a run that starts at 5";
  const int at = HoverIndexAt(axes.scale.Column(5.3), axes, m.Points());
  EXPECT_EQ(at, 3);
  EXPECT_EQ(ChartHoverText(m, at, QStringLiteral("Temperature of Skin(Degree)"), QStringLiteral("min")),
            QStringLiteral("5.3 min: 33 Degree"));
  EXPECT_EQ(ChartHoverText(m, 11, QString(), QStringLiteral("min")), QString()) << "no such point";
}

// A journal's column, 85 mm at 300 dpi: the painter lays out the axes it
// draws, the line stands on them, and the right axis' long caption reads
// whole inside the page.
TEST(ChartParts, ThePainterDrawsWithoutAWidgetOnAColumnWidePage) {
  CChartSeriesModel m = LateRun(11);
  SeriesLook right;
  right.m_nAxis = 1;
  m.AddSeries(right);
  m.AddPoint(5, 50);
  m.AddPoint(6, 60);
  ChartPaintInput in;
  in.curves = &m;
  in.title = QStringLiteral("Skin");
  in.xLabel = QStringLiteral("Time(min)");
  in.yLabel = QStringLiteral("Temperature of Skin(Degree)");
  in.y2Label = QStringLiteral("Sweat Volume Accumulated on Skin Surface(Esk:W*m^2), Metabolism Rate(W*m^2)");
  in.whole = in.shown = m.Times({0, 0});
  in.left = AxisRange(m, 0, BandMode::None, {kNaN, kNaN}, std::nullopt);
  in.right = AxisRange(m, 1, BandMode::None, {kNaN, kNaN}, std::nullopt);
  const QSize page(1004, 400);
  QImage image(page, QImage::Format_RGB32);
  QPainter p(&image);
  const ChartAxes axes = PaintChart(p, page, in);
  p.end();
  EXPECT_EQ(axes.scale.Column(in.whole.lo), axes.layout.originX);
  EXPECT_EQ(axes.yLabels.front(), QStringLiteral("30"));
  EXPECT_EQ(image.pixelColor(axes.scale.Column(5.3), ValueRow(axes.layout, 33, axes.m_fYMin, axes.m_fYMax)),
            SeriesColour(m, 0, BandMode::None));
  int top = page.height(), bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = axes.layout.originX + axes.layout.axisWidth + 40; x < page.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(bottom, 0) << "the right caption is drawn";
  EXPECT_GT(top, 0);
  EXPECT_LT(bottom, page.height() - 1);
}
