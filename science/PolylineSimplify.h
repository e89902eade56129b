#pragma once
// A curve's points made fewer for a vector figure without moving the line:
// a run of points that lie along one direction, within `tolerance` of it,
// is drawn as one segment. With a tolerance of a fiftieth of a point no
// printer and no zoom of a few times shows the difference, and a smooth
// curve of tens of thousands of samples becomes a path of a few hundred.

#include <QPointF>
#include <vector>

// The points of `points` (a polyline) that draw it to within `tolerance`:
// the first and the last always, every point dropped within twice
// `tolerance` of the segment that stands for it.
std::vector<QPointF> SimplifyPolyline(const std::vector<QPointF>& points, double tolerance);
