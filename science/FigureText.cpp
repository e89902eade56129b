#include "FigureText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

QFont FigureFont(double pt) {
  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pt / kFigureFontUnit))));
  // The outlines' own measure, the same on every device the figure goes to.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

double FigureTextWidth(const QString& text, double pt) {
  return QFontMetricsF(FigureFont(pt)).horizontalAdvance(text) * kFigureFontUnit;
}

double FigureLineHeight(double pt) { return QFontMetricsF(FigureFont(pt)).height() * kFigureFontUnit; }

QStringList WrapFigureText(const QString& text, double pt, double width) {
  QStringList lines;
  QString line;
  auto fits = [&](const QString& s) { return FigureTextWidth(s, pt) <= width; };
  const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (QString word : words) {
    const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (fits(joined)) {
      line = joined;
      continue;
    }
    if (!line.isEmpty()) {
      lines << line;
      line.clear();
    }
    // A word longer than the line: as much of it as fits, line by line.
    while (!fits(word) && word.size() > 1) {
      qsizetype n = word.size() - 1;
      while (n > 1 && !fits(word.left(n))) {
        --n;
      }
      lines << word.left(n);
      word = word.mid(n);
    }
    line = word;
  }
  if (!line.isEmpty() || lines.isEmpty()) {
    lines << line;
  }
  return lines;
}

QSizeF FigureTextSize(const QStringList& lines, double pt) {
  double width = 0;
  for (const QString& l : lines) {
    width = std::max(width, FigureTextWidth(l, pt));
  }
  return {width, FigureLineHeight(pt) * static_cast<double>(lines.size())};
}

void DrawFigureText(QPainter& p, const FigureTextBox& box) {
  p.save();
  p.translate(box.rect.center());
  if (box.turn != 0) {
    p.rotate(box.turn);
  }
  // The box as the text sees it: turned, its width and height swap.
  const QSizeF size = box.turn != 0 ? QSizeF(box.rect.height(), box.rect.width()) : box.rect.size();
  p.scale(kFigureFontUnit, kFigureFontUnit);
  p.setFont(FigureFont(box.pt));
  const double line = FigureLineHeight(box.pt) / kFigureFontUnit;
  const double w = size.width() / kFigureFontUnit, h = size.height() / kFigureFontUnit;
  double y = -h / 2;
  if (box.align & Qt::AlignVCenter) {
    y = -line * static_cast<double>(box.lines.size()) / 2;
  }
  for (const QString& text : box.lines) {
    p.drawText(QRectF(-w / 2, y, w, line),
               static_cast<int>((box.align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextDontClip), text);
    y += line;
  }
  p.restore();
}
