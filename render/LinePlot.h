#pragma once
// The 3D line plot's arithmetic, apart from GL: the data box and its scales,
// the tick values, and the curves and cross lines as coloured line strips in
// plot space (x to 0..1, y to 0..1.6, z to 0..1, coloured from blue to red by
// z). Built once when the curves change, then only drawn.

#include <array>
#include <vector>

using PlotCurve = std::vector<std::array<double, 3>>;

struct PlotBox {
  float min[3] = {0, 0, 0}, max[3] = {0, 0, 0};
  float scale[3] = {1, 1.6f, 1};  // plot units per data unit on x, y, z
};
// The box of every point of every curve, each axis at least 0.2 wide
// (a flat axis is widened by 0.1 each way).
PlotBox ComputePlotBox(const std::vector<PlotCurve>& curves);

// Tick values: 6 on x (at plot 0, 0.2, ... 1), 9 on y (0 ... 1.6), 6 on z.
std::vector<float> PlotTickValues(const PlotBox& box, int axis);

struct PlotStrip {
  std::vector<float> vertices;  // x, y, z per point
  std::vector<float> colours;   // r, g, b per point
};
// Each curve as one strip, then the cross lines: strip j joins point j of
// curve 0, 1, 2, ... for every j below the last curve's length, stopping
// before the first curve that has fewer points. Strips of one point are kept
// (they draw nothing).
std::vector<PlotStrip> BuildPlotStrips(const std::vector<PlotCurve>& curves, const PlotBox& box);
