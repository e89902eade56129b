#include "PolylineSimplify.h"

#include <cmath>

std::vector<QPointF> SimplifyPolyline(const std::vector<QPointF>& points, double tolerance) {
  std::vector<QPointF> out;
  if (points.size() < 3) {
    return points;
  }
  out.push_back(points.front());
  QPointF anchor = points.front(), last = points[1];
  // The direction the run of points goes, from the anchor; none until a
  // point stands apart from it.
  double dx = 0, dy = 0, reach = 0;
  auto setDirection = [&](const QPointF& q) {
    dx = q.x() - anchor.x();
    dy = q.y() - anchor.y();
    const double length = std::hypot(dx, dy);
    if (length > 0) {
      dx /= length;
      dy /= length;
    }
    reach = length;
  };
  setDirection(last);
  for (std::size_t i = 2; i < points.size(); ++i) {
    const QPointF& q = points[i];
    const double rx = q.x() - anchor.x(), ry = q.y() - anchor.y();
    if (reach == 0) {
      last = q;
      setDirection(q);
      continue;
    }
    // Off the line by no more than the tolerance, and further along it.
    const double across = std::abs(dx * ry - dy * rx), along = dx * rx + dy * ry;
    if (across <= tolerance && along >= reach) {
      last = q;
      reach = along;
      continue;
    }
    out.push_back(last);
    anchor = last;
    last = q;
    setDirection(q);
  }
  out.push_back(last);
  return out;
}
