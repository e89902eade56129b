#pragma once
// The chart's arithmetic, apart from any window: tick labels, font sizing,
// the y range, the layout of axes and plot area, the comfort bands and their
// gradient strips, and where each point lands. CMyChart paints what these
// functions compute.

#include <QColor>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "OptionKind.h"
#include "TimeZoom.h"

// One point of a chart's curve: the time and the value. Doubles, so that a
// curve of the files' own values (written out, never drawn) keeps them; a
// drawn curve holds the store's floats.
struct CChartDataSet {
  double m_fX = 0, m_fY = 0;
};

// The text of a y tick label: "0" near zero, "%.2e" for the very small and
// the very large, else "%g" kept to three significant characters once the
// point is reached, rounded (37.56 reads 37.6, 250.75 reads "251.").
QString FormatAxisValue(float v);
// The y tick labels of a whole axis: each as FormatAxisValue gives it, unless
// two neighbours would read the same (grid lines 0.09 apart both reading
// 37.5): then every label gets one more decimal, up to three more, so that
// each grid line reads its own value.
std::vector<QString> FormatAxisValues(const std::vector<float>& values);
// The text of an x tick label: "%g".
QString FormatTickLabel(float v);

// The x tick labels of an axis whose first tick reads `from` and each
// further one `step` more: "%g" of step × i + from, in floats as the axis
// has always counted.
std::vector<QString> TimeTickLabels(float from, float step, int ticks);

// The x tick labels of a zoomed axis from `from`, `step` apart: each value
// rounded to the decimals that its step needs (one more than the step's
// first significant digit asks for), without trailing zeros, so that
// neighbours read apart and a label is no longer than its room.
std::vector<QString> ZoomedTickLabels(double from, double step, int ticks);

// A font height that fits `length` characters into `limit` pixels, from
// `start` down in steps of 2 (each character taken as half the height wide).
int FitFontHeight(int start, int length, int limit);

// A y range narrower than 0.0001 is widened around its upper end: 37 gives
// 36.5 to 37.5, 0 gives -0.05 to 0.05, 2500 gives 2450 to 2550.
void WidenFlatRange(float& lo, float& hi);

struct ChartLayout {
  int areaWidth = 0, areaHeight = 0;
  int originX = 0, originY = 0;  // where the axes meet
  int axisWidth = 0, axisHeight = 0;
};
// The layout of a chart of w x h pixels; `captionHeight` and `captionWidth`
// are the caption font's text height and average character width, and
// `yCaption` whether a y caption has its strip.
ChartLayout LayoutChart(int w, int h, bool bands, int captionHeight, int captionWidth, bool yCaption);
// The same with room made for a legend of `legendHeight` pixels above the
// plot (the y axis starts that much lower) and, with `rightAxis`, for a
// second y axis at the x axis' end: its labels and its caption's strip,
// as wide as the left axis' own.
ChartLayout LayoutChart(int w, int h, bool bands, int captionHeight, int captionWidth, bool yCaption, int legendHeight,
                        bool rightAxis);

// Pixel rows of the y ticks 0 ... ticks (the top one 10 pixels below the
// axis' end) and pixel columns of the x ticks 0 ... ticks.
std::vector<int> YTickRows(const ChartLayout& l, int ticks);
std::vector<int> XTickColumns(const ChartLayout& l, int ticks);

// The comfort scales behind a comfort rating's chart: each band's lower
// edge as a fraction of the scale from its top (< 0: the last band, to the
// bottom) and its colours at top and bottom; each word and the fraction
// from the top where it stands.
struct ComfortBandEdge {
  double lower;
  QRgb top, bottom;
};
const std::vector<ComfortBandEdge>& ComfortBandScale(BandMode mode);
struct ComfortLabelPlace {
  const char* text;
  double at;
};
const std::vector<ComfortLabelPlace>& ComfortLabelPlaces(BandMode mode);

// The same laid out on a chart.
struct ComfortBand {
  QRect rect;
  QColor top, bottom;
};
struct ComfortLabel {
  QString text;
  QPoint at;
};
std::vector<ComfortBand> ComfortBands(const ChartLayout& l, BandMode mode, int xTicks);
std::vector<ComfortLabel> ComfortLabels(const ChartLayout& l, BandMode mode, int xTicks);

// A vertical gradient as strips of `strip` pixels, each in one colour.
struct GradientStrip {
  QRect rect;
  QColor colour;
};
std::vector<GradientStrip> GradientStrips(const QRect& rect, const QColor& top, const QColor& bottom, int strip = 2);

// Where the x axis puts a time: the shown range's first time at the y axis
// (column `origin`), its last at the last x tick, `pixels` columns to the
// right. Every curve, however it was sampled and wherever it starts, stands
// on this one scale: the scale its tick labels read.
struct TimeScale {
  TimeRange shown;
  int origin = 0, pixels = 0;
  double ColumnF(double t) const;
  // The nearest pixel column: a time on a tick stands on that tick.
  int Column(double t) const;
  double TimeAt(double column) const;
};

// The pixel row of value v on an axis from `lo` (at the x axis) to `hi` (at
// the top tick), by the rule that places the y ticks: a value on a tick is
// drawn on that tick's row.
int ValueRow(const ChartLayout& l, double v, double lo, double hi);
