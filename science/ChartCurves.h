#pragma once
// The curves a selection puts on the chart, apart from any window: their
// names, units, axes, colours and points, for one run or several side by
// side.
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
  QString unit;      // of the values
  QString column;    // the column's name in exported data
  int axis = 0;      // 0 the left y axis, 1 the right one
  int colour = 0;    // its place in the palette
  int style = 0;     // the line style (SetLineStyle): its run's
  int runIndex = 0;  // which run: 0 the first
  QString run;       // the run's name when runs are compared
  std::vector<CChartDataSet> points;
};

struct ChartCurves {
  QString xLabel, yLabel, y2Label, yColumn, title;
  bool exact = false;  // the points are the files' own values (ExactTables.h)
  BandMode bands = BandMode::None;
  std::vector<ChartCurve> curves;
};

// What `selection` shows of `data` and of each run of `compared` beside it,
// every curve naming its run. One run beside the first draws its curves
// after the first run's, dashed, each in the colour of its counterpart;
// more runs (one curve each, as the selection allows) take each its own
// colour and line style, in the order given.
// With `exactValues`, for a writer, the points are the files' own values
// where every run gives them (CSimulationData::Exact).
ChartCurves BuildChartCurves(const CSimulationData& data, const std::vector<const CSimulationData*>& compared,
                             const CCurveSelection& selection, bool exactValues = false);

// Several curves as text: a header of the x caption and each curve's column
// name, then a row for each time any curve holds, in time order, a curve
// without a point at that time leaving its cell empty. Fields that hold the
// separator are quoted. Values are written as doubles when `exact`, else
// as the store's floats.
struct CurveColumn {
  QString name;
  const std::vector<CChartDataSet>* points = nullptr;
};
QString CurvesText(const QString& xLabel, const std::vector<CurveColumn>& columns, QChar separator, bool exact = false);
// One curve as text: its rows as they are, in their order, under "x caption,
// value column"; values as CurvesText writes them.
QString CurveText(const QString& xLabel, const QString& yColumn, const std::vector<CChartDataSet>& points,
                  QChar separator, bool exact = false);
// The chart's data as the chart's own copy gives it: one curve as its rows
// under "x caption, value column", several as CurvesText.
QString ChartCurvesText(const ChartCurves& chart, QChar separator);
