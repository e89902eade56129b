#pragma once
// What the hover box says: the time under the pointer, and each curve's
// value at that time with its unit.

#include <QString>
#include <QStringList>
#include <vector>

#include "ChartAxes.h"
#include "ChartLogic.h"
#include "ChartSeries.h"

// The first point of `points` (in time order) at or after time `t`; the
// last when every point is earlier.
int IndexAtTime(const std::vector<CChartDataSet>& points, float t);

// The point of `points` (in time order) nearest in time to `t`, or -1 when
// `t` lies outside the points' times (a run that ends earlier has no value
// there).
int NearestInTime(const std::vector<CChartDataSet>& points, double t);

struct HoverValue {
  QString name;  // the curve's legend text
  float value = 0;
  QString unit;
  bool held = true;  // false: the run has no value there
  // A compared run's curve: the run's name and the time of the value read,
  // which may be its own sample's rather than the hovered one.
  QString run{};
  float time = 0;
};
// The lines of the hover box at time `time`: one curve reads on one line
// ("12.5 min: 33.2 Degree"); several read the time, then a line a curve
// ("Head: Temperature of Skin(Degree) = 33.2 Degree", "... = no data").
// A chart over another x reads it in its own unit (`xUnit`, "cm"). A
// compared run whose value stands at another time names it after the time:
// "48.7 min; run-b at 48.5 min".
QStringList HoverLines(float time, const std::vector<HoverValue>& values, const QString& xUnit = QStringLiteral("min"));

// The point of the first curve under pixel column `x`: the one nearest in
// time to the time there; none off the x axis, or before the curve's first
// time or after its last (a run that starts late holds nothing at 0).
int HoverIndexAt(int x, const ChartAxes& axes, const std::vector<CChartDataSet>& points);
// What the hover box says at point `hover` of the first curve: each curve's
// value at its time, with its unit (the only curve's unit is its caption's,
// `yLabel`, as the owner wrote it); empty for no point.
QString ChartHoverText(const CChartSeriesModel& curves, int hover, const QString& yLabel, const QString& xUnit);
