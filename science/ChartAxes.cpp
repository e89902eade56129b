#include "ChartAxes.h"

#include <cmath>

AxisSpan AxisRange(const CChartSeriesModel& curves, int axis, BandMode bands, AxisSpan fixed,
                   const std::optional<AxisSpan>& box) {
  if (box) {
    return *box;
  }
  AxisSpan a = curves.Values(axis);
  if (axis == 0 && bands != BandMode::None) {
    a = {0, 100};
  }
  if (axis == 0 && !std::isnan(fixed.lo) && !std::isnan(fixed.hi)) {
    a = fixed;
  }
  WidenFlatRange(a.lo, a.hi);
  return a;
}

namespace {
std::vector<QString> ValueLabels(AxisSpan range) {
  const float step = (range.hi - range.lo) / static_cast<float>(kChartTicks);
  std::vector<float> values;
  for (int i = 0; i <= kChartTicks; ++i) {
    values.push_back(step * static_cast<float>(i) + range.lo);
  }
  return FormatAxisValues(values);
}
}  // namespace

ChartAxes LayOutAxes(const ChartLayout& layout, const TimeRange& whole, const TimeRange& shown, bool zoomed,
                     AxisSpan left, AxisSpan right) {
  ChartAxes a;
  a.layout = layout;
  a.m_fXMin = static_cast<float>(whole.lo);
  a.m_fXMax = static_cast<float>(whole.hi);
  a.m_fYMin = left.lo;
  a.m_fYMax = left.hi;
  a.m_fY2Min = right.lo;
  a.m_fY2Max = right.hi;
  a.m_fYStep = (a.m_fYMax - a.m_fYMin) / static_cast<float>(kChartTicks);
  a.m_fXStep = (a.m_fXMax - a.m_fXMin) / static_cast<float>(kChartTicks);
  a.rows = YTickRows(layout, kChartTicks);
  a.columns = XTickColumns(layout, kChartTicks);
  a.yLabels = ValueLabels(left);
  a.y2Labels = ValueLabels(right);
  // Zoomed, the labels read the shown range by the same rule.
  a.xLabels = zoomed ? ZoomedTickLabels(shown.lo, shown.Span() / kChartTicks, kChartTicks)
                     : TimeTickLabels(a.m_fXMin, a.m_fXStep, kChartTicks);
  a.scale = {shown, layout.originX, a.columns.back() - layout.originX};
  return a;
}
