#include "ChartPalette.h"

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
