// The 3D line plot's arithmetic: tick labels, the box, and its strips.

#include <gtest/gtest.h>

#include "LinePlot.h"
#include "TickLabel.h"

TEST(LinePlot, TickLabelsAreCutAfterThreeSignificantCharacters) {
  const std::pair<double, const char*> cases[] = {
      {3.14159, "3.14"}, {12.5, "12.5"},         {2.5, "2.5"},        {100, "100"},
      {123.456, "123."}, {0.0012345, "0.00123"}, {-1.2345, "-1.23"},  {0, "0"},
      {2e-9, "0"},       {0.00005, "5.00e-05"},  {20000, "2.00e+04"},
  };
  for (const auto& [v, text] : cases) EXPECT_EQ(FormatTickValue(v), text) << v;
}

TEST(LinePlot, AFlatCurveSitsMidwayInPurple) {
  const std::vector<PlotCurve> curves = {{{0, 1, 5}, {1, 2, 5}, {2, 3, 5}}};
  const PlotBox box = ComputePlotBox(curves);
  EXPECT_FLOAT_EQ(box.min[2], 4.9f);
  EXPECT_FLOAT_EQ(box.max[2], 5.1f);
  const std::vector<PlotStrip> strips = BuildPlotStrips(curves, box);
  ASSERT_GE(strips.size(), 1u);
  ASSERT_EQ(strips[0].vertices.size(), 9u);
  EXPECT_NEAR(strips[0].vertices[2], 0.5f, 1e-5);
  EXPECT_NEAR(strips[0].colours[0], 0.5f, 1e-5);
  EXPECT_EQ(strips[0].colours[1], 0.0f);
  EXPECT_NEAR(strips[0].colours[2], 0.5f, 1e-5);
  EXPECT_FLOAT_EQ(strips[0].vertices[6], 1.0f);  // x spans the plot
  EXPECT_FLOAT_EQ(strips[0].vertices[7], 1.6f);  // so does y
}

TEST(LinePlot, CrossLinesJoinTheCurvesAsLongAsTheLastOne) {
  const PlotCurve five = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 1}};
  const PlotCurve three = {{0, 1, 0}, {1, 1, 0}, {2, 1, 1}};
  auto crossPoints = [](const std::vector<PlotCurve>& curves) {
    const auto strips = BuildPlotStrips(curves, ComputePlotBox(curves));
    std::vector<std::size_t> points;
    for (std::size_t i = curves.size(); i < strips.size(); ++i) points.push_back(strips[i].vertices.size() / 3);
    return points;
  };
  EXPECT_EQ(crossPoints({five, three}), (std::vector<std::size_t>{2, 2, 2}));
  EXPECT_EQ(crossPoints({three, five}), (std::vector<std::size_t>{0, 0, 0, 0, 0}));
  EXPECT_TRUE(BuildPlotStrips({}, PlotBox{}).empty());
}

TEST(LinePlot, TicksRunOverTheBox) {
  const std::vector<PlotCurve> curves = {{{0, 20, 0}, {1, 40, 1}}};
  const PlotBox box = ComputePlotBox(curves);
  const std::vector<float> y = PlotTickValues(box, 1);
  ASSERT_EQ(y.size(), 9u);
  std::vector<std::string> labels;
  for (float v : y) labels.push_back(FormatTickValue(v));
  EXPECT_EQ(labels, (std::vector<std::string>{"20", "22.5", "25", "27.5", "30", "32.5", "35", "37.5", "40"}));
  EXPECT_EQ(PlotTickValues(box, 0).size(), 6u);
}
