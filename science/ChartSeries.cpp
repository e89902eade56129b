#include "ChartSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ChartCurves.h"
#include "RunComparison.h"

CChartSeries::CChartSeries(SeriesLook look)
    : m_look(std::move(look)),
      m_fXMin(std::numeric_limits<float>::infinity()),
      m_fXMax(-std::numeric_limits<float>::infinity()) {}

void CChartSeries::Add(float x, float y) {
  if (!m_points.empty()) {
    m_bSorted = m_bSorted && x >= m_points.back().m_fX;
  }
  m_points.push_back({x, y});
  m_fXMin = std::min(m_fXMin, x);
  m_fXMax = std::max(m_fXMax, x);
  m_fYMin = std::min(m_fYMin, y);
  m_fYMax = std::max(m_fYMax, y);
}

CChartSeriesModel::CChartSeriesModel() { Clear(); }

void CChartSeriesModel::Clear() { m_curves.assign(1, CChartSeries()); }

void CChartSeriesModel::AddPoint(float x, float y) { m_curves.back().Add(x, y); }

void CChartSeriesModel::SetFirstLook(const SeriesLook& look) {
  // The first curve keeps its points: they may have come before its name.
  CChartSeries named(look);
  for (const CChartDataSet& d : m_curves.front().Points()) {
    named.Add(static_cast<float>(d.m_fX), static_cast<float>(d.m_fY));  // a drawn curve holds floats
  }
  m_curves.front() = std::move(named);
}

void CChartSeriesModel::AddSeries(const SeriesLook& look) { m_curves.emplace_back(look); }

bool CChartSeriesModel::HasRightAxis() const {
  return std::any_of(m_curves.begin(), m_curves.end(), [](const CChartSeries& s) { return s.Look().m_nAxis == 1; });
}

QStringList CChartSeriesModel::LegendTexts() const {
  QStringList texts;
  if (m_curves.size() > 1) {
    for (const CChartSeries& s : m_curves) {
      texts << s.Look().m_strName;
    }
  }
  return texts;
}

TimeRange CChartSeriesModel::Times(TimeRange from) const {
  for (const CChartSeries& s : m_curves) {
    from.lo = std::min(from.lo, s.Times().lo);
    from.hi = std::max(from.hi, s.Times().hi);
  }
  return from;
}

AxisSpan CChartSeriesModel::Values(int axis) const {
  AxisSpan a{1000000, -1000000};
  for (const CChartSeries& s : m_curves) {
    if (s.Look().m_nAxis == axis) {
      a.lo = std::min(a.lo, s.Values().lo);
      a.hi = std::max(a.hi, s.Values().hi);
    }
  }
  return a;
}

QString CChartSeriesModel::DataText(const QString& xLabel, const QString& yColumn, QChar separator) const {
  if (m_curves.size() > 1) {
    std::vector<CurveColumn> columns;
    for (const CChartSeries& s : m_curves) {
      columns.push_back({s.Look().m_strColumn.isEmpty() ? s.Look().m_strName : s.Look().m_strColumn, &s.Points()});
    }
    return CurvesText(xLabel, columns, separator);
  }
  // One curve: the drawn floats, as floats.
  return CurveText(xLabel, yColumn, Points(), separator);
}
