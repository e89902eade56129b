#include "ChartUnits.h"

#include <QStringList>
#include <algorithm>

QString UnitOf(const QString& name) {
  const qsizetype open = name.indexOf(QLatin1Char('('));
  const qsizetype close = name.lastIndexOf(QLatin1Char(')'));
  return open >= 0 && close > open ? name.mid(open + 1, close - open - 1) : QString();
}

QString WithoutUnit(const QString& name) {
  const qsizetype open = name.indexOf(QLatin1Char('('));
  return open >= 0 && name.endsWith(QLatin1Char(')')) ? name.left(open) : name;
}

std::optional<std::vector<int>> AssignAxes(const std::vector<QString>& units) {
  std::vector<QString> met;
  std::vector<int> axes;
  for (const QString& u : units) {
    auto it = std::find(met.begin(), met.end(), u);
    if (it == met.end()) {
      if (met.size() == 2) {
        return std::nullopt;
      }
      met.push_back(u);
      it = met.end() - 1;
    }
    axes.push_back(static_cast<int>(it - met.begin()));
  }
  return axes;
}

QString AxisCaption(const std::vector<QString>& names) {
  std::vector<QString> distinct;
  for (const QString& n : names) {
    if (std::find(distinct.begin(), distinct.end(), n) == distinct.end()) {
      distinct.push_back(n);
    }
  }
  if (distinct.size() <= 1) {
    return distinct.empty() ? QString() : distinct.front();
  }
  QStringList bare;
  for (const QString& n : distinct) {
    bare << WithoutUnit(n);
  }
  const QString unit = UnitOf(distinct.front());
  return bare.join(QStringLiteral(", ")) + (unit.isEmpty() ? QString() : QStringLiteral("(%1)").arg(unit));
}
