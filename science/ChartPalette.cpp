#include "ChartPalette.h"

#include <QPen>
#include <array>
#include <vector>

QColor CurveColour(int index, const QColor& first) {
  if (index <= 0) {
    return first;
  }
  // Okabe and Ito's order, with the colours that read worst as thin lines
  // on white (black, which the axes use, and yellow) last.
  static const std::array<QColor, 8> kOkabeIto = {QColor(230, 159, 0), QColor(86, 180, 233),  QColor(0, 158, 115),
                                                  QColor(0, 114, 178), QColor(204, 121, 167), QColor(213, 94, 0),
                                                  QColor(0, 0, 0),     QColor(240, 228, 66)};
  std::vector<QColor> colours;
  for (const QColor& c : kOkabeIto) {
    if (c.rgb() != first.rgb()) {
      colours.push_back(c);
    }
  }
  return colours[static_cast<std::size_t>(index - 1) % colours.size()];
}

void SetLineStyle(QPen& pen, int style) {
  // In pen widths, as Qt measures dashes: each pattern a different rhythm
  // rather than a different scale of one.
  static const std::array<QList<qreal>, 6> kPatterns = {
      QList<qreal>{1, 2}, QList<qreal>{4, 2, 1, 2}, QList<qreal>{4, 2, 1, 2, 1, 2},
      QList<qreal>{8, 3}, QList<qreal>{8, 3, 1, 3}, QList<qreal>{8, 3, 3, 3}};
  const int s = style < 0 ? 0 : style % 8;
  if (s == 0) {
    pen.setStyle(Qt::SolidLine);
  } else if (s == 1) {
    pen.setStyle(Qt::DashLine);
  } else {
    pen.setDashPattern(kPatterns[static_cast<std::size_t>(s - 2)]);
  }
}
