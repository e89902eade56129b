#pragma once
// The curves a selection puts on the chart, apart from any window: their
// names, units, axes, colours and points, for one run or two side by side.
// The chart draws them; the command line's export writes them as text.

#include <QString>
#include <vector>

#include "ChartLogic.h"
#include "CurveSelection.h"

class CSimulationData;

struct ChartCurve {
  QString name;  // the legend's text
  QString base;  // the same without the run's name
  QString baseColumn;
  QString unit;    // of the values
  QString column;  // the column's name in exported data
  int axis = 0;    // 0 the left y axis, 1 the right one
  int colour = 0;  // its place in the palette
  bool dashed = false;
  QString run;  // the run's name when two are compared
  std::vector<CChartDataSet> points;
};

struct ChartCurves {
  QString xLabel, yLabel, y2Label, yColumn, title;
  BandMode bands = BandMode::None;
  std::vector<ChartCurve> curves;
};

// What `selection` shows of `data` and, when given, of `compared` beside it
// (its curves after the first run's, dashed, each in the colour of its
// counterpart; every curve naming its run).
ChartCurves BuildChartCurves(const CSimulationData& data, const CSimulationData* compared,
                             const CCurveSelection& selection);

// Several curves as text: a header of the x caption and each curve's column
// name, then a row for each time any curve holds, in time order, a curve
// without a point at that time leaving its cell empty. Fields that hold the
// separator are quoted.
struct CurveColumn {
  QString name;
  const std::vector<CChartDataSet>* points = nullptr;
};
QString CurvesText(const QString& xLabel, const std::vector<CurveColumn>& columns, QChar separator);
