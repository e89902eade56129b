#include "ChartLegend.h"

#include <QStringList>
#include <algorithm>

QString LegendText(const QString& part, const QString& quantity, const QString& run) {
  const QString text = QStringLiteral("%1: %2").arg(part, quantity);
  return run.isEmpty() ? text : QStringLiteral("%1, %2").arg(text, run);
}

std::vector<FigureLegendEntry> FigureLegend(const std::vector<FigureLegendEntry>& curves) {
  struct Pieces {
    QString part, quantity, run;
  };
  std::vector<Pieces> pieces;
  for (const FigureLegendEntry& e : curves) {
    const qsizetype colon = e.text.indexOf(QStringLiteral(": "));
    if (colon < 0) {
      return curves;
    }
    Pieces p{e.text.left(colon), e.text.mid(colon + 2), QString()};
    if (const qsizetype comma = p.quantity.lastIndexOf(QStringLiteral(", ")); comma >= 0) {
      p.run = p.quantity.mid(comma + 2);
      p.quantity = p.quantity.left(comma);
    }
    pieces.push_back(p);
  }
  if (pieces.size() < 2) {
    return curves;
  }
  auto same = [&](auto member) {
    return std::all_of(pieces.begin(), pieces.end(), [&](const Pieces& p) { return p.*member == pieces[0].*member; });
  };
  const bool part = !same(&Pieces::part), quantity = !same(&Pieces::quantity), run = !same(&Pieces::run);
  auto name = [&](const Pieces& p) {
    QStringList kept;
    if (part || (!quantity && !run)) {
      kept << p.part;
    }
    if (quantity) {
      kept << p.quantity;
    }
    return kept.join(QStringLiteral(": "));
  };
  std::vector<FigureLegendEntry> legend;
  if (run && (part || quantity)) {
    // Colours for the curves, styles for the runs.
    std::vector<QString> runs;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const QString text = name(pieces[i]);
      if (std::none_of(legend.begin(), legend.end(), [&](const FigureLegendEntry& e) { return e.text == text; })) {
        legend.push_back({text, curves[i].colour, 0});
      }
    }
    std::vector<FigureLegendEntry> styles;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (std::none_of(styles.begin(), styles.end(),
                       [&](const FigureLegendEntry& e) { return e.text == pieces[i].run; })) {
        styles.push_back({pieces[i].run, QColor(Qt::black), curves[i].style});
      }
    }
    legend.insert(legend.end(), styles.begin(), styles.end());
    return legend;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    QString text = name(pieces[i]);
    if (run) {
      text += (text.isEmpty() ? QString() : QStringLiteral(", ")) + pieces[i].run;
    }
    legend.push_back({text, curves[i].colour, curves[i].style});
  }
  return legend;
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
