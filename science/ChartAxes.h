#pragma once
// The chart's axes as a paint lays them out, apart from any window: the
// value range of each y axis, the time range, their steps, where the ticks
// stand and what they read, and the scale that puts times on the x axis.

#include <QString>
#include <optional>
#include <vector>

#include "ChartLogic.h"
#include "ChartSeries.h"
#include "TimeZoom.h"

// Intervals on each axis (never changed).
constexpr int kChartTicks = 10;

struct ChartAxes {
  ChartLayout layout;
  float m_fXMin = 0, m_fXMax = 0;    // the run's times, only ever widened
  float m_fYMin = 0, m_fYMax = 0;    // the left axis
  float m_fY2Min = 0, m_fY2Max = 0;  // the right axis
  float m_fYStep = 0, m_fXStep = 0;  // a value and a time per interval
  std::vector<int> rows;             // of the y ticks, 0 at the x axis
  std::vector<int> columns;          // of the x ticks, 0 at the y axis
  std::vector<QString> yLabels, y2Labels, xLabels;
  // Where times stand: the shown range's first at the y axis, its last at
  // the last tick.
  TimeScale scale;
};

// The value range of y axis `axis` (0 left, 1 right): a box's choice when
// the user drew one; else, on the left, `fixed` when both its ends are
// numbers, else the comfort scale's 0 to 100 with bands; else the curves'
// own. A flat range is widened.
AxisSpan AxisRange(const CChartSeriesModel& curves, int axis, BandMode bands, AxisSpan fixed,
                   const std::optional<AxisSpan>& box);

// The axes of `layout` over the run's times `whole`, `shown` of them (the
// tick labels read the shown range when `zoomed`), with the y ranges `left`
// and `right`.
ChartAxes LayOutAxes(const ChartLayout& layout, const TimeRange& whole, const TimeRange& shown, bool zoomed,
                     AxisSpan left, AxisSpan right);
