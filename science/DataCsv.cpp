#include "DataCsv.h"

#include <charconv>
#include <cmath>

#include "CaptionTables.h"
#include "ChartCurves.h"
#include "CurveSelection.h"
#include "ExactFields.h"
#include "RunComparison.h"
#include "ScienceLogic.h"
#include "SimulationData.h"

QString CsvNumber(double v) {
  if (std::isnan(v)) {
    return QString();  // a value the run does not hold: an empty cell
  }
  char buf[32];
  return QString::fromLatin1(buf, static_cast<qsizetype>(ShortestDouble(v, buf, sizeof buf)));
}

QString CsvNumber(float v) {
  if (std::isnan(v)) {
    return QString();
  }
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
}

QString CsvNumber(double v, bool fromFile) { return fromFile ? CsvNumber(v) : CsvNumber(static_cast<float>(v)); }

QString ExportCsv(const CSimulationData& data, int option, int quantity) {
  const OptionId o = DecodeOption(option);
  const QString name = ColumnName(o.kind, quantity);
  const RunTables& run = data.Run();
  // The table of the files' values the option takes; without it (tables
  // made by hand, a file changed since the load) the store's floats are
  // written as floats.
  const std::size_t fiber = static_cast<std::size_t>(std::max(0, o.index));
  const CExactTable* exact = o.kind == OptionKind::Body      ? ExactBodyOf(data.Exact(), run)
                             : o.kind == OptionKind::Comfort ? ExactComfortOf(data.Exact(), run, o.part)
                             : o.kind == OptionKind::Fabric  ? ExactFabricOf(data.Exact(), run, o.part)
                                                             : ExactFiberOf(data.Exact(), run, fiber);
  auto number = [exact](double v) { return CsvNumber(v, exact != nullptr); };
  QString out;
  if (IsChartKind(o.kind)) {
    out += QStringLiteral("Time(min),%1\n").arg(name);
    const std::vector<ChartPoint> points = o.kind == OptionKind::Body
                                               ? BodyPropertyPoints(data, o.part, quantity, exact)
                                               : ComfortPoints(data, o.part, quantity, exact);
    for (const ChartPoint& p : points) {
      out += number(p.x) + QLatin1Char(',') + number(p.y) + QLatin1Char('\n');
    }
    return out;
  }
  out += QStringLiteral("curve,Thickness(cm),Time(min),%1\n").arg(name);
  std::vector<PlotCurve> curves;
  if (o.kind == OptionKind::Fabric) {
    curves = FabricCurves(data, o.part, o.index, quantity, exact);
  } else if (o.index >= 0 && fiber < run.m_fibers.size()) {
    curves = FiberCurves(run.m_fibers[fiber], quantity, exact);
  }
  for (std::size_t c = 0; c < curves.size(); ++c) {
    for (const auto& p : curves[c]) {
      out += QString::number(c) + QLatin1Char(',') + number(p[0]) + QLatin1Char(',') + number(p[1]) + QLatin1Char(',') +
             number(p[2]) + QLatin1Char('\n');
    }
  }
  return out;
}

QString ComparedCsv(const CSimulationData& first, const std::vector<const CSimulationData*>& others, int option,
                    int quantity) {
  const OptionId o = DecodeOption(option);
  const QChar comma = QLatin1Char(',');
  if (IsChartKind(o.kind)) {
    CCurveSelection selection;
    selection.Choose(o.part, o.kind, quantity);
    const ChartCurves chart = BuildChartCurves(first, others, selection, true);
    std::vector<CurveColumn> columns;
    for (const ChartCurve& c : chart.curves) {
      columns.push_back({c.column, &c.points});
    }
    return CurvesText(chart.xLabel, columns, comma, chart.exact);
  }
  // Each run's rows as it writes them alone, its name in front.
  std::vector<const CSimulationData*> runs{&first};
  runs.insert(runs.end(), others.begin(), others.end());
  const std::vector<QString> names = RunLabels(first, others);
  QString out = QStringLiteral("run,curve,Thickness(cm),Time(min),%1\n").arg(ColumnName(o.kind, quantity));
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const QString rows = ExportCsv(*runs[r], option, quantity);
    for (const QString& row : rows.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
      out += DelimitedField(names[r], comma) + comma + row + QLatin1Char('\n');
    }
  }
  return out;
}
