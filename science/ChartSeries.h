#pragma once
// The chart's curves apart from any window: each curve's points in the
// order added, the bounds of their times and values kept as they come (so
// that a paint need not walk every point twice), and how each curve is
// named and drawn.

#include <QString>
#include <QStringList>
#include <vector>

#include "ChartLogic.h"
#include "TimeZoom.h"

// What a curve is called and how it is drawn: a record its owner fills.
struct SeriesLook {
  QString m_strName;    // the legend's text
  QString m_strUnit;    // of the values, for the hover box
  QString m_strColumn;  // the column's name in exported data (the name when empty)
  int m_nAxis = 0;      // 0 the left y axis, 1 the right one
  int m_nColour = -1;   // place in the palette; -1 its place among the curves
  // The line style (SetLineStyle): 0 solid; a compared run's curves take
  // their run's (a second run's dashed, in the palette place of the first
  // run's curve of the same part and quantity).
  int m_nStyle = 0;
  int m_nRun = 0;    // which of the compared runs: 0 the first
  QString m_strRun;  // the run's name, while runs are compared
};

// A value range of a y axis, bottom to top.
struct AxisSpan {
  float lo, hi;
};

// One curve: its look, its points as added, and their bounds.
class CChartSeries {
 public:
  explicit CChartSeries(SeriesLook look = {});

  void Add(float x, float y);
  const SeriesLook& Look() const { return m_look; }
  const std::vector<CChartDataSet>& Points() const { return m_points; }
  // The times the points span (empty: +inf to -inf).
  TimeRange Times() const { return {m_fXMin, m_fXMax}; }
  // The values the points span; a paint's search starts at (1e6, -1e6),
  // which an empty curve keeps.
  AxisSpan Values() const { return {m_fYMin, m_fYMax}; }
  // In time order, so that the shown points can be found by halving.
  bool Sorted() const { return m_bSorted; }

 private:
  SeriesLook m_look;
  std::vector<CChartDataSet> m_points;
  float m_fXMin, m_fXMax, m_fYMin = 1000000, m_fYMax = -1000000;
  bool m_bSorted = true;
};

// Every curve of a chart. There is always a first one: AddPoint fills the
// last curve begun, the first until AddSeries begins another.
class CChartSeriesModel {
 public:
  CChartSeriesModel();

  // One empty curve again, of no look.
  void Clear();
  void AddPoint(float x, float y);
  // Names the first curve (its points come by AddPoint).
  void SetFirstLook(const SeriesLook& look);
  // Begins a further curve, which AddPoint then fills.
  void AddSeries(const SeriesLook& look);

  const std::vector<CChartSeries>& Curves() const { return m_curves; }
  // The first curve's points: the ones the hover and the cursor follow.
  const std::vector<CChartDataSet>& Points() const { return m_curves.front().Points(); }
  // Whether a curve takes the right y axis.
  bool HasRightAxis() const;
  // What the legend reads: every curve's name, or nothing for one curve.
  QStringList LegendTexts() const;
  // `from` widened by every curve's times.
  TimeRange Times(TimeRange from) const;
  // The values of the curves on `axis` (1e6 to -1e6 for none).
  AxisSpan Values(int axis) const;
  // The curves as text: a header of `xLabel` and the y column, then a row
  // a point, time and value, separated by `separator`; several curves give
  // a value column each, a row per time any of them holds.
  QString DataText(const QString& xLabel, const QString& yColumn, QChar separator) const;

 private:
  std::vector<CChartSeries> m_curves;
};
