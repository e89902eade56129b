#include "TimeZoom.h"

#include <algorithm>
#include <cmath>

double MinimumSpan(const TimeRange& whole, int points) {
  const double step = points > 1 ? whole.Span() / (points - 1) : whole.Span();
  return std::max(4 * step, whole.Span() * 1e-5);
}

TimeRange FitRange(TimeRange range, const TimeRange& whole, double minSpan) {
  if (!(whole.Span() > 0)) {
    return whole;
  }
  if (range.hi < range.lo) {
    std::swap(range.lo, range.hi);
  }
  const double span = std::clamp(range.Span(), std::min(minSpan, whole.Span()), whole.Span());
  if (span != range.Span()) {
    const double middle = (range.lo + range.hi) / 2;
    range = {middle - span / 2, middle + span / 2};
  }
  if (range.lo < whole.lo) {
    range = {whole.lo, whole.lo + span};
  }
  if (range.hi > whole.hi) {
    range = {whole.hi - span, whole.hi};
  }
  return range;
}

TimeRange ZoomAbout(const TimeRange& shown, double anchor, double notches, const TimeRange& whole, double minSpan) {
  const double factor = std::pow(kWheelZoom, notches);
  double f = factor;
  // No narrower than the least span: the anchor still keeps its place.
  if (shown.Span() * f < minSpan && shown.Span() > 0) {
    f = minSpan / shown.Span();
  }
  const TimeRange zoomed{anchor - (anchor - shown.lo) * f, anchor + (shown.hi - anchor) * f};
  return FitRange(zoomed, whole, minSpan);
}

TimeRange PanBy(const TimeRange& shown, double dt, const TimeRange& whole) {
  const double span = std::min(shown.Span(), whole.Span());
  const double lo = std::clamp(shown.lo + dt, whole.lo, whole.hi - span);
  return {lo, lo + span};
}

TimeRange ZoomToBox(double t0, double t1, const TimeRange& whole, double minSpan) {
  return FitRange({std::min(t0, t1), std::max(t0, t1)}, whole, minSpan);
}

bool IsWhole(const TimeRange& shown, const TimeRange& whole) {
  const double tolerance = whole.Span() * 1e-6;
  return std::abs(shown.lo - whole.lo) <= tolerance && std::abs(shown.hi - whole.hi) <= tolerance;
}

double TimeAtColumn(const TimeRange& shown, int origin, int pixels, double column) {
  return shown.lo + (column - origin) / std::max(1, pixels) * shown.Span();
}

double ColumnOfTime(const TimeRange& shown, int origin, int pixels, double t) {
  return shown.Span() > 0 ? origin + (t - shown.lo) / shown.Span() * pixels : origin;
}
