#pragma once
// Figures for papers: the chart or the line plot, with a title line naming
// the run, the part, the kind (or layer) and the quantity with its unit,
// written as PNG, SVG or PDF by the file's extension. SVG and PDF are
// vector (the line plot's GL drawing stays a picture within them); nothing
// a pointer shows (hover, cursor) is ever in a figure.

#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

#include "FigureStyle.h"

class QPainter;

enum class FigureFormat { Png, Svg, Pdf };

// The format a file's extension names (.png, .svg, .pdf in any case), or none.
std::optional<FigureFormat> FigureFormatOf(const QString& path);

// A figure's size: pixels at a resolution. `--size WxH` is pixels at 96 dpi;
// `--width-mm W --dpi N` is W millimetres at N dots an inch, the height
// `aspect` of the width (the chart's own proportion by default).
struct FigureSize {
  QSize pixels{800, 500};
  int dpi = 96;
  // Sized for a journal (in millimetres): its text at a column's sizes;
  // else at the screen's.
  bool journal = false;
  // The printed page in points.
  QSizeF PagePt() const { return {pixels.width() * 72.0 / dpi, pixels.height() * 72.0 / dpi}; }
  FigureStyle Style() const { return journal ? JournalFigureStyle() : ScreenFigureStyle(); }
};
inline constexpr double kFigureAspect = 0.625;
// W mm at N dpi: round(W / 25.4 × N) pixels wide; none outside 10 ... 1000 mm,
// 50 ... 2400 dpi or beyond 20000 pixels a side.
std::optional<FigureSize> FigureSizeFromMillimetres(double widthMm, int dpi, double aspect = kFigureAspect);

// "RUN · Trunk · 1st Layer Fabric · Temperature(°C)": the run's folder name,
// the part, the option's text and the quantity's column name.
QString FigureTitle(const QString& runFolder, const QString& part, const QString& option, const QString& quantity);

// Paints the figure's page: `painter` in the device's pixels, `raster`
// whether they are pixels of a picture (PNG) rather than a vector page.
// False when the figure cannot be drawn.
using FigurePaint = std::function<bool(QPainter& painter, const FigureSize& size, bool raster)>;

// Writes the figure whole or not at all: nothing is left at `path` when it
// cannot be drawn or written. `title` is the file's own title (SVG, PDF). False, with `error` set, then.
bool WriteFigure(const QString& path, const FigureSize& size, const QString& title, const FigurePaint& paint,
                 QString* error);

// The title line of a figure whose body is a picture (the line plot): the
// title wrapped to the page in the figure's style, centred at its top.
// Returns its height in the device's pixels.
int PaintFigureTitle(QPainter& painter, const FigureSize& size, const QString& title);
