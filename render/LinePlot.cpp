#include "LinePlot.h"

#include <cmath>

PlotBox ComputePlotBox(const std::vector<PlotCurve>& curves) {
  PlotBox b;
  for (int a = 0; a < 3; ++a) {
    b.min[a] = 10000;
    b.max[a] = -10000;
  }
  for (const PlotCurve& c : curves) {
    for (const auto& p : c) {
      for (int a = 0; a < 3; ++a) {
        const float v = static_cast<float>(p[static_cast<std::size_t>(a)]);
        if (v > b.max[a]) {
          b.max[a] = v;
        }
        if (v < b.min[a]) {
          b.min[a] = v;
        }
      }
    }
  }
  const float extent[3] = {1.0f, 1.6f, 1.0f};
  for (int a = 0; a < 3; ++a) {
    if (std::fabs(b.max[a] - b.min[a]) < 0.000001f) {
      b.max[a] += 0.1f;
      b.min[a] -= 0.1f;
    }
    b.scale[a] = extent[a] / (b.max[a] - b.min[a]);
  }
  return b;
}

std::vector<float> PlotTickValues(const PlotBox& box, int axis) {
  std::vector<float> values;
  const int count = axis == 1 ? 9 : 6;
  values.reserve(count);
  for (int k = 0; k < count; ++k) {
    values.push_back(box.min[axis] + static_cast<float>(k) / (5 * box.scale[axis]));
  }
  return values;
}

namespace {
void AddPoint(PlotStrip& s, const std::array<double, 3>& p, const PlotBox& b) {
  const float t = (static_cast<float>(p[2]) - b.min[2]) * b.scale[2];
  s.vertices.insert(s.vertices.end(), {(static_cast<float>(p[0]) - b.min[0]) * b.scale[0],
                                       (static_cast<float>(p[1]) - b.min[1]) * b.scale[1], t});
  s.colours.insert(s.colours.end(), {t, 0.0f, 1.0f - t});
}
}  // namespace

std::vector<PlotStrip> BuildPlotStrips(const std::vector<PlotCurve>& curves, const PlotBox& box) {
  std::vector<PlotStrip> strips;
  for (const PlotCurve& c : curves) {
    PlotStrip s;
    for (const auto& p : c) {
      AddPoint(s, p, box);
    }
    strips.push_back(std::move(s));
  }
  if (curves.empty()) {
    return strips;
  }
  const std::size_t points = curves.back().size();
  for (std::size_t j = 0; j < points; ++j) {
    PlotStrip s;
    for (const PlotCurve& c : curves) {
      if (c.size() < points) {
        break;
      }
      AddPoint(s, c[j], box);
    }
    strips.push_back(std::move(s));
  }
  return strips;
}
