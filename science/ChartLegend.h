#pragma once
// The legend of a chart of several curves: what each entry reads, and where
// the entries stand, in rows under the title that the plot makes room for.

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

// The entry of a curve: its part and quantity ("Head: Temperature of
// Skin(Degree)"), and the run's folder after them when two runs are open
// ("Head: Temperature of Skin(Degree), run-b").
QString LegendText(const QString& part, const QString& quantity, const QString& run = {});

// An entry of a figure's legend: its text, and its sample line's colour
// and style.
struct FigureLegendEntry {
  QString text;
  QColor colour;
  int style = 0;  // the line style (SetLineStyle)
  friend bool operator==(const FigureLegendEntry&, const FigureLegendEntry&) = default;
};
// A figure's legend, from the chart's entries "PART: QUANTITY[, RUN]" (one
// a curve, in the curve's colour and style): the pieces that tell the
// curves apart, the title naming the rest ("Head" ... "Foot" for one
// quantity of every part). Where two runs' curves differ by more than the
// run, the legend keys colour and style apart: an entry a colour (in the
// first run's style), then an entry a run in black in its style. Entries
// of other shapes stay as they are.
std::vector<FigureLegendEntry> FigureLegend(const std::vector<FigureLegendEntry>& curves);

// The title of a chart of the quantities `names` (repeats allowed): each
// name once, in order, joined by ", ".
QString ChartTitle(const std::vector<QString>& names);

// An entry is a short line in the curve's colour and style, then its text.
constexpr int kLegendSample = 24, kLegendGap = 6, kLegendSpacing = 18;

struct LegendLayout {
  std::vector<QRect> entries;  // the sample and the text, each entry's whole box
  int height = 0;              // of all the rows
};
// Entries whose texts are `textWidths` wide, left to right in rows of
// `lineHeight` from (`left`, `top`), each row ending by `right`; an entry
// wider than a row has a row of its own (its text cut at the end).
LegendLayout LayoutLegend(const std::vector<int>& textWidths, int left, int right, int top, int lineHeight);
