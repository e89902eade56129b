#include "FigureCommand.h"

#include <QDir>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLegend.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "PlotFigure.h"
#include "RunComparison.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"

QString FigureTitleFor(const CSimulationData& data, const QString& dataDir, int option,
                       const std::vector<int>& quantities, bool allParts, const QString& compareDir) {
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
  if (!compareDir.isEmpty()) {
    const auto [first, second] = RunLabels(dataDir, compareDir);
    runs = QStringLiteral("%1 compared with %2").arg(first, second);
  }
  return FigureTitle(runs, part, optionText, ChartTitle(names));
}

QString ProfileFigureTitle(const CSimulationData& data, const QString& dataDir, int option, int quantity, int step) {
  // Through every layer of the part, at the step's time.
  const double minute = static_cast<double>(data.Run().m_fFabricInterval) * step;
  return FigureTitle(QDir(dataDir).dirName(), QLatin1String(kBodyPartNames[DecodeOption(option).part]),
                     QStringLiteral("Profile at %1 min").arg(minute), ColumnName(OptionKind::Fabric, quantity));
}

bool WriteViewFigure(CScientificDlg& view, const QString& path, const FigureSize& size, const QString& title,
                     QString* error) {
  CMyChart* chart = view.ShownChart();
  bool drawn = true;
  const bool written = WriteFigure(
      path, size, title,
      [&](QPainter& p, QSize body) {
        if (chart) {
          chart->Paint(p, body, /*everySegment=*/false, /*overlays=*/false);
        } else {
          drawn = PaintPlotFigure(p, body, *view.PlotView());
        }
      },
      error);
  if (written && !drawn) {
    *error = QStringLiteral("the line plot could not be drawn (no OpenGL 2.1 context)");
    return false;
  }
  return written;
}

int RunFigureCommand(const FigureOptions& o) {
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
  CSimulationData data;
  data.SetMessageSink(&CStderrMessageSink::Instance());
  if (!data.Load(o.dataDir)) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.dataDir));
    return 1;
  }
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
  CSimulationData compared;
  if (!o.compareDir.isEmpty()) {
    if (IsScreenshotInput(o.file, o.compareDir, moduleDir)) {
      std::fprintf(stderr, "corvane: \"%s\" is one of the files the figure reads; it is not overwritten.\n",
                   qPrintable(o.file));
      return 2;
    }
    compared.SetMessageSink(&CStderrMessageSink::Instance());
    if (!compared.Load(o.compareDir)) {
      std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.compareDir));
      return 1;
    }
  }
  CScientificDlg view(&data, moduleDir);
  if (!o.compareDir.isEmpty()) {
    view.SetComparison(&compared);
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
    if (const QString refusal = view.m_pPropertyPanel->Status(); !refusal.isEmpty()) {
      std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
      return 2;
    }
  }
  if (o.allParts) {
    view.OnAllParts(true);
    if (const QString refusal = view.m_pPropertyPanel->Status(); !refusal.isEmpty()) {
      std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
      return 2;
    }
  }
  if (profileStep) {
    view.ShowProfileAt(*profileStep);
  }
  view.Settle();
  QString error;
  QString title = FigureTitleFor(data, o.dataDir, o.option, o.quantities, o.allParts, o.compareDir);
  if (profileStep) {
    title = ProfileFigureTitle(data, o.dataDir, o.option, o.quantity, *profileStep);
  }
  if (!WriteViewFigure(view, o.file, o.size, title, &error)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
