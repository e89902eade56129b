#pragma once
// Figures for papers: the chart or the line plot, with a title line naming
// the run, the part, the kind (or layer) and the quantity with its unit,
// written as PNG, SVG or PDF by the file's extension. SVG and PDF are
// vector (the line plot's GL drawing stays a picture within them); nothing
// a pointer shows (hover, cursor) is ever in a figure.

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

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
};
inline constexpr double kFigureAspect = 0.625;
// W mm at N dpi: round(W / 25.4 × N) pixels wide; none outside 10 ... 1000 mm,
// 50 ... 2400 dpi or beyond 20000 pixels a side.
std::optional<FigureSize> FigureSizeFromMillimetres(double widthMm, int dpi, double aspect = kFigureAspect);

// "RUN · Trunk · 1st Layer Fabric · Temperature(°C)": the run's folder name,
// the part, the option's text and the quantity's column name.
QString FigureTitle(const QString& runFolder, const QString& part, const QString& option, const QString& quantity);

// The height of the title line for a figure `pixels` high at `dpi`.
int FigureTitleHeight(const FigureSize& size);

// Writes the figure whole or not at all: the title line at the top, then
// `body` painting the rest (its painter's origin at the body's top left, its
// size given). False, with `error` set, when the file cannot be written.
bool WriteFigure(const QString& path, const FigureSize& size, const QString& title,
                 const std::function<void(QPainter&, QSize)>& body, QString* error);
