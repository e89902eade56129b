#pragma once
// Where everything of a chart's figure stands on its page, in points: the
// title, the legend, the plot, the axes' nice ticks and their labels, the
// captions and the comfort scale's words. Every text gets a box inside the
// page that no other text's box overlaps; a text too long for its room is
// wrapped onto more lines, never cut.

#include <QLineF>
#include <QRectF>
#include <QString>
#include <vector>

#include "FigureStyle.h"
#include "FigureText.h"

// What the layout needs to know of the chart.
struct ChartFigureText {
  QString title;
  QString xCaption, yCaption, y2Caption;
  std::vector<QString> legend;  // a text a curve; none for a chart of one
  // The axes' data ranges; `rightAxis` whether there is a second y axis.
  double xLo = 0, xHi = 1, yLo = 0, yHi = 1, y2Lo = 0, y2Hi = 1;
  bool rightAxis = false;
  // The y range is the exact one asked (the comfort scale's 0 to 100, a
  // profile's fixed range), not widened to the enclosing ticks.
  bool exactY = false;
  // The comfort scale's words and where they stand (a fraction of the y
  // range from its top).
  struct BandLabel {
    QString text;
    double fromTop = 0;
  };
  std::vector<BandLabel> bandLabels;
  // Marked spans of the x axis (a profile's layers): each name over its
  // span, inside the plot's top.
  struct Section {
    double from = 0, to = 0;
    QString name;
  };
  std::vector<Section> sections;
};

struct FigureAxis {
  double lo = 0, hi = 1;        // the values at the axis' ends
  std::vector<double> ticks;    // values of the ticks
  std::vector<QString> labels;  // their labels
};

struct ChartFigureLayout {
  QRectF page;
  QRectF plot;  // the axes' box
  FigureAxis x, y, y2;
  std::vector<FigureTextBox> texts;  // every text, the title's first
  // Each legend entry's sample line (its left and right end at its middle
  // height), in the legend's order.
  std::vector<QLineF> legendSamples;
  // Where a value stands.
  double Column(double t) const { return plot.left() + (t - x.lo) / (x.hi - x.lo) * plot.width(); }
  double Row(const FigureAxis& a, double v) const { return plot.bottom() - (v - a.lo) / (a.hi - a.lo) * plot.height(); }
};

ChartFigureLayout LayoutChartFigure(const ChartFigureText& text, QSizeF pagePt, const FigureStyle& style);
