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
  QString refusal = Refusal(next, m_bAllParts, m_nRuns, PropertyName(m_kind, quantity) + QStringLiteral(" not shown"));
  if (refusal.isEmpty()) {
    m_quantities = next;
  }
  return refusal;
}

QString CCurveSelection::SetAllParts(bool on) {
  // Past two runs not even for an option without a chart: a body option
  // chosen next would take every part.
  if (on && m_nRuns > 2) {
    return ManyRunsRefusal(QStringLiteral("All parts not shown"));
  }
  QString refusal = on ? Refusal(m_quantities, true, m_nRuns, QStringLiteral("All parts not shown")) : QString();
  if (refusal.isEmpty()) {
    m_bAllParts = on;
  }
  return refusal;
}

QString CCurveSelection::SetRunCount(int runs, const QString& what) {
  QString refusal = Refusal(m_quantities, m_bAllParts, runs, what + QStringLiteral(" not compared"));
  if (refusal.isEmpty()) {
    m_nRuns = runs;
    // Left on from a chart while an option without one is shown (its box
    // hidden): it goes, as it could not be chosen now.
    m_bAllParts = m_bAllParts && runs <= 2;
  }
  return refusal;
}

QString CCurveSelection::ManyRunsRefusal(const QString& what) {
  return QStringLiteral("%1: a chart of more than two runs holds one quantity of one part.").arg(what);
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

QString CCurveSelection::Refusal(const std::vector<int>& quantities, bool allParts, int runs,
                                 const QString& what) const {
  const std::vector<CurveKey> curves = CurvesOf(quantities, allParts);
  // Past two runs a run is told by its colour and style: a second curve per
  // run would have neither left to tell it by.
  if (runs > 2 && curves.size() > 1) {
    return ManyRunsRefusal(what);
  }
  if (static_cast<int>(curves.size()) > kMaxCurves) {
    return QStringLiteral("%1: a chart holds at most %2 curves.").arg(what).arg(kMaxCurves);
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
  return QStringLiteral("%1: the chart already has two units, %2 and %3.").arg(what, held[0], held[1]);
}

CCurveSelection SelectCurves(int part, OptionKind kind, const std::vector<int>& quantities, bool allParts, int runs,
                             QString* refusal) {
  CCurveSelection selection;
  refusal->clear();
  selection.Choose(part, kind, quantities.empty() ? 0 : quantities.front());
  selection.SetRunCount(runs, QString());
  for (std::size_t i = 1; i < quantities.size() && refusal->isEmpty(); ++i) {
    const std::vector<int>& shown = selection.Quantities();
    if (std::find(shown.begin(), shown.end(), quantities[i]) == shown.end()) {
      *refusal = selection.Toggle(quantities[i]);
    }
  }
  if (allParts && refusal->isEmpty()) {
    *refusal = selection.SetAllParts(true);
  }
  return selection;
}
