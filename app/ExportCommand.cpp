#include "ExportCommand.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <cmath>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLegend.h"
#include "DataCsv.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "Profile.h"
#include "RunComparison.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "SimulationData.h"

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
    out += CsvNumber(t);
    for (int r = 0; r < 2; ++r) {
      const bool here = next[r] < runs[r].size() && static_cast<float>(runs[r][next[r]].x) == static_cast<float>(t);
      out += comma + (here ? CsvNumber(runs[r][next[r]].y) : QString());
      next[r] += here ? 1 : 0;
    }
    out += QLatin1Char('\n');
  }
  return out;
}

int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir,
                        const QString& compareDir, std::optional<double> profileAt) {
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
  QString csv;
  if (profileAt) {
    const std::optional<int> step = ProfileStepFor(data, option, *profileAt);
    if (!step) {
      return 2;
    }
    csv = ProfileCsv(FabricProfileAt(data.Run(), DecodeOption(option).part, *step, quantity),
                     ColumnName(OptionKind::Fabric, quantity));
  } else if (!compareDir.isEmpty()) {
    csv = ComparedCsv(data, compared, option, quantity);
  } else {
    csv = ExportCsv(data, option, quantity);
  }
  const QByteArray text = csv.toUtf8();
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
    std::fprintf(stderr, "corvane: cannot write \"%s\".\n", qPrintable(file));
    return 1;
  }
  return 0;
}
