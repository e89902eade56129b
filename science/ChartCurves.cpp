#include "ChartCurves.h"

#include <algorithm>
#include <cmath>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLegend.h"
#include "ChartUnits.h"
#include "DataCsv.h"
#include "RunComparison.h"
#include "ScienceLogic.h"
#include "SimulationData.h"

ChartCurves BuildChartCurves(const CSimulationData& data, const std::vector<const CSimulationData*>& compared,
                             const CCurveSelection& selection, bool exactValues) {
  ChartCurves chart;
  const std::vector<CurveKey> keys = selection.Curves();
  if (keys.empty()) {
    return chart;
  }
  std::vector<QString> names, units;
  for (const CurveKey& c : keys) {
    names.push_back(PropertyName(c.kind, c.quantity));
    units.push_back(UnitOf(names.back()));
  }
  // The selection admits no third unit: every curve has its axis.
  const std::vector<int> axes = AssignAxes(units).value_or(std::vector<int>(keys.size(), 0));
  std::vector<QString> axisNames[2];
  for (std::size_t i = 0; i < keys.size(); ++i) {
    axisNames[axes[i]].push_back(names[i]);
  }
  const CurveKey& first = keys.front();
  chart.xLabel = QStringLiteral("Time(min)");
  chart.yLabel = AxisCaption(axisNames[0]);
  chart.y2Label = AxisCaption(axisNames[1]);
  chart.yColumn = ColumnName(first.kind, first.quantity);
  chart.title = ChartTitle(names);
  // The comfort scale behind one rating, never behind two different ones.
  if (first.kind == OptionKind::Comfort && selection.Quantities().size() == 1) {
    chart.bands = BandModeOfComfort(first.quantity);
  }
  std::vector<const CSimulationData*> stores{&data};
  stores.insert(stores.end(), compared.begin(), compared.end());
  // One run alone names none.
  const std::vector<QString> runNames = compared.empty() ? std::vector<QString>(1) : RunLabels(data, compared);
  // Two runs pair each curve with its counterpart; more keep a run apart by
  // its colour and its style alike.
  const bool runColours = stores.size() > 2;
  // Each curve's table of the files' values, when every curve has one: one
  // curve's floats beside another's doubles would not meet at one time.
  auto tableOf = [&keys](const CSimulationData& run, std::size_t i) {
    const CurveKey& c = keys[i];
    return c.kind == OptionKind::Body ? ExactBodyOf(run.Exact(), run.Run())
                                      : ExactComfortOf(run.Exact(), run.Run(), c.part);
  };
  chart.exact = exactValues;
  for (std::size_t r = 0; r < stores.size() && chart.exact; ++r) {
    for (std::size_t i = 0; i < keys.size() && chart.exact; ++i) {
      chart.exact = tableOf(*stores[r], i) != nullptr;
    }
  }
  for (std::size_t r = 0; r < stores.size(); ++r) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const CurveKey& c = keys[i];
      const QString part = QString::fromLatin1(kBodyPartNames[c.part]);
      ChartCurve curve;
      curve.name = LegendText(part, names[i], runNames[r]);
      curve.base = LegendText(part, names[i]);
      curve.baseColumn = LegendText(part, ColumnName(c.kind, c.quantity));
      curve.unit = units[i];
      curve.column = LegendText(part, ColumnName(c.kind, c.quantity), runNames[r]);
      curve.axis = axes[i];
      // Every part of a quantity: each part in its own colour wherever it
      // stands among the curves, so that two figures of one paper agree.
      curve.colour = runColours ? static_cast<int>(r) : selection.AllParts() ? c.part : static_cast<int>(i);
      curve.style = static_cast<int>(r);
      curve.runIndex = static_cast<int>(r);
      curve.run = runNames[r];
      const CSimulationData& run = *stores[r];
      const CExactTable* exact = chart.exact ? tableOf(run, i) : nullptr;
      const std::vector<ChartPoint> points = c.kind == OptionKind::Body
                                                 ? BodyPropertyPoints(run, c.part, c.quantity, exact)
                                                 : ComfortPoints(run, c.part, c.quantity, exact);
      curve.points.reserve(points.size());
      for (const ChartPoint& p : points) {
        curve.points.push_back({p.x, p.y});
      }
      chart.curves.push_back(std::move(curve));
    }
  }
  return chart;
}

QString ChartCurvesText(const ChartCurves& chart, QChar separator) {
  if (chart.curves.size() != 1) {
    std::vector<CurveColumn> columns;
    for (const ChartCurve& c : chart.curves) {
      columns.push_back({c.column.isEmpty() ? c.name : c.column, &c.points});
    }
    return CurvesText(chart.xLabel, columns, separator, chart.exact);
  }
  return CurveText(chart.xLabel, chart.yColumn.isEmpty() ? chart.yLabel : chart.yColumn, chart.curves.front().points,
                   separator, chart.exact);
}

QString CurveText(const QString& xLabel, const QString& yColumn, const std::vector<CChartDataSet>& points,
                  QChar separator, bool exact) {
  QString out = DelimitedField(xLabel, separator) + separator + DelimitedField(yColumn, separator) + QLatin1Char('\n');
  for (const CChartDataSet& d : points) {
    out += CsvNumber(d.m_fX, exact) + separator + CsvNumber(d.m_fY, exact) + QLatin1Char('\n');
  }
  return out;
}

QString CurvesText(const QString& xLabel, const std::vector<CurveColumn>& curves, QChar separator, bool exact) {
  auto number = [exact](double v) { return CsvNumber(v, exact); };
  QString out = DelimitedField(xLabel, separator);
  for (const CurveColumn& c : curves) {
    out += separator + DelimitedField(c.name, separator);
  }
  out += QLatin1Char('\n');
  std::vector<double> times;
  for (const CurveColumn& c : curves) {
    for (const CChartDataSet& d : *c.points) {
      times.push_back(d.m_fX);
    }
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  std::vector<std::size_t> next(curves.size(), 0);
  for (const double t : times) {
    out += number(t);
    for (std::size_t i = 0; i < curves.size(); ++i) {
      const std::vector<CChartDataSet>& points = *curves[i].points;
      const bool here = next[i] < points.size() && points[next[i]].m_fX == t;
      out += separator + (here ? number(points[next[i]].m_fY) : QString());
      next[i] += here ? 1 : 0;
    }
    out += QLatin1Char('\n');
  }
  return out;
}
