#pragma once
// Paints the chart from what it holds: a white page with the title, the axes
// with their ticks, grid and labels, the captions, the comfort bands, the
// legend, the marked sections, the curves and, for the screen alone, the
// time cursor, the hover rings and box and the zoom box. It lays out the
// axes as it paints and keeps nothing.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <limits>
#include <optional>
#include <vector>

#include "ChartAxes.h"
#include "ChartSeries.h"

// A marked span of the x axis (a layer of a thickness profile): its name
// stands above it, and a dashed line at each boundary between neighbours.
struct ChartSection {
  float from = 0, to = 0;
  QString name;
};

// What a paint draws: the chart's state, read only.
struct ChartPaintInput {
  const CChartSeriesModel* curves = nullptr;
  QString title, xLabel, yLabel, y2Label;
  BandMode bands = BandMode::None;
  const std::vector<ChartSection>* sections = nullptr;
  const std::vector<float>* boundaries = nullptr;
  TimeRange whole, shown;  // the run's times, and the ones shown
  bool zoomed = false;
  bool valueBoxed = false;  // the y ranges are a box's: lines stay inside the axes
  AxisSpan left{0, 1}, right{0, 1};
  // The overlays: the clock's time (NaN: none), the hovered point of the
  // first curve (-1: none) and what its box says, and a zoom box.
  float cursorTime = std::numeric_limits<float>::quiet_NaN();
  int hover = -1;
  QString hoverText;
  std::optional<QRect> box;
};

// The colour of curve `index`: its palette place or its place among the
// curves; the first curve is black over comfort bands.
QColor SeriesColour(const CChartSeriesModel& curves, std::size_t index, BandMode bands);

// Paints `in` into `painter` as a page of `size` shows it; returns the axes
// it laid out. `everySegment`: every segment drawn however many points fall
// on a pixel column (the plain way, for comparisons). `overlays`: the
// screen's overlays too.
ChartAxes PaintChart(QPainter& painter, QSize size, const ChartPaintInput& in, bool everySegment = false,
                     bool overlays = false);
