// The arithmetic of charts of several curves, without a window: colours,
// units and axes, which curves a click leaves, the legend, zooming and
// panning the time axis, and what the hover box reads.

#include <gtest/gtest.h>

#include <cmath>

#include "ChartHover.h"
#include "ChartLegend.h"
#include "ChartLogic.h"
#include "ChartPalette.h"
#include "ChartUnits.h"
#include "CurveSelection.h"
#include "TimeZoom.h"

namespace {
const QColor kChartRed(210, 100, 100), kBlack(0, 0, 0);
}  // namespace

TEST(ChartPalette, TheFirstCurveKeepsTheChartsColourTheOthersTakeOkabeIto) {
  const struct {
    int index{};
    QColor first, expected;
  } cases[] = {
      {0, kChartRed, kChartRed},
      {1, kChartRed, QColor(230, 159, 0)},
      {2, kChartRed, QColor(86, 180, 233)},
      {3, kChartRed, QColor(0, 158, 115)},
      {4, kChartRed, QColor(0, 114, 178)},
      {5, kChartRed, QColor(204, 121, 167)},
      {6, kChartRed, QColor(213, 94, 0)},
      {7, kChartRed, kBlack},
      {0, kBlack, kBlack},
      {7, kBlack, QColor(240, 228, 66)},  // on the bands the first is black: the palette's black is left out
      {8, kBlack, QColor(230, 159, 0)},   // past the palette, round again
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CurveColour(c.index, c.first), c.expected) << c.index << " after " << c.first.name().toStdString();
  }
  for (const QColor& first : {kChartRed, kBlack}) {
    for (int i = 0; i < kMaxCurves; ++i) {
      for (int j = i + 1; j < kMaxCurves; ++j) {
        EXPECT_NE(CurveColour(i, first), CurveColour(j, first)) << i << " and " << j;
      }
    }
  }
}

TEST(ChartUnits, UnitsAxesAndCaptions) {
  const std::pair<const char*, const char*> units[] = {
      {"Temperature of Skin(Degree)", "Degree"},
      {"Sweat Volume Accumulated on Skin Surface(Esk:W*m^2)", "Esk:W*m^2"},
      {"Comfort", ""}};
  for (const auto& [name, unit] : units) {
    EXPECT_EQ(UnitOf(QLatin1String(name)), QLatin1String(unit)) << name;
  }
  EXPECT_EQ(WithoutUnit(QStringLiteral("Pressure of the Skin(Pa)")), QStringLiteral("Pressure of the Skin"));
  EXPECT_EQ(WithoutUnit(QStringLiteral("Comfort")), QStringLiteral("Comfort"));

  const struct {
    std::vector<QString> units;
    std::optional<std::vector<int>> axes;
  } assignments[] = {
      {{"Degree", "Degree", "Degree"}, std::vector<int>{0, 0, 0}},
      {{"Degree", "W*m^2", "Degree", "W*m^2"}, std::vector<int>{0, 1, 0, 1}},
      {{"", ""}, std::vector<int>{0, 0}},
      {{"Degree", "W*m^2", "Pa"}, std::nullopt},
      {{}, std::vector<int>{}},
  };
  for (const auto& a : assignments) {
    EXPECT_EQ(AssignAxes(a.units), a.axes) << a.units.size();
  }

  EXPECT_EQ(AxisCaption({"Temperature of Skin(Degree)", "Temperature of Skin(Degree)"}),
            QStringLiteral("Temperature of Skin(Degree)"));
  EXPECT_EQ(AxisCaption({"Temperature of Skin(Degree)", "Temperature of Core(Degree)"}),
            QStringLiteral("Temperature of Skin, Temperature of Core(Degree)"));
  EXPECT_EQ(AxisCaption({"Thermal Sensation", "Comfort"}), QStringLiteral("Thermal Sensation, Comfort"));
  EXPECT_EQ(AxisCaption({}), QString());
}

// What each click leaves on the chart, starting from Head's skin
// temperature: the quantities shown, the number of curves, and what the
// status line says.
TEST(CurveSelection, ClicksAddTakeOffOrAreRefused) {
  enum Action { Toggle, AllOn, AllOff, Plain };
  const struct {
    Action action;
    int quantity;
    std::vector<int> shown;
    std::size_t curves;
    const char* status;
  } steps[] = {
      {Toggle, 1, {0, 1}, 2, ""},     // core temperature: the same unit
      {Toggle, 2, {0, 1, 2}, 3, ""},  // metabolism: a second unit, the right axis
      {Toggle,
       8,
       {0, 1, 2},
       3,
       "Pressure of the Skin(Pa) not shown: the chart already has two units, Degree and W*m^2."},
      {AllOn, 0, {0, 1, 2}, 3, "All parts not shown: a chart holds at most 8 curves."},
      {Toggle, 1, {0, 2}, 2, ""},  // shown: taken off
      {Toggle, 8, {0, 2}, 2, "Pressure of the Skin(Pa) not shown: the chart already has two units, Degree and W*m^2."},
      {Toggle, 0, {2}, 1, ""},
      {Toggle, 2, {2}, 1, ""},  // the last one stays
      {Toggle, 7, {2, 7}, 2, ""},
      {Plain, 5, {5}, 1, ""},
      {AllOn, 0, {5}, 6, ""},
      {Toggle,
       6,
       {5},
       6,
       "Sweat Volume Accumulated on Skin Surface(Esk:W*m^2) not shown: a chart holds at most 8 curves."},
      {AllOff, 0, {5}, 1, ""},
  };
  CCurveSelection s;
  s.Choose(0, OptionKind::Body, 0);
  int n = 0;
  for (const auto& step : steps) {
    QString status;
    switch (step.action) {
      case Toggle:
        status = s.Toggle(step.quantity);
        break;
      case AllOn:
        status = s.SetAllParts(true);
        break;
      case AllOff:
        status = s.SetAllParts(false);
        break;
      case Plain:
        s.Choose(s.Part(), s.Kind(), step.quantity);
        break;
    }
    EXPECT_EQ(status, QLatin1String(step.status)) << "step " << n;
    EXPECT_EQ(s.Quantities(), step.shown) << "step " << n;
    EXPECT_EQ(s.Curves().size(), step.curves) << "step " << n;
    ++n;
  }
}

TEST(CurveSelection, AllPartsPutsTheChosenPartFirstAndThePlotShowsOneQuantity) {
  CCurveSelection s;
  s.Choose(3, OptionKind::Comfort, 1);  // Hand's dampness
  ASSERT_EQ(s.SetAllParts(true), QString());
  std::vector<int> parts;
  for (const CurveKey& c : s.Curves()) {
    parts.push_back(c.part);
    EXPECT_EQ(c.quantity, 1);
    EXPECT_EQ(c.kind, OptionKind::Comfort);
  }
  EXPECT_EQ(parts, (std::vector<int>{3, 0, 1, 2, 4, 5}));

  s.Choose(1, OptionKind::Fabric, 0);  // a layer: the 3D plot, one part's, one quantity
  EXPECT_EQ(s.Toggle(3), QString());
  EXPECT_EQ(s.Quantities(), std::vector<int>{3});
  EXPECT_EQ(s.Curves(), (std::vector<CurveKey>{{1, OptionKind::Fabric, 3}}));
}

TEST(ChartLegend, EntriesNameThePartTheQuantityAndTheRun) {
  EXPECT_EQ(LegendText(QStringLiteral("Head"), QStringLiteral("Temperature of Skin(Degree)")),
            QStringLiteral("Head: Temperature of Skin(Degree)"));
  EXPECT_EQ(LegendText(QStringLiteral("Foot"), QStringLiteral("Comfort"), QStringLiteral("run-b")),
            QStringLiteral("Foot: Comfort, run-b"));
  EXPECT_EQ(ChartTitle({"Comfort", "Comfort", "Thermal Sensation"}), QStringLiteral("Comfort, Thermal Sensation"));
}

// Entries run left to right and wrap before the row's end; each is the
// sample line, a gap and its text.
TEST(ChartLegend, EntriesFlowInRows) {
  const int entry = kLegendSample + kLegendGap;  // an entry's width before its text
  const struct {
    std::vector<int> widths;
    std::vector<QRect> rects;
    int height;
  } cases[] = {
      {{100, 100}, {QRect(50, 40, entry + 100, 16), QRect(50 + entry + 100 + kLegendSpacing, 40, entry + 100, 16)}, 16},
      {{200, 200, 100},
       {QRect(50, 40, entry + 200, 16), QRect(50, 56, entry + 200, 16),
        QRect(50 + entry + 200 + kLegendSpacing, 56, entry + 100, 16)},
       32},
      {{900}, {QRect(50, 40, 400, 16)}, 16},  // wider than the row: cut to it
      {{}, {}, 0},
  };
  for (const auto& c : cases) {
    const LegendLayout l = LayoutLegend(c.widths, 50, 450, 40, 16);
    EXPECT_EQ(l.entries, c.rects) << c.widths.size();
    EXPECT_EQ(l.height, c.height) << c.widths.size();
  }
}

// The chart's layout makes room for a legend above the plot and for a
// right axis; without either it is the layout it always was.
TEST(ChartLayout, RoomForTheLegendAndTheRightAxis) {
  const ChartLayout plain = LayoutChart(800, 500, false, 18, 9, true);
  const ChartLayout same = LayoutChart(800, 500, false, 18, 9, true, 0, false);
  EXPECT_EQ(std::tie(same.originX, same.originY, same.axisWidth, same.axisHeight),
            std::tie(plain.originX, plain.originY, plain.axisWidth, plain.axisHeight));
  const ChartLayout both = LayoutChart(800, 500, false, 18, 9, true, 36, true);
  EXPECT_EQ(both.originY, plain.originY);
  EXPECT_EQ(both.axisHeight, plain.axisHeight - 36);
  EXPECT_EQ(both.axisWidth, plain.axisWidth - (18 + 10 + 4 * 9 + 5));
}

TEST(ChartLogic, TimeLabelsReadTheRangeTheyAreGiven) {
  EXPECT_EQ(TimeTickLabels(0, 9, 10),
            (std::vector<QString>{"0", "9", "18", "27", "36", "45", "54", "63", "72", "81", "90"}));
  EXPECT_EQ(TimeTickLabels(30.5f, 0.1f, 2), (std::vector<QString>{"30.5", "30.6", "30.7"}));
}

// Zoomed labels carry the decimals their step needs, no more.
TEST(ChartLogic, ZoomedTimeLabelsCarryTheDecimalsTheirStepNeeds) {
  const struct {
    double from, step;
    std::vector<QString> labels;
  } cases[] = {
      {9, 7.2, {"9", "16.2", "23.4"}},      {21.342857, 1.44, {"21.3", "22.8", "24.2"}},
      {30, 1, {"30", "31", "32"}},          {44.05, 0.04, {"44.05", "44.09", "44.13"}},
      {-0.3, 0.15, {"-0.3", "-0.15", "0"}}, {100, 25, {"100", "125", "150"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoomedTickLabels(c.from, c.step, 2), c.labels) << c.from << " by " << c.step;
  }
}

// A run of 90 minutes sampled every 0.1 minute.
namespace {
const TimeRange kRun{0, 90};
constexpr int kSamples = 901;
}  // namespace

TEST(TimeZoom, TheWheelZoomsAboutThePointer) {
  const double least = MinimumSpan(kRun, kSamples);
  EXPECT_NEAR(least, 0.4, 1e-9) << "four samples";
  const struct {
    TimeRange shown;
    double anchor{}, notches{};
    TimeRange expected;
  } cases[] = {
      {{0, 90}, 45, 1, {9, 81}},                 // a notch in: 0.8 of the span, the middle kept
      {{0, 90}, 0, 1, {0, 72}},                  // at the start: the start kept
      {{0, 90}, 90, 2, {90 - 57.6, 90}},         // two notches at the end
      {{9, 81}, 45, -1, {0, 90}},                // out again
      {{0, 72}, 60, -3, {0, 90}},                // never past the whole run
      {{40, 50}, 42, -1, {39.5, 52}},            // out about 42: 2 before, 8 after become 2.5 and 10
      {{86, 89.5}, 88, -2, {90 - 5.46875, 90}},  // out near the end: moved inside
      {{44, 44.5}, 44.25, 5, {44.05, 44.45}},    // in as far as four samples
      {{44, 44.5}, 44.1, 5, {44.02, 44.42}},     // as far, the pointer off centre keeping its place
  };
  for (const auto& c : cases) {
    const TimeRange got = ZoomAbout(c.shown, c.anchor, c.notches, kRun, least);
    EXPECT_NEAR(got.lo, c.expected.lo, 1e-9) << c.shown.lo << "-" << c.shown.hi << " about " << c.anchor;
    EXPECT_NEAR(got.hi, c.expected.hi, 1e-9) << c.shown.lo << "-" << c.shown.hi << " about " << c.anchor;
  }
}

TEST(TimeZoom, PanningAndBoxesStayInsideTheRun) {
  const double least = MinimumSpan(kRun, kSamples);
  const struct {
    TimeRange shown;
    double dt{};
    TimeRange expected;
  } pans[] = {{{10, 20}, 5, {15, 25}}, {{10, 20}, -15, {0, 10}}, {{70, 85}, 30, {75, 90}}, {{0, 90}, 7, {0, 90}}};
  for (const auto& p : pans) {
    const TimeRange got = PanBy(p.shown, p.dt, kRun);
    EXPECT_NEAR(got.lo, p.expected.lo, 1e-9) << p.shown.lo << " by " << p.dt;
    EXPECT_NEAR(got.hi, p.expected.hi, 1e-9) << p.shown.lo << " by " << p.dt;
  }
  const struct {
    double t0{}, t1{};
    TimeRange expected;
  } boxes[] = {
      {30, 40, {30, 40}}, {40, 30, {30, 40}}, {12.3, 12.4, {12.15, 12.55}}, {-5, 20, {0, 25}}, {89.9, 95, {84.9, 90}}};
  for (const auto& b : boxes) {
    const TimeRange got = ZoomToBox(b.t0, b.t1, kRun, least);
    EXPECT_NEAR(got.lo, b.expected.lo, 1e-9) << b.t0 << " to " << b.t1;
    EXPECT_NEAR(got.hi, b.expected.hi, 1e-9) << b.t0 << " to " << b.t1;
  }
  EXPECT_TRUE(IsWhole({0, 90}, kRun));
  EXPECT_FALSE(IsWhole({0, 89.9}, kRun));
  EXPECT_NEAR(MinimumSpan({0, 720}, 1000001), 0.0072, 1e-9) << "a hundred-thousandth of a long, dense run";
}

TEST(TimeZoom, ColumnsAndTimesAreInverse) {
  const TimeRange shown{30, 40};
  const std::pair<double, double> cases[] = {{57, 30}, {557, 40}, {307, 35}, {0, 30 - 57 / 50.0}};
  for (const auto& [column, time] : cases) {
    EXPECT_NEAR(TimeAtColumn(shown, 57, 500, column), time, 1e-9) << column;
    EXPECT_NEAR(ColumnOfTime(shown, 57, 500, time), column, 1e-9) << time;
  }
}

// Points every 0.1 minute with a gap from 1 to 2 minutes, and what the hover
// box reads at a time.
TEST(ChartHover, EachCurvesValueAtTheHoveredTime) {
  std::vector<CChartDataSet> points;
  for (int i = 0; i <= 10; ++i) {
    points.push_back({0.1f * static_cast<float>(i), static_cast<float>(i)});
  }
  points.push_back({2.0f, 20});
  const std::pair<double, int> nearest[] = {{0, 0},    {0.34, 3}, {0.36, 4},  {1.0, 10}, {1.4, 10},
                                            {1.6, 11}, {2.0, 11}, {-0.5, -1}, {2.5, -1}};
  for (const auto& [t, index] : nearest) {
    EXPECT_EQ(NearestInTime(points, t), index) << t;
  }
  EXPECT_EQ(NearestInTime({}, 1), -1);

  EXPECT_EQ(
      HoverLines(12.5f, {{QStringLiteral("Head: Temperature of Skin(Degree)"), 33.25f, QStringLiteral("Degree")}}),
      QStringList{QStringLiteral("12.5 min: 33.25 Degree")});
  // A profile's x is a position through the clothing.
  EXPECT_EQ(HoverLines(0.125f, {{QStringLiteral("Temperature(Degree)"), 31.5f, QStringLiteral("Degree")}},
                       QStringLiteral("cm")),
            QStringList{QStringLiteral("0.125 cm: 31.5 Degree")});
  const QStringList lines =
      HoverLines(3, {{QStringLiteral("Head: Temperature of Skin(Degree)"), 33.2f, QStringLiteral("Degree")},
                     {QStringLiteral("Head: Metabolism Rate of Human Body(W*m^2)"), 58.1f, QStringLiteral("W*m^2")},
                     {QStringLiteral("Trunk: Comfort"), 40, QString()},
                     {QStringLiteral("Foot: Comfort"), std::nanf(""), QString()},
                     {QStringLiteral("Leg: Comfort, run-b"), 1, QString(), false}});
  // A compared run's own time where its sample is not the hovered one.
  HoverValue b{QStringLiteral("Head: Comfort, run-b"), 12, QString()};
  b.run = QStringLiteral("run-b");
  b.time = 48.5f;
  EXPECT_EQ(HoverLines(48.7f, {{QStringLiteral("Head: Comfort, run-a"), 10, QString()}, b}).front(),
            QStringLiteral("48.7 min; run-b at 48.5 min"));
  b.time = 48.7f;
  EXPECT_EQ(HoverLines(48.7f, {{QStringLiteral("Head: Comfort, run-a"), 10, QString()}, b}).front(),
            QStringLiteral("48.7 min"))
      << "the same time is said once";
  EXPECT_EQ(lines, (QStringList{"3 min", "Head: Temperature of Skin(Degree) = 33.2 Degree",
                                "Head: Metabolism Rate of Human Body(W*m^2) = 58.1 W*m^2", "Trunk: Comfort = 40",
                                "Foot: Comfort = no data", "Leg: Comfort, run-b = no data"}));
}
