// The 3D line plot's arithmetic: tick labels, the box, and its strips.

#include <gtest/gtest.h>

#include "LinePlot.h"
#include "PlotDecimation.h"
#include "TickLabel.h"

TEST(LinePlot, TickLabelsKeepThreeSignificantCharactersRounded) {
  const std::pair<double, const char*> cases[] = {
      {3.14159, "3.14"}, {12.5, "12.5"},         {2.5, "2.5"},        {100, "100"},       {123.456, "123."},
      {123.56, "124."},  {0.0012345, "0.00123"}, {-1.2345, "-1.23"},  {-1.2389, "-1.24"}, {0, "0"},
      {2e-9, "0"},       {0.00005, "5.00e-05"},  {20000, "2.00e+04"},
  };
  for (const auto& [v, text] : cases) {
    EXPECT_EQ(FormatTickValue(v), text) << v;
  }
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
    for (std::size_t i = curves.size(); i < strips.size(); ++i) {
      points.push_back(strips[i].vertices.size() / 3);
    }
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
  labels.reserve(y.size());
  for (float v : y) {
    labels.push_back(FormatTickValue(v));
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"20", "22.5", "25", "27.5", "30", "32.5", "35", "37.5", "40"}));
  EXPECT_EQ(PlotTickValues(box, 0).size(), 6u);
}

namespace {
// A projection that puts plot point (x, y) at pixel (100 x, 100 y).
PlotProjection Pixels100() {
  PlotProjection p;
  p.mvp = {0.2f, 0, 0, 0, 0, 0.2f, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};  // x, y to -1 .. 1 over 0 .. 10
  p.viewport = {0, 0, 1000, 1000};
  return p;
}
PlotStrip Strip(const std::vector<std::array<float, 3>>& points) {
  PlotStrip s;
  for (const auto& p : points) {
    s.vertices.insert(s.vertices.end(), p.begin(), p.end());
    s.colours.insert(s.colours.end(), {p[2], 0, 1 - p[2]});
  }
  return s;
}
std::vector<float> Zs(const PlotStrip& s) {
  std::vector<float> z;
  for (std::size_t i = 2; i < s.vertices.size(); i += 3) {
    z.push_back(s.vertices[i]);
  }
  return z;
}
}  // namespace

TEST(PlotDecimation, SubPixelRunsKeepTheirEndsAndExtremesAndCrossLinesThinOut) {
  float x = 0, y = 0;
  ASSERT_TRUE(Pixels100().Project(std::array<float, 3>{2, 3, 0}.data(), x, y));
  EXPECT_FLOAT_EQ(x, 200);
  EXPECT_FLOAT_EQ(y, 300);
  // A curve of ten points 0.01 px apart with a dip and a spike inside, then
  // two points far apart: the run keeps its first point, its least and
  // greatest values in order, and the points beyond it are all kept.
  std::vector<std::array<float, 3>> dense;
  dense.reserve(10);
  for (int i = 0; i < 10; ++i) {
    dense.push_back({0.0001f * static_cast<float>(i), 0, i == 3 ? 0.1f : i == 6 ? 0.9f : 0.5f});
  }
  dense.push_back({1, 0, 0.4f});
  dense.push_back({2, 0, 0.3f});
  const std::vector<PlotStrip> kept = DecimatePlotStrips({Strip(dense)}, 1, Pixels100(), 0.25f);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(Zs(kept[0]), (std::vector<float>{0.5f, 0.1f, 0.9f, 0.4f, 0.3f}));
  EXPECT_EQ(kept[0].colours.size(), kept[0].vertices.size());
  // Points further apart than the spacing are all kept, and so is the last.
  const PlotStrip sparse = Strip({{0, 0, 0.1f}, {0.01f, 0, 0.2f}, {0.02f, 0, 0.3f}, {0.0201f, 0, 0.4f}});
  EXPECT_EQ(Zs(DecimatePlotStrips({sparse}, 1, Pixels100(), 0.25f)[0]), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));

  // Cross lines: of those within the spacing of the last kept, only the last of all stays.
  std::vector<PlotStrip> cross = {Strip({{0, 0, 0}})};
  for (float t : {0.0f, 0.001f, 0.002f, 0.5f, 0.501f, 0.502f}) {
    cross.push_back(Strip({{0, t, 0.2f}, {1, t, 0.8f}}));
  }
  const std::vector<PlotStrip> lines = DecimatePlotStrips(cross, 1, Pixels100(), 0.25f);
  std::vector<float> ys;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ys.push_back(lines[i].vertices[1]);
  }
  EXPECT_EQ(ys, (std::vector<float>{0.0f, 0.5f, 0.502f}));
  // A line whose first point stays put but whose other end moves is kept.
  cross = {Strip({{0, 0, 0}}), Strip({{0, 0, 0.2f}, {1, 0, 0.8f}}), Strip({{0, 0, 0.2f}, {1, 0.01f, 0.8f}}),
           Strip({{0, 0, 0.2f}, {1, 0.01f, 0.8f}})};
  EXPECT_EQ(DecimatePlotStrips(cross, 1, Pixels100(), 0.25f).size(), 4u);
  cross[2] = Strip({{0, 0, 0.2f}, {1, 0.001f, 0.8f}});  // a tenth of a pixel: gone
  EXPECT_EQ(DecimatePlotStrips(cross, 1, Pixels100(), 0.25f).size(), 3u);
}
