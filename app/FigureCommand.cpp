#include "FigureCommand.h"

#include <QDir>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLegend.h"
#include "FigureWriter.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "PlotFigure.h"
#include "RunCache.h"
#include "RunComparison.h"
#include "RunDifference.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"

namespace {
// Every run's name as the legends give it, the first run's first.
std::vector<QString> ComparedRunNames(const QString& dataDir, const QStringList& compareDirs) {
  std::vector<QString> dirs{dataDir};
  dirs.insert(dirs.end(), compareDirs.begin(), compareDirs.end());
  return RunLabels(dirs);
}
}  // namespace

QString FigureTitleFor(const CSimulationData& data, const QString& dataDir, int option,
                       const std::vector<int>& quantities, bool allParts, const QStringList& compareDirs,
                       bool namingRuns, bool difference) {
  const OptionId o = DecodeOption(option);
  QString optionText;
  for (const PanelOption& p : PanelOptions(data, o.part)) {
    if (p.id == option) {
      optionText = p.text;
    }
  }
  const QString part = allParts                                 ? QStringLiteral("All parts")
                       : o.part >= 0 && o.part < kBodyPartCount ? QLatin1String(kBodyPartNames[o.part])
                                                                : QString();
  std::vector<QString> names;
  names.reserve(quantities.size());
  for (const int q : quantities) {
    names.push_back(ColumnName(o.kind, q));
  }
  QString runs = QDir(dataDir).dirName();
  if (!compareDirs.isEmpty()) {
    const std::vector<QString> runNames = ComparedRunNames(dataDir, compareDirs);
    const std::vector<QString> others(runNames.begin() + 1, runNames.end());
    // The line plot draws the first run alone; a difference names its runs
    // in the order of the subtraction.
    runs = !IsChartKind(o.kind) ? QStringLiteral("%1 alone (not %2)").arg(runNames.front(), RunList(others))
           : difference         ? DifferenceRuns(runNames.front(), runNames[1])
                                : QStringLiteral("%1 compared with %2").arg(runNames.front(), RunList(others));
    if (!namingRuns && !difference) {
      runs.clear();
    }
  }
  return FigureTitle(runs, part, optionText, ChartTitle(names));
}

QString ProfileFigureTitle(const CSimulationData& data, const QString& dataDir, int option, int quantity, int step,
                           const QStringList& compareDirs, bool difference) {
  // Through every layer of the part, at the step's time.
  const double minute = static_cast<double>(data.Run().m_fFabricInterval) * step;
  QString runs = QDir(dataDir).dirName();
  if (!compareDirs.isEmpty()) {
    const std::vector<QString> names = ComparedRunNames(dataDir, compareDirs);
    const std::vector<QString> others(names.begin() + 1, names.end());
    runs = difference ? DifferenceRuns(names.front(), names[1])
                      : QStringLiteral("%1 compared with %2").arg(names.front(), RunList(others));
  }
  return FigureTitle(runs, QLatin1String(kBodyPartNames[DecodeOption(option).part]),
                     QStringLiteral("Profile at %1 min").arg(minute), ColumnName(OptionKind::Fabric, quantity));
}

bool WriteViewFigure(CScientificDlg& view, const QString& path, const FigureSize& size, const QString& title,
                     QString* error, const QString& drawnTitle, CFigureWriter* writer) {
  const QString page = drawnTitle.isEmpty() ? title : drawnTitle;
  CMyChart* chart = view.ShownChart();
  if (chart && writer) {
    writer->Submit(path, size, title, chart->FigureContent(page));
    return true;
  }
  bool plotDrawn = true;
  const bool written = WriteFigure(
      path, size, title,
      [&](QPainter& p, const FigureSize& s, bool raster) {
        if (chart) {
          PaintChartPage(p, s, raster, chart->FigureContent(page));
          return true;
        }
        const int titleHeight = PaintFigureTitle(p, s, page);
        p.translate(0, titleHeight);
        plotDrawn = PaintPlotFigure(p, QSize(s.pixels.width(), std::max(1, s.pixels.height() - titleHeight)),
                                    *view.PlotView(), s.dpi / 72.0, s.Style().tickPt);
        return plotDrawn;
      },
      error);
  if (!written && !plotDrawn) {
    *error = QStringLiteral("the line plot could not be drawn (no OpenGL 2.1 context)");
  }
  return written;
}

int RunFigureCommand(const FigureOptions& o, CRunCache* runs, CFigureWriter* writer) {
  const QString moduleDir = ModuleDir();
  if (!FigureFormatOf(o.file)) {
    std::fprintf(stderr, "corvane: a figure is a .png, .svg or .pdf file, not \"%s\".\n", qPrintable(o.file));
    return 2;
  }
  if (IsScreenshotInput(o.file, o.dataDir, moduleDir)) {
    std::fprintf(stderr, "corvane: \"%s\" is one of the files the figure reads; it is not overwritten.\n",
                 qPrintable(o.file));
    return 2;
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
  std::optional<int> profileStep;
  if (o.profileAt) {
    profileStep = ProfileStepFor(data, o.option, *o.profileAt);
    if (!profileStep) {
      return 2;
    }
  }
  if (!IsChartKind(DecodeOption(o.option).kind) && (o.quantities.size() > 1 || o.allParts)) {
    std::fprintf(stderr, "corvane: option %d is a line plot of one quantity of one part.\n", o.option);
    return 2;
  }
  for (const QString& dir : o.compareDirs) {
    if (IsScreenshotInput(o.file, dir, moduleDir)) {
      std::fprintf(stderr, "corvane: \"%s\" is one of the files the figure reads; it is not overwritten.\n",
                   qPrintable(o.file));
      return 2;
    }
  }
  std::vector<const CSimulationData*> compared;
  if (const int failed = LoadComparedRuns(o.compareDirs, o.option, cache, &compared)) {
    return failed;
  }
  CScientificDlg view(&data, moduleDir);
  view.SetComparison(compared);
  if (o.difference && !IsChartKind(DecodeOption(o.option).kind) && !o.profileAt) {
    std::fprintf(stderr, "corvane: --difference goes with a chart or a thickness profile; option %d is a line plot.\n",
                 o.option);
    return 2;
  }
  view.resize(1001, 661);
  SelectScienceOption(view, o.option, o.quantity);
  // The others join as a Ctrl+click adds them, and the chart refuses what
  // it has no room for in the same words.
  for (std::size_t i = 1; i < o.quantities.size(); ++i) {
    if (std::find(o.quantities.begin(), o.quantities.begin() + static_cast<std::ptrdiff_t>(i), o.quantities[i]) !=
        o.quantities.begin() + static_cast<std::ptrdiff_t>(i)) {
      continue;  // named twice: shown once
    }
    view.OnPropertyAdd(o.quantities[i]);
    if (const QString refusal = view.PropertyPanel()->Status(); !refusal.isEmpty()) {
      std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
      return 2;
    }
  }
  if (o.allParts) {
    view.OnAllParts(true);
    if (const QString refusal = view.PropertyPanel()->Status(); !refusal.isEmpty()) {
      std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
      return 2;
    }
  }
  if (profileStep) {
    view.ShowProfileAt(*profileStep);
  }
  if (o.difference) {
    view.OnDifference(true);
  }
  view.Settle();
  QString error;
  QString title =
      FigureTitleFor(data, o.dataDir, o.option, o.quantities, o.allParts, o.compareDirs, true, o.difference);
  if (profileStep) {
    title = ProfileFigureTitle(data, o.dataDir, o.option, o.quantity, *profileStep, o.compareDirs, o.difference);
  }
  // The legend names the compared runs; the drawn title need not.
  const QString drawn =
      profileStep || o.compareDirs.isEmpty() || !IsChartKind(DecodeOption(o.option).kind)
          ? title
          : FigureTitleFor(data, o.dataDir, o.option, o.quantities, o.allParts, o.compareDirs, false, o.difference);
  if (!WriteViewFigure(view, o.file, o.size, title, &error, drawn, writer)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
