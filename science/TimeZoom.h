#pragma once
// The arithmetic of zooming and panning a chart's time axis: the shown range
// always lies inside the whole run, is never narrower than a few samples,
// and a wheel step keeps the time under the pointer where it is.

struct TimeRange {
  double lo = 0, hi = 0;
  double Span() const { return hi - lo; }
  friend bool operator==(const TimeRange&, const TimeRange&) = default;
};

// Each notch of the wheel shows this much of the span (zooming in), or this
// much more (out).
constexpr double kWheelZoom = 0.8;

// The narrowest range worth showing of a run `whole` with `points` samples:
// four sample intervals (a hundred-thousandth of the run at least).
double MinimumSpan(const TimeRange& whole, int points);

// `range` made to fit: at least `minSpan` wide about its middle, at most the
// whole run, and moved inside it.
TimeRange FitRange(TimeRange range, const TimeRange& whole, double minSpan);

// `notches` wheel notches (positive: in) about time `anchor`, which keeps
// its place on the axis while the range fits.
TimeRange ZoomAbout(const TimeRange& shown, double anchor, double notches, const TimeRange& whole, double minSpan);
// The range moved by `dt` minutes, its span kept, stopping at the run's ends.
TimeRange PanBy(const TimeRange& shown, double dt, const TimeRange& whole);
// The range from `t0` to `t1` (either way round), fitted.
TimeRange ZoomToBox(double t0, double t1, const TimeRange& whole, double minSpan);
// Whether `shown` is the whole run (to a millionth of its span).
bool IsWhole(const TimeRange& shown, const TimeRange& whole);

// Time and pixel column on an axis whose `pixels` columns from `origin`
// show `shown`.
double TimeAtColumn(const TimeRange& shown, int origin, int pixels, double column);
double ColumnOfTime(const TimeRange& shown, int origin, int pixels, double t);
