// The chart: its arithmetic, and its pictures painted into images.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <random>

#include "ChartLogic.h"
#include "ChartPalette.h"
#include "MyChart.h"
#include "PictureProbe.h"

TEST(ChartLogic, AxisValuesAreRoundedToTheDigitsShown) {
  const std::pair<float, const char*> cases[] = {
      {3.14159f, "3.14"},    {37.25f, "37.2"},       {37.56f, "37.6"},       {36.79f, "36.8"},   {0.012345f, "0.0123"},
      {-2.5f, "-2.5"},       {100.0f, "100"},        {250.75f, "251."},      {-37.56f, "-37.6"}, {0.0005f, "0.0005"},
      {0.019999f, "0.0200"}, {12345.0f, "1.23e+04"}, {0.00005f, "5.00e-05"}, {2e-9f, "0"},
  };
  for (const auto& [v, text] : cases) {
    EXPECT_EQ(FormatAxisValue(v), QLatin1String(text)) << v;
  }
  EXPECT_EQ(FormatTickLabel(7.5f), QStringLiteral("7.5"));
}

TEST(ChartLogic, FlatRangesWidenAroundTheirValue) {
  const struct {
    float value, lo, hi;
  } cases[] = {{37, 36.5f, 37.5f}, {0, -0.05f, 0.05f}, {-37, -37.5f, -36.5f}, {2500, 2450, 2550}};
  for (const auto& c : cases) {
    float lo = c.value, hi = c.value;
    WidenFlatRange(lo, hi);
    EXPECT_FLOAT_EQ(lo, c.lo) << c.value;
    EXPECT_FLOAT_EQ(hi, c.hi) << c.value;
  }
  float lo = 1, hi = 2;
  WidenFlatRange(lo, hi);
  EXPECT_EQ(hi - lo, 1.0f);
}

TEST(ChartLogic, FontsShrinkInStepsOfTwoToFit) {
  EXPECT_EQ(FitFontHeight(24, 10, 1000), 24);
  EXPECT_EQ(FitFontHeight(24, 100, 500), 10);
  EXPECT_EQ(FitFontHeight(16, 1000, 10), 0);
}

TEST(ChartLogic, GradientStripsRunFromTheTopColourDown) {
  const auto strips = GradientStrips(QRect(0, 0, 5, 10), QColor(255, 0, 0), QColor(0, 0, 255));
  ASSERT_EQ(strips.size(), 5u);
  EXPECT_EQ(strips.front().colour, QColor(255, 0, 0));
  EXPECT_EQ(strips.front().rect, QRect(0, 0, 5, 2));
  EXPECT_EQ(strips.back().rect.bottom(), 9);
  EXPECT_EQ(strips[1].colour, QColor(204, 0, 51));
  EXPECT_TRUE(GradientStrips(QRect(0, 0, 5, 0), Qt::red, Qt::blue).empty());
}

namespace {
constexpr QSize kSize(600, 400);
const QColor kLine(210, 100, 100);

int CountColour(const QImage& img, const QColor& c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      n += img.pixelColor(x, y) == c;
    }
  }
  return n;
}
}  // namespace

TEST(Chart, AFlatSeriesIsDrawnAtTheMiddleTick) {
  CMyChart chart;
  for (int i = 0; i < 50; ++i) {
    chart.AddPoint(static_cast<float>(i), 37.0f);
  }
  const QImage img = chart.Render(kSize);
  EXPECT_FLOAT_EQ(chart.Axes().m_fYMin, 36.5f);
  EXPECT_FLOAT_EQ(chart.Axes().m_fYMax, 37.5f);
  const int middle = YTickRows(chart.Layout(), 10)[5];
  EXPECT_EQ(ValueRow(chart.Layout(), 37.0, chart.Axes().m_fYMin, chart.Axes().m_fYMax), middle);
  for (int x = chart.Layout().originX + 10; x < chart.Layout().originX + chart.Layout().axisWidth - 10; x += 37) {
    EXPECT_EQ(img.pixelColor(x, middle), kLine) << x;
  }
}

TEST(Chart, BandsFillFromTheTopTickToJustAboveTheAxis) {
  const struct {
    int mode{};
    QColor top, bottom;
  } cases[] = {{1, QColor(255, 0, 0), QColor(0, 0, 255)},
               {2, QColor(0, 0, 255), QColor(255, 0, 0)},
               {3, QColor(255, 0, 0), QColor(0, 0, 255)}};
  for (const auto& c : cases) {
    CMyChart chart;
    chart.SetBandMode(static_cast<BandMode>(c.mode));
    const QImage img = chart.Render(kSize);
    const ChartLayout& l = chart.Layout();
    const int top = YTickRows(l, 10)[10], x = l.originX + l.axisWidth / 2;
    EXPECT_EQ(img.pixelColor(x, top), c.top) << c.mode;
    EXPECT_EQ(img.pixelColor(x, top - 1), Qt::white) << c.mode;
    const QColor bottom = img.pixelColor(x, l.originY - 2);
    EXPECT_NEAR(bottom.red(), c.bottom.red(), 8) << c.mode;
    EXPECT_NEAR(bottom.blue(), c.bottom.blue(), 8) << c.mode;
    EXPECT_FLOAT_EQ(chart.Axes().m_fYMax, 100.0f);
  }
}

TEST(Chart, AnEmptyChartPaintsNoSeriesAndClearAllEndsTheBands) {
  CMyChart chart;
  EXPECT_EQ(CountColour(chart.Render(kSize), kLine), 0);
  chart.SetBandMode(BandMode::Dampness);
  chart.AddPoint(0, 1);
  chart.ClearAll();
  EXPECT_EQ(chart.Bands(), BandMode::None);
  EXPECT_TRUE(chart.Points().empty());
}

TEST(Chart, TheXRangeOnlyWidens) {
  CMyChart chart;
  for (float x : {0.0f, 60.0f}) {
    chart.AddPoint(x, 1);
  }
  chart.Render(kSize);
  chart.ClearAll();
  for (float x : {0.0f, 30.0f}) {
    chart.AddPoint(x, 1);
  }
  chart.Render(kSize);
  EXPECT_FLOAT_EQ(chart.Axes().m_fXMax, 60.0f);
}

// However many points share a pixel column, the picture is the one that
// drawing every segment gives, pixel for pixel.
TEST(Chart, ManyPointsGiveThePictureOfEverySegment) {
  std::mt19937 rng(7);
  for (int mode : {0, 3}) {
    for (int n : {700, 200000}) {
      CMyChart chart;
      std::normal_distribution<float> noise(0, 1);
      float y = 0;
      for (int i = 0; i < n; ++i) {
        chart.AddPoint(static_cast<float>(i), y += noise(rng));
      }
      chart.SetBandMode(static_cast<BandMode>(mode));
      const QImage fast = chart.Render(kSize), plain = chart.Render(kSize, true);
      EXPECT_GT(CountColour(fast, mode ? QColor(Qt::black) : kLine), 100) << mode << " " << n;
      EXPECT_EQ(fast, plain) << "band mode " << mode << ", " << n << " points";
    }
  }
}

namespace {
CMyChart* Sample(CMyChart& chart) {
  chart.SetXLabel(QStringLiteral("Time(min)"));
  chart.SetYLabel(QStringLiteral("Temperature of Skin(Degree)"));
  chart.SetTitle(chart.YLabel());
  for (int i = 0; i < 5; ++i) {
    chart.AddPoint(0.5f * static_cast<float>(i), 33.0f + 0.1f * static_cast<float>(i));
  }
  chart.resize(kSize);
  chart.Render(kSize);  // lays it out
  return &chart;
}
}  // namespace

TEST(Chart, ItsNumbersComeOutAsTextCsvAndPictures) {
  CMyChart chart;
  Sample(chart);
  EXPECT_EQ(chart.DataText(QLatin1Char('\t')).section(QLatin1Char('\n'), 0, 1),
            QStringLiteral("Time(min)\tTemperature of Skin(Degree)\n0\t33"));
  QTemporaryDir dir;
  ASSERT_TRUE(chart.SaveData(dir.filePath(QStringLiteral("c.csv"))));
  QFile csv(dir.filePath(QStringLiteral("c.csv")));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().split('\n').at(5), "2,33.4");
  ASSERT_TRUE(chart.SaveImage(dir.filePath(QStringLiteral("c.png"))));
  EXPECT_EQ(QImage(dir.filePath(QStringLiteral("c.png"))).size(), kSize);
  ASSERT_TRUE(chart.SaveImage(dir.filePath(QStringLiteral("c.svg"))));
  QFile svg(dir.filePath(QStringLiteral("c.svg")));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
  EXPECT_FALSE(chart.SaveData(QStringLiteral("/nonexistent/dir/c.csv")));
}

TEST(Chart, HoverShowsTheNearestPointAndTheCursorTheClocksTime) {
  CMyChart chart;
  Sample(chart);
  chart.show();
  const QPoint third(chart.Scale().Column(1.0),
                     ValueRow(chart.Layout(), 33.2, chart.Axes().m_fYMin, chart.Axes().m_fYMax));
  QMouseEvent move(QEvent::MouseMove, QPointF(third + QPoint(1, 20)), chart.mapToGlobal(QPointF(third)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &move);
  EXPECT_EQ(chart.HoverIndex(), 2);
  EXPECT_EQ(chart.HoverText(), QStringLiteral("1 min: 33.2 Degree"));
  chart.SetCursorTime(1.5f);
  QImage img(kSize, QImage::Format_RGB32);
  QPainter painter(&img);
  chart.Paint(painter, kSize, false, /*overlays=*/true);
  painter.end();
  const int x = chart.Scale().Column(1.5);
  const int y = (chart.Layout().originY + YTickRows(chart.Layout(), 10).back()) / 2;
  EXPECT_EQ(img.pixelColor(x, y), QColor(40, 40, 160));
  // A saved picture holds neither the cursor nor the hover box.
  const QImage saved = chart.Render(kSize);
  EXPECT_NE(saved.pixelColor(x, y), QColor(40, 40, 160));
  auto tooltip = [](const QColor& c) { return c == QColor(255, 255, 225); };
  EXPECT_EQ(CountPixels(saved, saved.rect(), tooltip), 0);
  EXPECT_GT(CountPixels(img, img.rect(), tooltip), 0);
}

// Each grid line reads its own value: where the digits shown would make two
// neighbours alike, every label gets another decimal, rounded.
TEST(ChartLogic, NeighbouringTickLabelsNeverReadAlike) {
  std::vector<float> core, comfort;
  for (int i = 0; i <= 10; ++i) {
    core.push_back(36.897f + 0.0906f * static_cast<float>(i));
  }
  for (int i = 0; i <= 10; ++i) {
    comfort.push_back(10.0f * static_cast<float>(i));
  }
  const std::vector<QString> labels = FormatAxisValues(core);
  EXPECT_EQ(labels.front(), QStringLiteral("36.90"));
  EXPECT_EQ(labels[6], QStringLiteral("37.44"));
  EXPECT_EQ(labels.back(), QStringLiteral("37.80"));
  for (std::size_t i = 1; i < labels.size(); ++i) {
    EXPECT_NE(labels[i], labels[i - 1]) << i;
  }
  const std::vector<QString> plain = FormatAxisValues(comfort);
  EXPECT_EQ(plain, (std::vector<QString>{"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}))
      << "labels that differ keep the usual digits";
}

// A value the run does not hold breaks the line and leaves an empty cell.
TEST(Chart, AMissingValueLeavesAGap) {
  CMyChart chart;
  for (int j = 0; j < 9; ++j) {
    chart.AddPoint(static_cast<float>(j), j == 4 ? std::nanf("") : 30.0f);
  }
  chart.AddPoint(9, 31.0f);
  const QImage img = chart.Render(kSize);
  const int y = ValueRow(chart.Layout(), 30.0, chart.Axes().m_fYMin, chart.Axes().m_fYMax);
  EXPECT_EQ(img.pixelColor(chart.Scale().Column(2), y), kLine);
  EXPECT_NE(img.pixelColor(chart.Scale().Column(4), y), kLine) << "the missing value leaves a gap";
  EXPECT_TRUE(chart.DataText(QLatin1Char(',')).contains(QStringLiteral("\n4,\n"))) << "and an empty cell";
}

// The last x label and the captions end inside the chart, however narrow.
TEST(Chart, LabelsAndCaptionsStayInside) {
  for (const int width : {300, 480, 640}) {
    CMyChart chart;
    chart.SetXLabel(QStringLiteral("Time(min)"));
    chart.SetYLabel(QStringLiteral("Sweat Volume Accumulated on Skin Surface(Esk:W*m^2)"));
    chart.SetTitle(chart.YLabel());
    for (int t = 0; t <= 480; t += 48) {
      chart.AddPoint(static_cast<float>(t), static_cast<float>(t) / 10);
    }
    const QImage img = chart.Render(QSize(width, 300));
    // Nothing dark on the chart's edges: no text runs out of it.
    auto dark = [](const QColor& c) { return qGray(c.rgb()) < 100; };
    EXPECT_EQ(CountPixels(img, QRect(width - 1, 0, 1, 300), dark), 0) << width;
    EXPECT_EQ(CountPixels(img, QRect(0, 0, width, 1), dark), 0) << width;
    EXPECT_EQ(CountPixels(img, QRect(0, 299, width, 1), dark), 0) << width;
    EXPECT_EQ(CountPixels(img, QRect(0, 0, 1, 300), dark), 0) << width;
  }
}

// Where the ticks and the comfort bands stand, pixel for pixel, on one
// layout: the x ticks at i × (width / 10), the y ticks at (height − 10) / 10
// apart, and every band's lower edge at its fraction of the scale.
TEST(ChartLogic, TicksAndBandLimitsStandWhereTheScaleSays) {
  ChartLayout l;
  l.originX = 57;  // 50 px an x interval (506 / 10)
  l.originY = 400;
  l.axisWidth = 506;
  l.axisHeight = 330;
  EXPECT_EQ(XTickColumns(l, 10), (std::vector<int>{57, 107, 157, 207, 257, 307, 357, 407, 457, 507, 557}));
  EXPECT_EQ(YTickRows(l, 10), (std::vector<int>{400, 368, 336, 304, 272, 240, 208, 176, 144, 112, 80}));
  // Bands from the top tick (80) over 320 pixels; each lower edge at
  // trunc(80 + f × 320), the last one pixel above the axis.
  const struct {
    int mode;
    std::vector<double> edges;  // fractions from the top; the last band ends above the axis
    std::vector<std::pair<const char*, double>> labels;
  } modes[] = {
      {1, {0.26, 0.45, 0.55, 0.77}, {{"Cold", 0.87}, {"Cool", 0.63}, {"Neutral", 0.48}, {"Warm", 0.32}, {"Hot", 0.10}}},
      {2, {0.30, 0.53, 0.78}, {{"Very Damp", 0.14}, {"Damp", 0.41}, {"Slightly Damp", 0.63}, {"Dry", 0.86}}},
      {3, {0.22, 0.70}, {{"Uncomfortable", 0.08}, {"Acceptable", 0.40}, {"Comfortable", 0.86}}},
  };
  for (const auto& m : modes) {
    const std::vector<ComfortBand> bands = ComfortBands(l, static_cast<BandMode>(m.mode), 10);
    ASSERT_EQ(bands.size(), m.edges.size() + 1) << m.mode;
    int top = 80;
    for (std::size_t b = 0; b < bands.size(); ++b) {
      const int bottom = b < m.edges.size() ? static_cast<int>(80 + m.edges[b] * 320) : 80 + 320 - 1;
      EXPECT_EQ(bands[b].rect, QRect(QPoint(58, top), QPoint(556, bottom - 1))) << m.mode << " band " << b;
      top = bottom;
    }
    const std::vector<ComfortLabel> labels = ComfortLabels(l, static_cast<BandMode>(m.mode), 10);
    ASSERT_EQ(labels.size(), m.labels.size()) << m.mode;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].text, QLatin1String(m.labels[i].first)) << m.mode;
      EXPECT_EQ(labels[i].at, QPoint(562, static_cast<int>(80 + m.labels[i].second * 320))) << m.labels[i].first;
    }
  }
}

namespace {
// Six curves of `n` points each, of different shapes: a random walk, a
// smooth wave, a square wave with gaps, steps, spikes and a flat line; the
// wave and the steps on the right axis.
void AddSixCurves(CMyChart& chart, int n, std::mt19937& rng) {
  std::normal_distribution<float> noise(0, 1);
  for (int c = 0; c < 6; ++c) {
    if (c > 0) {
      chart.AddSeries(QStringLiteral("curve %1").arg(c), QStringLiteral("unit"), c == 1 || c == 3 ? 1 : 0);
    }
    float walk = 0;
    for (int i = 0; i < n; ++i) {
      const float t = 0.1f * static_cast<float>(i);
      float y = 0;
      switch (c) {
        case 0:
          y = walk += noise(rng);
          break;
        case 1:
          y = 100 * std::sin(static_cast<float>(i) * 0.0005f);
          break;
        case 2:
          y = (i / 997) % 5 == 4 ? std::nanf("") : static_cast<float>((i / 331) % 2) * 40;
          break;
        case 3: {
          const int stair = i / (n / 7);
          y = static_cast<float>(stair);
          break;
        }
        case 4:
          y = i % 4999 == 0 ? 80.0f : 10.0f;
          break;
        default:
          y = 25;
      }
      chart.AddPoint(t, y);
    }
  }
}
}  // namespace

// Six curves, whole or zoomed, plain or on bands: the picture is the one
// that drawing every segment of every curve gives, each curve in its colour.
TEST(Chart, SixCurvesWholeOrZoomedGiveThePictureOfEverySegment) {
  std::mt19937 rng(11);
  for (const bool zoomed : {false, true}) {
    for (const int mode : {0, 3}) {
      CMyChart chart;
      AddSixCurves(chart, 60000, rng);
      chart.SetBandMode(static_cast<BandMode>(mode));
      chart.Render(kSize);
      if (zoomed) {
        chart.ZoomTo({1234.5, 2345.6});
      }
      const QImage fast = chart.Render(kSize), plain = chart.Render(kSize, true);
      EXPECT_EQ(chart.Zoomed(), zoomed);
      EXPECT_EQ(fast, plain) << "zoomed " << zoomed << ", band mode " << mode;
      for (int c = 1; c < 5; ++c) {
        const QColor colour = CurveColour(c, mode ? QColor(Qt::black) : kLine);
        EXPECT_GT(CountColour(fast, colour), 20) << c << " zoomed " << zoomed << ", band mode " << mode;
      }
    }
  }
}

namespace {
// Head's and the trunk's skin temperature and Head's metabolism, every
// 0.1 minute for 9 minutes, the trunk's run a minute shorter.
void ThreeCurves(CMyChart& chart) {
  chart.SetXLabel(QStringLiteral("Time(min)"));
  chart.SetYLabel(QStringLiteral("Temperature of Skin(Degree)"));
  chart.SetY2Label(QStringLiteral("Metabolism Rate of Human Body(W*m^2)"));
  SeriesLook head;
  head.m_strName = QStringLiteral("Head: Temperature of Skin(Degree)");
  head.m_strUnit = QStringLiteral("Degree");
  chart.SetFirstLook(head);
  for (int i = 0; i <= 90; ++i) {
    chart.AddPoint(0.1f * static_cast<float>(i), 33 + 0.01f * static_cast<float>(i));
  }
  chart.AddSeries(QStringLiteral("Trunk: Temperature of Skin(Degree)"), QStringLiteral("Degree"), 0);
  for (int i = 0; i <= 80; ++i) {
    chart.AddPoint(0.1f * static_cast<float>(i), 34);
  }
  chart.AddSeries(QStringLiteral("Head: Metabolism Rate of Human Body(W*m^2)"), QStringLiteral("W*m^2"), 1);
  for (int i = 0; i <= 90; ++i) {
    chart.AddPoint(0.1f * static_cast<float>(i), 50 + static_cast<float>(i % 10));
  }
}
}  // namespace

TEST(Chart, SeveralCurvesHaveALegendTheirColoursAndARightAxis) {
  CMyChart one;
  one.AddPoint(0, 33);
  one.AddPoint(9, 34);
  one.Render(kSize);
  EXPECT_TRUE(one.LegendTexts().isEmpty()) << "one curve: no legend";

  CMyChart chart;
  ThreeCurves(chart);
  const QImage img = chart.Render(kSize);
  EXPECT_EQ(chart.LegendTexts(), (QStringList{"Head: Temperature of Skin(Degree)", "Trunk: Temperature of Skin(Degree)",
                                              "Head: Metabolism Rate of Human Body(W*m^2)"}));
  const ChartLayout& l = chart.Layout();
  EXPECT_LT(l.axisHeight, one.Layout().axisHeight) << "the legend's rows above the plot";
  EXPECT_LT(l.axisWidth, one.Layout().axisWidth) << "the right axis' room";
  EXPECT_FLOAT_EQ(chart.Axes().m_fYMin, 33.0f);
  EXPECT_FLOAT_EQ(chart.Axes().m_fYMax, 34.0f);
  EXPECT_FLOAT_EQ(chart.Axes().m_fY2Min, 50.0f);
  EXPECT_FLOAT_EQ(chart.Axes().m_fY2Max, 59.0f);
  // The right axis stands at the x axis' end; the trunk's flat line at the
  // top of the left axis in the first curve's second colour.
  EXPECT_EQ(img.pixelColor(l.originX + l.axisWidth, l.originY - l.axisHeight / 2), QColor(Qt::black));
  const int top = YTickRows(l, 10).back();
  EXPECT_EQ(img.pixelColor(l.originX + 40, top), QColor(230, 159, 0));
  EXPECT_GT(CountColour(img, QColor(86, 180, 233)), 100) << "the metabolism in sky blue";
  // The trunk's run ends at 8 minutes: its line stops there, where its time
  // ends, not at the axis' end.
  auto column = [&](double minutes) {
    return l.originX + static_cast<int>(minutes / 9 * (XTickColumns(l, 10).back() - l.originX));
  };
  auto orange = [](const QColor& c) { return c == QColor(230, 159, 0); };
  EXPECT_GT(CountPixels(img, QRect(column(4), 0, 1, kSize.height()), orange), 0);
  EXPECT_EQ(CountPixels(img, QRect(column(8.3), 0, 1, kSize.height()), orange), 0);
}

namespace {
// A press, move or release of the left button at `at`.
void Mouse(CMyChart& chart, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), chart.mapToGlobal(QPointF(at)), button, held, modifiers);
  QCoreApplication::sendEvent(&chart, &e);
}
}  // namespace

// A Shift+drag of a few pixels is a slip of the hand, not a box; from four
// pixels wide it zooms, and from four pixels high it sets the values too.
TEST(Chart, ABoxNeedsFourPixels) {
  const struct {
    int dx, dy;
    bool zoomed, values;
  } cases[] = {{0, 0, false, false}, {2, 30, false, false}, {3, 2, true, false}, {40, 3, true, true}};
  for (const auto& c : cases) {
    CMyChart chart;
    for (int i = 0; i <= 900; ++i) {
      chart.AddPoint(0.1f * static_cast<float>(i), static_cast<float>(i % 50));
    }
    chart.resize(kSize);
    chart.Render(kSize);
    const QPoint from(chart.Layout().originX + 100, chart.Layout().originY - 100), to = from + QPoint(c.dx, c.dy);
    Mouse(chart, QEvent::MouseButtonPress, from, Qt::ShiftModifier);
    Mouse(chart, QEvent::MouseMove, to, Qt::ShiftModifier);
    Mouse(chart, QEvent::MouseButtonRelease, to, Qt::ShiftModifier);
    chart.Render(kSize);
    EXPECT_EQ(chart.Zoomed(), c.zoomed) << c.dx << " x " << c.dy;
    EXPECT_EQ(chart.Axes().m_fYMax < 49, c.values) << c.dx << " x " << c.dy;
  }
}

// Without a zoom a drag moves nothing, and half notches of a fine wheel add
// up to one.
TEST(Chart, DragsPanOnlyAZoomAndHalfNotchesAddUp) {
  CMyChart chart;
  for (int i = 0; i <= 900; ++i) {
    chart.AddPoint(0.1f * static_cast<float>(i), 1);
  }
  chart.resize(kSize);
  chart.Render(kSize);
  const QPoint at(chart.Layout().originX + 200, 100);
  Mouse(chart, QEvent::MouseButtonPress, at, Qt::NoModifier);
  Mouse(chart, QEvent::MouseMove, at - QPoint(80, 0), Qt::NoModifier);
  Mouse(chart, QEvent::MouseButtonRelease, at - QPoint(80, 0), Qt::NoModifier);
  EXPECT_FALSE(chart.Zoomed());
  auto wheel = [&](int delta) {
    QWheelEvent e(at, chart.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&chart, &e);
  };
  wheel(60);
  EXPECT_FALSE(chart.Zoomed()) << "half a notch does nothing yet";
  wheel(60);
  EXPECT_NEAR(chart.ShownRange().Span(), 72, 1e-3);
}

TEST(Chart, HoverAndExportReadEveryCurve) {
  CMyChart chart;
  ThreeCurves(chart);
  chart.resize(kSize);
  chart.Render(kSize);
  chart.show();
  // The pointer over 8.5 minutes: the trunk's run has ended there.
  const int x = chart.Layout().originX + (XTickColumns(chart.Layout(), 10).back() - chart.Layout().originX) * 85 / 90;
  QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), chart.mapToGlobal(QPointF(x, 200)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &move);
  EXPECT_EQ(chart.HoverIndex(), 85);
  EXPECT_EQ(chart.HoverText(), QStringLiteral("8.5 min\nHead: Temperature of Skin(Degree) = 33.85 Degree\n"
                                              "Trunk: Temperature of Skin(Degree) = no data\n"
                                              "Head: Metabolism Rate of Human Body(W*m^2) = 55 W*m^2"));

  const QStringList rows = chart.DataText(QLatin1Char(',')).split(QLatin1Char('\n'));
  EXPECT_EQ(rows[0], QStringLiteral("Time(min),Head: Temperature of Skin(Degree),Trunk: Temperature of Skin(Degree),"
                                    "Head: Metabolism Rate of Human Body(W*m^2)"));
  EXPECT_EQ(rows[1], QStringLiteral("0,33,34,50"));
  EXPECT_EQ(rows[82], QStringLiteral("8.1,33.81,,51")) << "the shorter run's cell is empty";
  EXPECT_EQ(rows.size(), 91 + 2);
}

// Zoomed, the x ticks read the shown range by the same rule, and the points
// stand at their time on it; Home shows the whole run again.
TEST(Chart, ZoomedTicksReadTheShownRange) {
  CMyChart chart;
  for (int i = 0; i <= 900; ++i) {
    chart.AddPoint(0.1f * static_cast<float>(i), i == 350 ? 40.0f : 30.0f);
  }
  chart.Render(kSize);
  EXPECT_EQ(chart.XLabels().back(), QStringLiteral("90"));
  chart.ZoomTo({30, 40});
  const QImage img = chart.Render(kSize);
  EXPECT_EQ(chart.XLabels(), (std::vector<QString>{"30", "31", "32", "33", "34", "35", "36", "37", "38", "39", "40"}));
  const int middle = XTickColumns(chart.Layout(), 10)[5];
  const int peak = ValueRow(chart.Layout(), 40, chart.Axes().m_fYMin, chart.Axes().m_fYMax);
  EXPECT_EQ(img.pixelColor(middle, peak), kLine) << "the spike at 35 minutes on the middle tick";
  EXPECT_NE(img.pixelColor(XTickColumns(chart.Layout(), 10)[4], peak), kLine);
  chart.show();
  QTest::keyClick(&chart, Qt::Key_Home);
  EXPECT_FALSE(chart.Zoomed());
  chart.Render(kSize);
  EXPECT_EQ(chart.XLabels().front(), QStringLiteral("0"));
  EXPECT_EQ(chart.XLabels().back(), QStringLiteral("90"));
}
