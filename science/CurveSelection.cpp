#include "CurveSelection.h"

#include <algorithm>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartPalette.h"
#include "ChartUnits.h"

void CCurveSelection::Choose(int part, OptionKind kind, int quantity) {
  m_nPart = part;
  m_kind = kind;
  m_quantities = {quantity};
}

QString CCurveSelection::Toggle(int quantity) {
  if (!IsChartKind(m_kind)) {
    Choose(m_nPart, m_kind, quantity);
    return {};
  }
  std::vector<int> next = m_quantities;
  const auto shown = std::find(next.begin(), next.end(), quantity);
  if (shown != next.end()) {
    if (next.size() > 1) {
      next.erase(shown);
      m_quantities = next;
    }
    return {};
  }
  next.push_back(quantity);
  QString refusal = Refusal(next, m_bAllParts, PropertyName(m_kind, quantity));
  if (refusal.isEmpty()) {
    m_quantities = next;
  }
  return refusal;
}

QString CCurveSelection::SetAllParts(bool on) {
  QString refusal = on ? Refusal(m_quantities, true, QStringLiteral("All parts")) : QString();
  if (refusal.isEmpty()) {
    m_bAllParts = on;
  }
  return refusal;
}

std::vector<CurveKey> CCurveSelection::CurvesOf(const std::vector<int>& quantities, bool allParts) const {
  std::vector<int> parts{m_nPart};
  if (allParts && IsChartKind(m_kind)) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      if (p != m_nPart) {
        parts.push_back(p);
      }
    }
  }
  std::vector<CurveKey> curves;
  for (const int q : quantities) {
    for (const int p : parts) {
      curves.push_back({p, m_kind, q});
    }
  }
  return curves;
}

QString CCurveSelection::Refusal(const std::vector<int>& quantities, bool allParts, const QString& what) const {
  const std::vector<CurveKey> curves = CurvesOf(quantities, allParts);
  if (static_cast<int>(curves.size()) > kMaxCurves) {
    return QStringLiteral("%1 not shown: a chart holds at most %2 curves.").arg(what).arg(kMaxCurves);
  }
  std::vector<QString> units;
  units.reserve(curves.size());
  for (const CurveKey& c : curves) {
    units.push_back(UnitOf(PropertyName(c.kind, c.quantity)));
  }
  if (AssignAxes(units)) {
    return {};
  }
  // The two units the chart has, in the order they took their axes.
  std::vector<QString> held;
  for (const QString& u : units) {
    if (std::find(held.begin(), held.end(), u) == held.end() && held.size() < 2) {
      held.push_back(u);
    }
  }
  return QStringLiteral("%1 not shown: the chart already has two units, %2 and %3.").arg(what, held[0], held[1]);
}
