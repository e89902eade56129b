#include "PlotDecimation.h"

#include <cmath>

bool PlotProjection::Project(const float* v, float& x, float& y) const {
  const auto& m = mvp;
  const float cx = m[0] * v[0] + m[4] * v[1] + m[8] * v[2] + m[12];
  const float cy = m[1] * v[0] + m[5] * v[1] + m[9] * v[2] + m[13];
  const float cw = m[3] * v[0] + m[7] * v[1] + m[11] * v[2] + m[15];
  if (cw <= 1e-6f) {
    return false;
  }
  x = viewport[0] + (cx / cw + 1) * 0.5f * viewport[2];
  y = viewport[1] + (cy / cw + 1) * 0.5f * viewport[3];
  return true;
}

namespace {
void Append(PlotStrip& out, const PlotStrip& in, std::size_t i) {
  out.vertices.insert(out.vertices.end(), in.vertices.begin() + static_cast<std::ptrdiff_t>(3 * i),
                      in.vertices.begin() + static_cast<std::ptrdiff_t>(3 * i + 3));
  out.colours.insert(out.colours.end(), in.colours.begin() + static_cast<std::ptrdiff_t>(3 * i),
                     in.colours.begin() + static_cast<std::ptrdiff_t>(3 * i + 3));
}

PlotStrip DecimateCurve(const PlotStrip& in, const PlotProjection& p, float spacing) {
  const std::size_t n = in.vertices.size() / 3;
  if (n < 3) {
    return in;
  }
  PlotStrip out;
  std::size_t anchor = 0;
  float ax = 0, ay = 0;
  bool visible = p.Project(&in.vertices[0], ax, ay);
  Append(out, in, 0);
  std::size_t lo = 0, hi = 0;  // the run's points of least and greatest value (z)
  auto flush = [&](std::size_t end) {
    // The run (anchor, end): its extremes in the order the curve meets them.
    const std::size_t a = std::min(lo, hi), b = std::max(lo, hi);
    if (a > anchor && a < end) {
      Append(out, in, a);
    }
    if (b != a && b > anchor && b < end) {
      Append(out, in, b);
    }
  };
  for (std::size_t i = 1; i < n; ++i) {
    float x = 0, y = 0;
    const bool shown = p.Project(&in.vertices[3 * i], x, y);
    if (visible && shown && std::fabs(x - ax) < spacing && std::fabs(y - ay) < spacing && i + 1 < n) {
      if (in.vertices[3 * i + 2] < in.vertices[3 * lo + 2] || lo == anchor) {
        lo = i;
      }
      if (in.vertices[3 * i + 2] > in.vertices[3 * hi + 2] || hi == anchor) {
        hi = i;
      }
      continue;
    }
    flush(i);
    Append(out, in, i);
    anchor = lo = hi = i;
    ax = x;
    ay = y;
    visible = shown;
  }
  return out;
}
}  // namespace

std::vector<PlotStrip> DecimatePlotStrips(const std::vector<PlotStrip>& strips, std::size_t curveCount,
                                          const PlotProjection& projection, float spacing) {
  std::vector<PlotStrip> out;
  out.reserve(strips.size());
  for (std::size_t c = 0; c < curveCount && c < strips.size(); ++c) {
    out.push_back(DecimateCurve(strips[c], projection, spacing));
  }
  // A cross line goes when every one of its points lies within the spacing
  // of the same point of the last line kept: a change in any curve keeps it.
  std::vector<float> last, here;
  bool any = false;
  for (std::size_t j = curveCount; j < strips.size(); ++j) {
    const PlotStrip& strip = strips[j];
    const std::size_t n = strip.vertices.size() / 3;
    here.assign(2 * n, 0.0f);
    bool shown = true;
    for (std::size_t i = 0; i < n && shown; ++i) {
      shown = projection.Project(&strip.vertices[3 * i], here[2 * i], here[2 * i + 1]);
    }
    bool close = any && shown && j + 1 < strips.size() && here.size() == last.size();
    for (std::size_t k = 0; close && k < here.size(); ++k) {
      close = std::fabs(here[k] - last[k]) < spacing;
    }
    if (close) {
      continue;
    }
    out.push_back(strip);
    last.swap(here);
    any = shown;
  }
  return out;
}
