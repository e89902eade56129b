// The chart's content as a figure draws it: the curves as they are, the
// captions, the shown time range and each y axis' values.

#include <cmath>

#include "ChartLegend.h"
#include "MyChart.h"

ChartFigureContent CMyChart::FigureContent(const QString& title) const {
  ChartFigureContent c;
  ChartFigureText& t = c.text;
  t.title = title;
  t.xCaption = m_strXLabel;
  t.yCaption = m_strYLabel;
  const QStringList texts = LegendTexts();
  std::vector<FigureLegendEntry> entries;
  for (qsizetype i = 0; i < texts.size(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    entries.push_back({texts[i], SeriesColour(m_curves, k, m_nBandMode), Curves()[k].Look().m_nStyle});
  }
  c.legend = FigureLegend(entries);
  for (const FigureLegendEntry& e : c.legend) {
    t.legend.push_back(e.text);
  }
  const TimeRange shown = ShownRange();
  t.xLo = shown.lo;
  t.xHi = shown.hi > shown.lo ? shown.hi : shown.lo + 1;
  const AxisSpan fixed{m_fFixedYMin, m_fFixedYMax};
  const AxisSpan left = AxisRange(m_curves, 0, m_nBandMode, fixed, m_zoom.ValueBox(0));
  const AxisSpan right = AxisRange(m_curves, 1, m_nBandMode, fixed, m_zoom.ValueBox(1));
  t.yLo = left.lo;
  t.yHi = left.hi;
  t.y2Lo = right.lo;
  t.y2Hi = right.hi;
  t.rightAxis = m_curves.HasRightAxis();
  if (t.rightAxis) {
    t.y2Caption = m_strY2Label;
  }
  // The comfort scale's 0 to 100, a profile's fixed range and a box's values
  // are the range asked; a range from the data widens to its ticks.
  t.exactY =
      m_nBandMode != BandMode::None || m_zoom.ValueBoxed() || (!std::isnan(m_fFixedYMin) && !std::isnan(m_fFixedYMax));
  for (const ComfortLabelPlace& l : ComfortLabelPlaces(m_nBandMode)) {
    t.bandLabels.push_back({QString::fromLatin1(l.text), l.at});
  }
  for (const ChartSection& s : m_sections) {
    t.sections.push_back({s.from, s.to, s.name});
  }
  c.bands = m_nBandMode;
  c.boundaries.assign(m_boundaries.begin(), m_boundaries.end());
  for (std::size_t i = 0; i < Curves().size(); ++i) {
    const CChartSeries& s = Curves()[i];
    c.curves.push_back({&s.Points(), SeriesColour(m_curves, i, m_nBandMode), s.Look().m_nStyle, s.Look().m_nAxis});
  }
  return c;
}
