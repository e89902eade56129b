#pragma once
// The line plot as the screen can show it. A fabric layer's plot holds
// hundreds of thousands of segments, most of them shorter than a pixel once
// projected; drawing them all costs a software rasteriser tens of
// milliseconds per frame for nothing the eye can see. For one projection this
// keeps, of each run of curve points that stay within `spacing` pixels of the
// run's first, the first and the points of least and greatest value (so no
// peak is lost), and of the cross lines (one per time step) those with a
// point `spacing` pixels or more from the same point of the last one kept
// (and the last).

#include <array>
#include <vector>

#include "LinePlot.h"

struct PlotProjection {
  std::array<float, 16> mvp{};      // projection times modelview, column-major as GL keeps them
  std::array<float, 4> viewport{};  // x, y, width, height in pixels
  // The window position of a plot-space point; false behind the eye.
  bool Project(const float* v, float& x, float& y) const;
};

// `strips` as BuildPlotStrips makes them: the first `curveCount` are the
// curves, the rest the cross lines.
std::vector<PlotStrip> DecimatePlotStrips(const std::vector<PlotStrip>& strips, std::size_t curveCount,
                                          const PlotProjection& projection, float spacing = 0.25f);
