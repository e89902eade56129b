#include "ChartLegend.h"

#include <QStringList>
#include <algorithm>

QString LegendText(const QString& part, const QString& quantity, const QString& run) {
  const QString text = QStringLiteral("%1: %2").arg(part, quantity);
  return run.isEmpty() ? text : QStringLiteral("%1, %2").arg(text, run);
}

QString ChartTitle(const std::vector<QString>& names) {
  QStringList distinct;
  for (const QString& n : names) {
    if (!distinct.contains(n)) {
      distinct << n;
    }
  }
  return distinct.join(QStringLiteral(", "));
}

LegendLayout LayoutLegend(const std::vector<int>& textWidths, int left, int right, int top, int lineHeight) {
  LegendLayout l;
  if (textWidths.empty()) {
    return l;
  }
  const int room = std::max(1, right - left);
  int x = left, y = top;
  for (const int text : textWidths) {
    const int width = std::min(room, kLegendSample + kLegendGap + text);
    if (x > left && x + width > right) {
      x = left;
      y += lineHeight;
    }
    l.entries.emplace_back(x, y, width, lineHeight);
    x += width + kLegendSpacing;
  }
  l.height = y + lineHeight - top;
  return l;
}
