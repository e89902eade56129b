#pragma once
// Text in a figure, measured and drawn in points. Fonts are asked for in
// tenths of a point as whole pixel sizes, so that sizes such as 7.5 points
// exist and hinting at a screen's pixel grid never bends the measure.

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

// Bold "Arial" of `pt` points, in the painter units FigureTextScale gives.
QFont FigureFont(double pt);
// Points per unit of FigureFont's pixel size.
inline constexpr double kFigureFontUnit = 0.1;

double FigureTextWidth(const QString& text, double pt);
double FigureLineHeight(double pt);

// `text` broken into lines no wider than `width` points: at spaces where it
// can, anywhere in a word longer than the line.
QStringList WrapFigureText(const QString& text, double pt, double width);

// One text of a figure: the box it fills (points on the page), its lines,
// how they align, and whether it reads upwards (turned -90°) or downwards
// (turned 90°) within that box.
struct FigureTextBox {
  QRectF rect;
  QStringList lines;
  double pt = 7;
  Qt::Alignment align = Qt::AlignCenter;
  int turn = 0;  // 0, -90 or 90
};

// A box of `lines` at size pt: as wide as its widest line, a line's height a line.
QSizeF FigureTextSize(const QStringList& lines, double pt);

// Paints `box` with `painter` in page points.
void DrawFigureText(QPainter& painter, const FigureTextBox& box);
