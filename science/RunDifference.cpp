#include "RunDifference.h"

#include <cmath>
#include <limits>

QString DifferenceRuns(const QString& first, const QString& second) {
  return QStringLiteral("%1 - %2").arg(first, second);
}

QString DifferenceName(const QString& name, const QString& first, const QString& second) {
  return QStringLiteral("%1, %2").arg(name, DifferenceRuns(first, second));
}

std::vector<CChartDataSet> DifferencePoints(const std::vector<CChartDataSet>& a, const std::vector<CChartDataSet>& b) {
  std::vector<CChartDataSet> out;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const double xa = a[i].m_fX, xb = b[j].m_fX;
    if (std::abs(xa - xb) <= kSameX) {
      const bool held = !std::isnan(a[i].m_fY) && !std::isnan(b[j].m_fY);
      // In doubles: the difference of two values, rounded once.
      const double d = a[i].m_fY - b[j].m_fY;
      out.push_back({a[i].m_fX, held ? d : std::numeric_limits<double>::quiet_NaN()});
      ++i;
      ++j;
    } else if (xa < xb) {
      ++i;
    } else {
      ++j;
    }
  }
  return out;
}

ChartCurves DifferenceCurves(const ChartCurves& compared) {
  ChartCurves out = compared;
  out.curves.clear();
  out.bands = BandMode::None;
  const std::size_t n = compared.curves.size() / 2;
  if (n == 0) {
    return out;
  }
  const QString& first = compared.curves.front().run;
  const QString& second = compared.curves[n].run;
  for (std::size_t i = 0; i < n; ++i) {
    const ChartCurve& a = compared.curves[i];
    const ChartCurve& b = compared.curves[i + n];
    ChartCurve d = a;
    d.name = DifferenceName(a.base, first, second);
    d.column = DifferenceName(a.baseColumn, first, second);
    d.run.clear();
    d.style = 0;
    d.runIndex = 0;
    d.points = DifferencePoints(a.points, b.points);
    out.curves.push_back(std::move(d));
  }
  auto captioned = [&](const QString& caption) {
    return caption.isEmpty() ? caption : DifferenceName(caption, first, second);
  };
  // One curve's data is written under its column's name: the difference's.
  out.yColumn = out.curves.front().column;
  out.yLabel = captioned(compared.yLabel);
  out.y2Label = captioned(compared.y2Label);
  out.title = captioned(compared.title);
  return out;
}
