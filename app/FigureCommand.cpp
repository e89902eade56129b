#include "FigureCommand.h"

#include <QDir>
#include <QPainter>
#include <cstdio>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "PlotFigure.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"

QString FigureTitleFor(const CSimulationData& data, const QString& dataDir, int option, int quantity) {
  const OptionId o = DecodeOption(option);
  QString optionText;
  for (const PanelOption& p : PanelOptions(data, o.part)) {
    if (p.id == option) {
      optionText = p.text;
    }
  }
  const QString part = o.part >= 0 && o.part < kBodyPartCount ? QLatin1String(kBodyPartNames[o.part]) : QString();
  return FigureTitle(QDir(dataDir).dirName(), part, optionText, ColumnName(o.kind, quantity));
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
  if (const int unchosen = CheckChosenOption(data, o.option, o.quantity)) {
    return unchosen;
  }
  CScientificDlg view(&data, moduleDir);
  view.resize(1001, 661);
  SelectScienceOption(view, o.option, o.quantity);
  view.Settle();
  QString error;
  if (!WriteViewFigure(view, o.file, o.size, FigureTitleFor(data, o.dataDir, o.option, o.quantity), &error)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
