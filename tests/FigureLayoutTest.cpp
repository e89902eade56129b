// A chart's figure on its page: nice ticks, a legend that tells the curves
// apart, and every text in its own box inside the page at a journal's sizes.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <random>

#include "ChartFigure.h"
#include "ChartFigureLayout.h"
#include "ChartLegend.h"
#include "Figure.h"
#include "NiceTicks.h"
#include "PolylineSimplify.h"

TEST(NiceTicks, StepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen) {
  const struct {
    double lo, hi;
    int most;
    std::vector<const char*> labels;
  } cases[] = {
      {0, 90, 10, {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90"}},
      {0, 90, 5, {"0", "20", "40", "60", "80"}},
      {10.5, 120, 6, {"20", "40", "60", "80", "100", "120"}},
      {36.897, 37.83, 5, {"37.0", "37.2", "37.4", "37.6", "37.8"}},
      {0, 0.24, 10, {"0.000", "0.025", "0.050", "0.075", "0.100", "0.125", "0.150", "0.175", "0.200", "0.225"}},
      {0, 1, 2, {"0.0", "0.5", "1.0"}},
      {-0.05, 0.05, 4, {"-0.050", "-0.025", "0.000", "0.025", "0.050"}},
      {0, 100, 5, {"0", "20", "40", "60", "80", "100"}},
      {2450, 2550, 4, {"2450", "2475", "2500", "2525", "2550"}},
  };
  for (const auto& c : cases) {
    const std::vector<double> ticks = TicksOfStep(c.lo, c.hi, NiceStep(c.hi - c.lo, c.most));
    const std::vector<QString> labels = NiceTickLabels(ticks, NiceStep(c.hi - c.lo, c.most));
    std::vector<QString> expected(c.labels.begin(), c.labels.end());
    EXPECT_EQ(labels, expected) << c.lo << " ... " << c.hi << " in " << c.most;
  }
  EXPECT_TRUE(TicksOfStep(1, 0, 1).empty());
  EXPECT_EQ(TicksOfStep(3, 3, NiceStep(0, 5)), std::vector<double>{3});
}

TEST(FigureLegend, KeepsWhatTellsTheCurvesApart) {
  const QColor red(Qt::red), blue(Qt::blue), black(Qt::black);
  using E = FigureLegendEntry;
  const struct {
    std::vector<E> curves, figure;
  } cases[] = {
      {{{"Head: Temperature of Skin(Degree)", red}, {"Foot: Temperature of Skin(Degree)", blue}},
       {{"Head", red}, {"Foot", blue}}},
      {{{"Head: Temperature of Skin(Degree)", red}, {"Head: Temperature of Core(Degree)", blue}},
       {{"Temperature of Skin(Degree)", red}, {"Temperature of Core(Degree)", blue}}},
      {{{"Trunk: Comfort(0-100), wool", red}, {"Trunk: Comfort(0-100), cotton", red, 1}},
       {{"wool", red}, {"cotton", red, 1}}},
      // More runs than two: one curve each, named by its run alone.
      {{{"Trunk: Comfort(0-100), wool", red},
        {"Trunk: Comfort(0-100), cotton", blue, 1},
        {"Trunk: Comfort(0-100), silk", black, 2}},
       {{"wool", red}, {"cotton", blue, 1}, {"silk", black, 2}}},
      // Two runs of two parts: a colour a part, a style a run.
      {{{"Head: Comfort(0-100), wool", red},
        {"Foot: Comfort(0-100), wool", blue},
        {"Head: Comfort(0-100), cotton", red, 1},
        {"Foot: Comfort(0-100), cotton", blue, 1}},
       {{"Head", red}, {"Foot", blue}, {"wool", black}, {"cotton", black, 1}}},
      {{{"Head: A", red}, {"Foot: B", blue}}, {{"Head: A", red}, {"Foot: B", blue}}},
      {{{"no colon", red}, {"Foot: B", blue}}, {{"no colon", red}, {"Foot: B", blue}}},
  };
  for (const auto& c : cases) {
    const std::vector<E> got = FigureLegend(c.curves);
    ASSERT_EQ(got.size(), c.figure.size()) << c.curves.front().text.toStdString();
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].text, c.figure[i].text);
      EXPECT_EQ(got[i].colour, c.figure[i].colour) << got[i].text.toStdString();
      EXPECT_EQ(got[i].style, c.figure[i].style) << got[i].text.toStdString();
    }
  }
}

namespace {
// Contents a paper meets: one curve; every part of two runs with long
// names; two units; the comfort scale; a profile's layers.
std::vector<std::pair<const char*, ChartFigureText>> Contents() {
  std::vector<std::pair<const char*, ChartFigureText>> all;
  ChartFigureText one;
  one.title = QStringLiteral("sample-run \u00B7 Trunk \u00B7 Body Property \u00B7 Temperature of Core(Degree)");
  one.xCaption = QStringLiteral("Time(min)");
  one.yCaption = QStringLiteral("Temperature of Core(Degree)");
  one.xHi = 90;
  one.yLo = 36.897;
  one.yHi = 37.83;
  all.emplace_back("one curve", one);
  ChartFigureText parts = one;
  const QString a = QStringLiteral("wool_base_layer_at_35C_and_40pct_relative_humidity_2026-11-30");
  const QString b = QStringLiteral("cotton base layer after a restart at minute 10");
  parts.title = QStringLiteral("All parts \u00B7 Body Property \u00B7 Temperature of Skin(Degree)");
  parts.legend = {"Head", "Trunk", "Arm", "Hand", "Leg", "Foot", a, b};
  all.emplace_back("All parts of two runs with long names", parts);
  ChartFigureText units = one;
  units.legend = {QStringLiteral("Sweat Volume Accumulated on Skin Surface(Esk:W*m^2)"),
                  QStringLiteral("Temperature of Core(Degree)")};
  units.yCaption = units.legend[0];
  units.y2Caption = units.legend[1];
  units.rightAxis = true;
  units.yLo = -0.05;
  units.yHi = 0.05;
  units.y2Lo = 36.8;
  units.y2Hi = 38.1;
  all.emplace_back("two units", units);
  ChartFigureText bands = one;
  bands.yCaption = QStringLiteral("Thermal Sensation");
  bands.yLo = 0;
  bands.yHi = 100;
  bands.exactY = true;
  for (const ComfortLabelPlace& l : ComfortLabelPlaces(BandMode::ThermalSensation)) {
    bands.bandLabels.push_back({QString::fromLatin1(l.text), l.at});
  }
  all.emplace_back("the comfort scale", bands);
  ChartFigureText profile = one;
  profile.xCaption = QStringLiteral("Position(cm)");
  profile.xLo = 0;
  profile.xHi = 0.31;
  profile.sections = {{0.06, 0.12, QStringLiteral("1st Layer Fabric")},
                      {0.15, 0.31, QStringLiteral("2st Layer Fabric")}};
  all.emplace_back("a profile", profile);
  return all;
}

bool Overlap(const QRectF& a, const QRectF& b) {
  // Boxes that merely touch do not overlap.
  return a.intersected(b).width() > 0.01 && a.intersected(b).height() > 0.01;
}
}  // namespace

// At 85 and 170 mm for a journal, and at the screen's sizes on 640 x 400
// and 800 x 500 pixels: every text inside the page, none over another,
// none over the plot but the layers' names, and the sizes a journal column
// asks for.
TEST(FigureLayout, EveryTextHasItsOwnBoxInsideThePage) {
  const struct {
    double width;  // points
    bool journal;
  } pages[] = {{85 / 25.4 * 72, true}, {170 / 25.4 * 72, true}, {640 * 0.75, false}, {800 * 0.75, false}};
  for (const auto& [width, journal] : pages) {
    {
      const QSizeF page(width, width * kFigureAspect);
      const FigureStyle style = journal ? JournalFigureStyle() : ScreenFigureStyle();
      for (const auto& [what, text] : Contents()) {
        const ChartFigureLayout l = LayoutChartFigure(text, page, style);
        const std::string at = std::string(what) + " on " + std::to_string(static_cast<int>(width)) + " pt" +
                               (journal ? ", a journal's sizes" : ", the screen's sizes");
        ASSERT_FALSE(l.texts.empty()) << at;
        EXPECT_TRUE(QRectF(l.page).contains(l.plot)) << at;
        EXPECT_GT(l.plot.height(), page.height() / 5) << at;
        EXPECT_GT(l.plot.width(), page.width() / 2) << at;
        EXPECT_GE(l.x.ticks.size(), 3u) << at;
        EXPECT_GE(l.y.ticks.size(), 3u) << at;
        for (std::size_t i = 0; i < l.texts.size(); ++i) {
          const FigureTextBox& t = l.texts[i];
          const QString line = t.lines.join(QLatin1Char(' '));
          EXPECT_TRUE(l.page.contains(t.rect)) << at << ": \"" << line.toStdString() << "\" leaves the page";
          const QSizeF size = FigureTextSize(t.lines, t.pt);
          const QSizeF box = t.turn != 0 ? QSizeF(t.rect.height(), t.rect.width()) : t.rect.size();
          EXPECT_LE(size.width(), box.width() + 0.01) << at << ": \"" << line.toStdString() << "\" is cut";
          const bool inPlot = std::any_of(text.sections.begin(), text.sections.end(),
                                          [&](const auto& s) { return t.lines.join(QLatin1Char(' ')) == s.name; });
          EXPECT_EQ(Overlap(t.rect, l.plot), inPlot) << at << ": \"" << line.toStdString() << "\"";
          for (std::size_t k = 0; k < i; ++k) {
            EXPECT_FALSE(Overlap(t.rect, l.texts[k].rect))
                << at << ": \"" << line.toStdString() << "\" over \""
                << l.texts[k].lines.join(QLatin1Char(' ')).toStdString() << "\"";
          }
          if (journal) {
            EXPECT_GE(t.pt, 6.0) << at;
            EXPECT_LE(t.pt, 10.0) << at;
          }
        }
        if (journal) {
          EXPECT_EQ(l.texts.front().pt, 9.0) << at << ": the title";
          EXPECT_EQ(l.texts.back().pt, 8.0) << at << ": the x caption";
        }
      }
    }
  }
}

// Each x label centred under its tick, the first under the y axis; the
// axis from 0 (a run that starts late too) to the run's end.
TEST(FigureLayout, LabelsStandCentredUnderTheirTicks) {
  ChartFigureText t;
  t.xCaption = QStringLiteral("Time(min)");
  t.xLo = 0;
  t.xHi = 120;
  t.yLo = 30;
  t.yHi = 35;
  const ChartFigureLayout l = LayoutChartFigure(t, QSizeF(241, 151), JournalFigureStyle());
  ASSERT_EQ(l.x.labels.front(), QStringLiteral("0"));
  EXPECT_DOUBLE_EQ(l.Column(0), l.plot.left());
  EXPECT_DOUBLE_EQ(l.Column(120), l.plot.right());
  for (std::size_t i = 0; i < l.x.ticks.size(); ++i) {
    const auto label = std::find_if(l.texts.begin(), l.texts.end(), [&](const FigureTextBox& b) {
      return b.lines == QStringList{l.x.labels[i]} && b.rect.top() > l.plot.bottom();
    });
    ASSERT_NE(label, l.texts.end()) << l.x.labels[i].toStdString();
    EXPECT_NEAR(label->rect.center().x(), l.Column(l.x.ticks[i]), 0.01) << l.x.labels[i].toStdString();
  }
  // The y axis widens to the ticks that enclose the data.
  EXPECT_EQ(l.y.lo, 30);
  EXPECT_EQ(l.y.hi, 35);
}

// Painted into a picture, a curve's points stand where the figure's own
// labels put them.
TEST(FigureLayout, ThePaintedCurveStandsOnTheLabelsScale) {
  std::vector<CChartDataSet> points;
  for (int k = 0; k <= 220; ++k) {
    const auto t = static_cast<float>(10 + 0.5 * k);
    points.push_back({t, t == 37.0f ? 50.0f : 30.0f});
  }
  ChartFigureContent c;
  c.text.xLo = 0;
  c.text.xHi = 120;
  c.text.yLo = 30;
  c.text.yHi = 50;
  c.curves.push_back({&points, QColor(210, 100, 100), false, 0});
  const FigureSize size = *FigureSizeFromMillimetres(85, 300);
  QImage img(size.pixels, QImage::Format_RGB32);
  QPainter p(&img);
  const double perPt = size.dpi / 72.0;
  p.scale(perPt, perPt);
  PaintChartFigure(p, size.PagePt(), size.Style(), c, perPt);
  p.end();
  const ChartFigureLayout l = LayoutChartFigure(c.text, size.PagePt(), size.Style());
  // The spike's tip: the topmost reddish pixel inside the plot.
  const QRect plot = QTransform::fromScale(perPt, perPt).mapRect(l.plot).toAlignedRect();
  double tip = -1;
  for (int y = plot.top(); y < plot.bottom() && tip < 0; ++y) {
    int sum = 0, n = 0;
    for (int x = plot.left(); x < plot.right(); ++x) {
      const QColor px = img.pixelColor(x, y);
      if (px.red() > 180 && px.green() < 160 && px.blue() < 160) {
        sum += x;
        ++n;
      }
    }
    tip = n > 0 ? static_cast<double>(sum) / n : -1;
  }
  EXPECT_NEAR(tip, l.Column(37) * perPt, 2.0);
}

// A vector curve's points made fewer never move the line: every point left
// out stays within twice the tolerance of the path, at any shape; a smooth
// curve of many samples becomes a short path.
TEST(FigureLayout, FewerPointsDrawTheSameLine) {
  auto distance = [](const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a, ap = p - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * ab - p;
    return std::hypot(q.x(), q.y());
  };
  std::mt19937 rng(3);
  std::normal_distribution<double> noise(0, 0.3);
  std::vector<QPointF> walk, smooth, flat, back;
  double y = 50;
  for (int i = 0; i < 20000; ++i) {
    const double x = 10 + 0.01 * i;
    walk.emplace_back(x, y += noise(rng));
    smooth.emplace_back(x, 50 + 20 * std::sin(x / 30));
    flat.emplace_back(x, 50);
    back.emplace_back(i % 2 ? 10.0 : 11.0, 50.0 + 0.001 * i);  // to and fro in one column
  }
  const double tolerance = 0.02;
  for (const auto* points : {&walk, &smooth, &flat, &back}) {
    const std::vector<QPointF> kept = SimplifyPolyline(*points, tolerance);
    ASSERT_GE(kept.size(), 2u);
    EXPECT_EQ(kept.front(), points->front());
    EXPECT_EQ(kept.back(), points->back());
    // Walk both in order: each point of the curve against the kept segment
    // it falls in.
    std::size_t k = 0;
    for (const QPointF& p : *points) {
      if (k + 1 < kept.size() && p == kept[k + 1]) {
        ++k;
      }
      const double d = k + 1 < kept.size() ? distance(p, kept[k], kept[k + 1]) : 0.0;
      ASSERT_LE(d, 2 * tolerance + 1e-9) << p.x() << ", " << p.y();
    }
  }
  EXPECT_LT(SimplifyPolyline(smooth, tolerance).size(), 400u) << "a smooth curve";
  EXPECT_EQ(SimplifyPolyline(flat, tolerance).size(), 2u) << "a straight line";
}
