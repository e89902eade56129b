#include "ChartHover.h"

#include <algorithm>
#include <cmath>

#include "ChartUnits.h"

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

int HoverIndexAt(int x, const ChartAxes& axes, const std::vector<CChartDataSet>& points) {
  const ChartLayout& l = axes.layout;
  const bool inside = x >= l.originX && x <= l.originX + l.axisWidth && axes.scale.pixels > 0;
  if (!inside || points.empty()) {
    return -1;
  }
  return NearestInTime(points, axes.scale.TimeAt(x));
}

QString ChartHoverText(const CChartSeriesModel& curves, int hover, const QString& yLabel, const QString& xUnit) {
  const std::vector<CChartDataSet>& first = curves.Points();
  if (hover < 0 || hover >= static_cast<int>(first.size())) {
    return {};
  }
  // The chart's points are the store's floats, as it draws them.
  const auto t = static_cast<float>(first[static_cast<std::size_t>(hover)].m_fX);
  const std::vector<CChartSeries>& all = curves.Curves();
  std::vector<HoverValue> values;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const SeriesLook& look = all[i].Look();
    const std::vector<CChartDataSet>& points = all[i].Points();
    HoverValue v;
    v.name = look.m_strName;
    v.unit = look.m_strUnit.isEmpty() && all.size() == 1 ? UnitOf(yLabel) : look.m_strUnit;
    const int j = i == 0 ? hover : NearestInTime(points, t);
    v.held = j >= 0;
    v.value = j >= 0 ? static_cast<float>(points[static_cast<std::size_t>(j)].m_fY) : 0.0f;
    v.run = look.m_nRun > 0 ? look.m_strRun : QString();
    v.time = j >= 0 ? static_cast<float>(points[static_cast<std::size_t>(j)].m_fX) : t;
    values.push_back(v);
  }
  return HoverLines(t, values, xUnit).join(QLatin1Char('\n'));
}
