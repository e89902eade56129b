#include "ChartZoom.h"

#include <algorithm>

TimeRange CChartZoom::Shown(const TimeRange& whole, int points) const {
  return m_bZoomed ? FitRange(m_view, whole, MinimumSpan(whole, points)) : whole;
}

void CChartZoom::Show(const TimeRange& range, const TimeRange& whole, int points) {
  m_view = FitRange(range, whole, MinimumSpan(whole, points));
  m_bZoomed = whole.Span() > 0 && !IsWhole(m_view, whole);
}

void CChartZoom::Reset() {
  m_bZoomed = false;
  m_bValueBox = false;
}

void CChartZoom::EndDrag() {
  m_bDragging = false;
  m_bBoxing = false;
}

void CChartZoom::Settle(const TimeRange& shown, const TimeRange& whole) {
  m_bZoomed = m_bZoomed && !IsWhole(shown, whole);
}

std::optional<AxisSpan> CChartZoom::ValueBox(int axis) const {
  if (!m_bValueBox || axis < 0 || axis > 1) {
    return std::nullopt;
  }
  return m_valueBox[axis];
}

void CChartZoom::Press(QPoint at, bool box, const TimeRange& shown) {
  m_ptPress = m_ptDrag = at;
  m_pressRange = shown;
  m_bDragging = true;
  m_bBoxing = box;
}

std::optional<QRect> CChartZoom::Box() const {
  if (!m_bBoxing) {
    return std::nullopt;
  }
  return QRect(m_ptPress, m_ptDrag).normalized();
}

bool CChartZoom::Drag(QPoint at, const ChartAxes& axes, const TimeRange& whole, int points) {
  if (!m_bDragging) {
    return false;
  }
  if (m_bBoxing) {
    m_ptDrag = at;
    return true;
  }
  if (!m_bZoomed || axes.scale.pixels <= 0) {
    return false;
  }
  // The time under the pointer stays under it.
  const double dt = -(at.x() - m_ptPress.x()) * m_pressRange.Span() / axes.scale.pixels;
  Show(PanBy(m_pressRange, dt, whole), whole, points);
  return true;
}

bool CChartZoom::Release(QPoint at, const ChartAxes& axes, const TimeRange& whole, int points) {
  if (!m_bDragging) {
    return false;
  }
  m_bDragging = false;
  if (!m_bBoxing) {
    return false;
  }
  m_bBoxing = false;
  const QRect box = QRect(m_ptPress, at).normalized();
  const ChartLayout& l = axes.layout;
  // A box of a few pixels is a slip of the hand, not a range.
  if (box.width() < 4 || axes.scale.pixels <= 0) {
    return true;  // the box goes
  }
  const TimeRange shown = Shown(whole, points);
  const double t0 = TimeAtColumn(shown, l.originX, axes.scale.pixels, box.left());
  const double t1 = TimeAtColumn(shown, l.originX, axes.scale.pixels, box.right());
  if (box.height() >= 4) {
    // Each y axis shows what the box spans on it.
    const double rows = l.axisHeight - 10;
    const AxisSpan ranges[2] = {{axes.m_fYMin, axes.m_fYMax}, {axes.m_fY2Min, axes.m_fY2Max}};
    for (int a = 0; a < 2; ++a) {
      auto valueAt = [&](int y) {
        return static_cast<float>(ranges[a].lo + (l.originY - y) / rows * (ranges[a].hi - ranges[a].lo));
      };
      m_valueBox[a] = {valueAt(box.bottom()), valueAt(box.top())};
    }
    m_bValueBox = true;
  }
  Show(ZoomToBox(t0, t1, whole, MinimumSpan(whole, points)), whole, points);
  return true;
}

bool CChartZoom::Wheel(int delta, double x, const ChartAxes& axes, const TimeRange& whole, int points) {
  // One notch (120) is one step; fine-grained wheels add up to notches.
  m_nWheelAccum += delta;
  const int notches = m_nWheelAccum / 120;
  if (notches == 0 || axes.scale.pixels <= 0) {
    return false;
  }
  m_nWheelAccum -= notches * 120;
  const TimeRange shown = Shown(whole, points);
  const int origin = axes.layout.originX;
  const double column = std::clamp(x, static_cast<double>(origin), static_cast<double>(origin + axes.scale.pixels));
  const double anchor = TimeAtColumn(shown, origin, axes.scale.pixels, column);
  Show(ZoomAbout(shown, anchor, notches, whole, MinimumSpan(whole, points)), whole, points);
  return true;
}
