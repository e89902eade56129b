#include "ExportCommand.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLegend.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "RunComparison.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "SimulationData.h"

namespace {
// A value as the shortest text that reads back to the same float.
QString Number(double v) {
  if (std::isnan(v)) {
    return QString();  // a value the run does not hold: an empty cell
  }
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(v));
  return QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
}
}  // namespace

QString ExportCsv(const CSimulationData& data, int option, int quantity) {
  const OptionId o = DecodeOption(option);
  const QString name = ColumnName(o.kind, quantity);
  QString out;
  if (IsChartKind(o.kind)) {
    out += QStringLiteral("Time(min),%1\n").arg(name);
    const std::vector<ChartPoint> points =
        o.kind == OptionKind::Body ? BodyPropertyPoints(data, o.part, quantity) : ComfortPoints(data, o.part, quantity);
    for (const ChartPoint& p : points) {
      out += Number(p.x) + QLatin1Char(',') + Number(p.y) + QLatin1Char('\n');
    }
    return out;
  }
  out += QStringLiteral("curve,Thickness(cm),Time(min),%1\n").arg(name);
  std::vector<PlotCurve> curves;
  if (o.kind == OptionKind::Fabric) {
    curves = FabricCurves(data, o.part, o.index, quantity);
  } else if (o.index >= 0 && static_cast<std::size_t>(o.index) < data.Run().m_fibers.size()) {
    curves = FiberCurves(data.Run().m_fibers[static_cast<std::size_t>(o.index)], quantity);
  }
  for (std::size_t c = 0; c < curves.size(); ++c) {
    for (const auto& p : curves[c]) {
      out += QString::number(c) + QLatin1Char(',') + Number(p[0]) + QLatin1Char(',') + Number(p[1]) + QLatin1Char(',') +
             Number(p[2]) + QLatin1Char('\n');
    }
  }
  return out;
}

QString ComparedCsv(const CSimulationData& first, const CSimulationData& second, int option, int quantity) {
  const OptionId o = DecodeOption(option);
  const QString name = ColumnName(o.kind, quantity);
  const auto [firstRun, secondRun] = RunLabels(first.Run().m_strDataDir, second.Run().m_strDataDir);
  const QChar comma = QLatin1Char(',');
  if (!IsChartKind(o.kind)) {
    // Each run's rows as it writes them alone, its name in front.
    QString out = QStringLiteral("run,curve,Thickness(cm),Time(min),%1\n").arg(name);
    for (const auto& [data, run] : {std::pair{&first, firstRun}, std::pair{&second, secondRun}}) {
      const QString rows = ExportCsv(*data, option, quantity);
      for (const QString& row : rows.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
        out += DelimitedField(run, comma) + comma + row + QLatin1Char('\n');
      }
    }
    return out;
  }
  auto points = [&](const CSimulationData& d) {
    return o.kind == OptionKind::Body ? BodyPropertyPoints(d, o.part, quantity) : ComfortPoints(d, o.part, quantity);
  };
  const std::vector<ChartPoint> runs[2] = {points(first), points(second)};
  const QString part = QLatin1String(kBodyPartNames[o.part]);
  QString out = QStringLiteral("Time(min),%1,%2\n")
                    .arg(DelimitedField(LegendText(part, name, firstRun), comma),
                         DelimitedField(LegendText(part, name, secondRun), comma));
  // A row for each time either run holds, in time order; each run's points
  // are in time order, so both are walked once.
  std::size_t next[2] = {0, 0};
  for (;;) {
    double t = INFINITY;
    for (int r = 0; r < 2; ++r) {
      if (next[r] < runs[r].size()) {
        t = std::min(t, static_cast<double>(static_cast<float>(runs[r][next[r]].x)));
      }
    }
    if (std::isinf(t)) {
      break;
    }
    out += Number(t);
    for (int r = 0; r < 2; ++r) {
      const bool here = next[r] < runs[r].size() && static_cast<float>(runs[r][next[r]].x) == static_cast<float>(t);
      out += comma + (here ? Number(runs[r][next[r]].y) : QString());
      next[r] += here ? 1 : 0;
    }
    out += QLatin1Char('\n');
  }
  return out;
}

int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir,
                        const QString& compareDir) {
  const OptionId o = DecodeOption(option);
  if (!IsOptionId(option) || quantity < 0 || quantity >= PropertyCount(o.kind)) {
    std::fprintf(stderr, "corvane: option %d has no quantity %d.\n", option, quantity);
    return 2;
  }
  if (IsScreenshotInput(file, dataDir, ModuleDir()) ||
      (!compareDir.isEmpty() && IsScreenshotInput(file, compareDir, ModuleDir()))) {
    std::fprintf(stderr, "corvane: \"%s\" is one of the run's files; it is not overwritten.\n", qPrintable(file));
    return 2;
  }
  CSimulationData data;
  data.SetMessageSink(&CStderrMessageSink::Instance());
  if (!data.Load(dataDir)) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(dataDir));
    return 1;
  }
  if (const int unchosen = CheckChosenOption(data, option, quantity)) {
    return unchosen;
  }
  CSimulationData compared;
  if (!compareDir.isEmpty()) {
    compared.SetMessageSink(&CStderrMessageSink::Instance());
    if (!compared.Load(compareDir)) {
      std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(compareDir));
      return 1;
    }
    if (!RunListsOption(compared, option)) {
      std::fprintf(stderr, "corvane: the run in \"%s\" has no option %d to compare.\n", qPrintable(compareDir), option);
      return 2;
    }
  }
  const QByteArray text =
      (compareDir.isEmpty() ? ExportCsv(data, option, quantity) : ComparedCsv(data, compared, option, quantity))
          .toUtf8();
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
    std::fprintf(stderr, "corvane: cannot write \"%s\".\n", qPrintable(file));
    return 1;
  }
  return 0;
}
