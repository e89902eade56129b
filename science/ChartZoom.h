#pragma once
// What the user has zoomed the chart to, apart from any window: the time
// range shown, a box's value ranges, and the drag or wheel under way. The
// wheel zooms about the pointer, a drag pans a zoomed axis, a Shift+drag
// zooms to the box it draws, and a reset shows the whole run again. Each
// input is told the axes the last paint laid out.

#include <QPoint>
#include <QRect>
#include <optional>

#include "ChartAxes.h"
#include "TimeZoom.h"

class CChartZoom {
 public:
  // The time range shown of a run spanning `whole` with `points` samples:
  // all of it unless zoomed, else the zoomed range fitted into it.
  TimeRange Shown(const TimeRange& whole, int points) const;
  bool Zoomed() const { return m_bZoomed; }
  // Shows `range`, fitted into the run; showing all of it is no zoom.
  void Show(const TimeRange& range, const TimeRange& whole, int points);
  // The whole run and the curves' own values again (a drag under way goes
  // on).
  void Reset();
  // The press under way is forgotten, its box with it.
  void EndDrag();
  // A paint found the shown range to be the whole run (the run grew).
  void Settle(const TimeRange& shown, const TimeRange& whole);

  // The values a box chose for y axis `axis`, if one did; a refill of the
  // curves forgets them (the time range stays).
  std::optional<AxisSpan> ValueBox(int axis) const;
  bool ValueBoxed() const { return m_bValueBox; }
  void ForgetValueBox() { m_bValueBox = false; }

  // A left press at `at` (`box`: with Shift) while `shown` is shown.
  void Press(QPoint at, bool box, const TimeRange& shown);
  bool Dragging() const { return m_bDragging; }
  // The box being drawn, while Shift+dragging.
  std::optional<QRect> Box() const;
  // The pointer moved to `at` during a drag: the box follows it, or a
  // zoomed axis pans so that the time under it stays under it. True when
  // something changed.
  bool Drag(QPoint at, const ChartAxes& axes, const TimeRange& whole, int points);
  // The press ends at `at`: a box of 4 pixels or more is zoomed to (and, 4
  // rows high or more, its values too). True when something changed.
  bool Release(QPoint at, const ChartAxes& axes, const TimeRange& whole, int points);
  // `delta` eighths of a degree of the wheel at column `x`: whole notches
  // (120) zoom about the time under it, fine wheels adding up. True when
  // the range changed.
  bool Wheel(int delta, double x, const ChartAxes& axes, const TimeRange& whole, int points);

 private:
  bool m_bZoomed = false;
  TimeRange m_view;
  bool m_bValueBox = false;
  AxisSpan m_valueBox[2] = {{0, 1}, {0, 1}};
  bool m_bDragging = false, m_bBoxing = false;
  QPoint m_ptPress, m_ptDrag;
  TimeRange m_pressRange;
  int m_nWheelAccum = 0;
};
