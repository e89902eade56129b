#include "ChartHover.h"

#include <algorithm>
#include <cmath>

int IndexAtTime(const std::vector<CChartDataSet>& points, float t) {
  const auto it =
      std::lower_bound(points.begin(), points.end(), t, [](const CChartDataSet& p, float v) { return p.m_fX < v; });
  return it == points.end() ? static_cast<int>(points.size()) - 1 : static_cast<int>(it - points.begin());
}

int NearestInTime(const std::vector<CChartDataSet>& points, double t) {
  if (points.empty()) {
    return -1;
  }
  const double first = points.front().m_fX, last = points.back().m_fX;
  // A hair either side, for times that went through a float.
  const double slack = std::max(1e-6, (last - first) * 1e-6);
  if (t < first - slack || t > last + slack) {
    return -1;
  }
  const auto after =
      std::lower_bound(points.begin(), points.end(), t, [](const CChartDataSet& p, double v) { return p.m_fX < v; });
  if (after == points.end()) {
    return static_cast<int>(points.size()) - 1;
  }
  if (after != points.begin() && t - std::prev(after)->m_fX < after->m_fX - t) {
    return static_cast<int>(after - points.begin()) - 1;
  }
  return static_cast<int>(after - points.begin());
}

namespace {
QString Number(double v) { return QString::number(v, 'g', 6); }

QString ValueText(const HoverValue& v) {
  if (!v.held || std::isnan(v.value)) {
    return QStringLiteral("no data");
  }
  return v.unit.isEmpty() ? Number(v.value) : QStringLiteral("%1 %2").arg(Number(v.value), v.unit);
}
}  // namespace

QStringList HoverLines(float time, const std::vector<HoverValue>& values, const QString& xUnit) {
  QString minutes = QStringLiteral("%1 %2").arg(Number(time), xUnit);
  QStringList named;
  for (const HoverValue& v : values) {
    if (!v.run.isEmpty() && v.held && std::abs(static_cast<double>(v.time) - time) > 1e-6 && !named.contains(v.run)) {
      named << v.run;
      minutes += QStringLiteral("; %1 at %2 %3").arg(v.run, Number(v.time), xUnit);
    }
  }
  if (values.size() == 1) {
    return {QStringLiteral("%1: %2").arg(minutes, ValueText(values.front()))};
  }
  QStringList lines{minutes};
  for (const HoverValue& v : values) {
    lines << QStringLiteral("%1 = %2").arg(v.name, ValueText(v));
  }
  return lines;
}
