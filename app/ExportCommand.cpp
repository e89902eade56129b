#include "ExportCommand.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartCurves.h"
#include "ChartLegend.h"
#include "CurveSelection.h"
#include "DataCsv.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "Profile.h"
#include "RunCache.h"
#include "RunComparison.h"
#include "RunDifference.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"
#include "WholeFile.h"

namespace {
// The chart's curves of the selection the options make, as the view would
// choose them (a quantity added as a Ctrl+click adds it, "All parts" as its
// box does); a refusal in the view's words exits with 2.
int ChartText(const CSimulationData& data, const std::vector<const CSimulationData*>& compared, const ExportOptions& o,
              QString* csv) {
  const OptionId id = DecodeOption(o.option);
  QString refusal;
  const CCurveSelection selection =
      SelectCurves(id.part, id.kind, o.quantities, o.allParts, 1 + static_cast<int>(compared.size()), &refusal);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
    return 2;
  }
  ChartCurves chart = BuildChartCurves(data, compared, selection, true);
  if (o.difference && compared.size() == 1) {
    chart = DifferenceCurves(chart);
  }
  if (chart.curves.size() == 1 && !o.difference) {
    *csv = ExportCsv(data, o.option, o.quantities.front());
    return 0;
  }
  std::vector<CurveColumn> columns;
  for (const ChartCurve& c : chart.curves) {
    columns.push_back({c.column, &c.points});
  }
  *csv = CurvesText(chart.xLabel, columns, QLatin1Char(','), chart.exact);
  return 0;
}
}  // namespace

int RunExportCsvCommand(const ExportOptions& o, CRunCache* runs) {
  const OptionId id = DecodeOption(o.option);
  for (const int q : o.quantities) {
    if (!IsOptionId(o.option) || q < 0 || q >= PropertyCount(id.kind)) {
      std::fprintf(stderr, "corvane: option %d has no quantity %d.\n", o.option, q);
      return 2;
    }
  }
  if (o.difference && !IsChartKind(id.kind) && !o.profileAt) {
    std::fprintf(stderr, "corvane: --difference goes with a chart or a thickness profile; option %d is a line plot.\n",
                 o.option);
    return 2;
  }
  if (!IsChartKind(id.kind) && (o.quantities.size() > 1 || o.allParts)) {
    std::fprintf(stderr, "corvane: option %d is a line plot of one quantity of one part.\n", o.option);
    return 2;
  }
  for (const QString& dir : QStringList{o.dataDir} + o.compareDirs) {
    if (IsScreenshotInput(o.file, dir, ModuleDir())) {
      std::fprintf(stderr, "corvane: \"%s\" is one of the run's files; it is not overwritten.\n", qPrintable(o.file));
      return 2;
    }
  }
  CRunCache own;
  CRunCache& cache = runs ? *runs : own;
  CSimulationData* run = cache.Get(o.dataDir);
  if (!run) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.dataDir));
    return 1;
  }
  CSimulationData& data = *run;
  for (const int q : o.quantities) {
    if (const int unchosen = CheckChosenOption(data, o.option, q)) {
      return unchosen;
    }
  }
  std::vector<const CSimulationData*> compared;
  if (const int failed = LoadComparedRuns(o.compareDirs, o.option, cache, &compared)) {
    return failed;
  }
  const int quantity = o.quantities.front();
  QString csv;
  if (o.profileAt) {
    const std::optional<int> step = ProfileStepFor(data, o.option, *o.profileAt);
    if (!step) {
      return 2;
    }
    const FabricProfile profile =
        FabricProfileAt(data.Run(), id.part, *step, quantity, ExactFabricOf(data.Exact(), data.Run(), id.part));
    const QString column = ColumnName(OptionKind::Fabric, quantity);
    if (compared.empty()) {
      csv = ProfileCsv(profile, column);
    } else {
      // Each other run at its own step nearest the first's time.
      const std::vector<QString> names = RunLabels(data, compared);
      std::vector<RunProfile> profiles{{profile, names.front()}};
      for (std::size_t i = 0; i < compared.size(); ++i) {
        const std::optional<int> other = NearestFabricStep(compared[i]->Run(), id.part, profile.time);
        profiles.push_back({other ? FabricProfileAt(compared[i]->Run(), id.part, *other, quantity,
                                                    ExactFabricOf(compared[i]->Exact(), compared[i]->Run(), id.part))
                                  : FabricProfile{},
                            names[i + 1]});
      }
      csv = o.difference ? ProfileCsv(DifferenceProfile(profile, profiles[1].profile),
                                      DifferenceName(column, names.front(), names[1]))
                         : ComparedProfileCsv(profiles, column);
    }
  } else if (IsChartKind(id.kind)) {
    if (const int refused = ChartText(data, compared, o, &csv)) {
      return refused;
    }
  } else if (!compared.empty()) {
    csv = ComparedCsv(data, compared, o.option, quantity);
  } else {
    csv = ExportCsv(data, o.option, quantity);
  }
  // A header alone is no export: the quantity holds no values in this run,
  // or the two runs none at the same times or positions.
  if (csv.count(QLatin1Char('\n')) < 2 && o.difference) {
    std::fprintf(stderr,
                 "corvane: the two runs hold no values of quantity %d (%s) at the same times or positions; nothing is "
                 "written.\n",
                 quantity, qPrintable(PropertyName(id.kind, quantity)));
    return 2;
  }
  if (csv.count(QLatin1Char('\n')) < 2) {
    std::fprintf(stderr, "corvane: option %d has no values of quantity %d (%s) in this run; nothing is written.\n",
                 o.option, quantity, qPrintable(PropertyName(id.kind, quantity)));
    return 2;
  }
  QString error;
  if (!WriteWholeFile(o.file, csv.toUtf8(), &error)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
