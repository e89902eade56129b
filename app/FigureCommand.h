#pragma once
// `corvane --figure FILE --option ID [--quantity Q] [--size WxH | --width-mm W
// --dpi N] DATA_DIR`: the chart or line plot of an option, with its title
// line, as a PNG, SVG or PDF figure.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "Figure.h"

class CFigureWriter;
class CRunCache;
class CScientificDlg;
class CSimulationData;

struct FigureOptions {
  QString file;
  QString dataDir;
  int option = 0;
  int quantity = 0;                // the first of `quantities`
  std::vector<int> quantities{0};  // sharing the chart, in the order given
  bool allParts = false;           // each quantity for the six parts
  FigureSize size;
  QStringList compareDirs;          // runs beside the first (up to seven), or none
  bool difference = false;          // with one compared run: the first run's values less the second's
  std::optional<double> profileAt;  // a fabric option's thickness profile at this minute
};

// The title line of what a view shows for `option` and `quantities` of the
// run in `dataDir` (for every part with `allParts`; beside it, when given,
// the runs in `compareDirs`). Without `namingRuns` it leaves the runs out,
// for a drawn title over a legend that names them.
QString FigureTitleFor(const CSimulationData& data, const QString& dataDir, int option,
                       const std::vector<int>& quantities, bool allParts, const QStringList& compareDirs = {},
                       bool namingRuns = true, bool difference = false);
// The title line of the thickness profile of `option` and `quantity` at
// fabric step `step`: "RUN · Part · Profile at N min · QUANTITY".
// With `compareDirs`, every run (two runs' difference with `difference`).
QString ProfileFigureTitle(const CSimulationData& data, const QString& dataDir, int option, int quantity, int step,
                           const QStringList& compareDirs = {}, bool difference = false);
// Writes what `view` shows (its chart, or its line plot) as a figure, the
// file titled `title` and the page `drawnTitle` (the title, when empty).
// With `writer`, a chart is queued there rather than written now (true).
bool WriteViewFigure(CScientificDlg& view, const QString& path, const FigureSize& size, const QString& title,
                     QString* error, const QString& drawnTitle = QString(), CFigureWriter* writer = nullptr);

// 0 written; 2 for what no user could ask (a file not .png/.svg/.pdf, an
// option the run does not list, one of the run's files); 1 when the run or
// the file fails.
// `runs`: where the runs come from (a batch's); without it, its own.
// `writer`: where a chart figure is queued to be written (a batch's, which
// says its outcome); without it, the figure is written before the return.
int RunFigureCommand(const FigureOptions& options, CRunCache* runs = nullptr, CFigureWriter* writer = nullptr);
