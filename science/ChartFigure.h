#pragma once
// A chart as a figure for a paper: laid out in points at the figure's
// printed size (ChartFigureLayout), with nice ticks, each curve one path at
// its values' own coordinates, and nothing the pointer shows.

#include <QColor>
#include <QSizeF>
#include <vector>

#include "ChartFigureLayout.h"
#include "ChartLegend.h"
#include "ChartLogic.h"
#include "FigureStyle.h"

class QPainter;

struct FigureCurve {
  const std::vector<CChartDataSet>* points = nullptr;
  QColor colour;
  int style = 0;  // the line style (SetLineStyle)
  int axis = 0;   // 0 the left y axis, 1 the right one
};

// What a chart puts in its figure: its texts and ranges, its curves, the
// comfort scale behind them and a profile's layer boundaries.
struct ChartFigureContent {
  ChartFigureText text;  // its legend the texts of `legend`
  std::vector<FigureLegendEntry> legend;
  std::vector<FigureCurve> curves;
  BandMode bands = BandMode::None;
  std::vector<double> boundaries;
};

// Paints `content` on a page of `pagePt` points, the painter's units being
// points. `pixelsPerPt` is a raster device's resolution, at which a curve's
// many points within one pixel column come down to those that show (the
// first, the lowest, the highest and the last); 0 for vector output, which
// keeps every point.
void PaintChartFigure(QPainter& painter, QSizeF pagePt, const FigureStyle& style, const ChartFigureContent& content,
                      double pixelsPerPt);
