#pragma once
// Which curves the chart shows: the quantities chosen for the option's part,
// and, with "All parts", the same quantities for every part. A plain click
// chooses one quantity; Ctrl+click adds another (or takes a shown one off),
// unless the chart has no room for it: then the selection stays and says why.

#include <QString>
#include <vector>

#include "OptionKind.h"

struct CurveKey {
  int part = 0;
  OptionKind kind = OptionKind::Body;
  int quantity = 0;
  friend bool operator==(const CurveKey&, const CurveKey&) = default;
};

class CCurveSelection {
 public:
  // Quantity `quantity` of `part` and `kind` alone (for every part when All
  // parts is on): a plain click, or a newly chosen option.
  void Choose(int part, OptionKind kind, int quantity);
  // Ctrl+click on quantity `quantity`: added after the others, or taken off
  // when shown and not the only one. Returns the refusal for the status
  // line when the chart has no room for it (empty when done). The 3D plot
  // shows one quantity: there it is a plain choice.
  QString Toggle(int quantity);
  // All parts on or off; returns the refusal when the curves would not fit.
  QString SetAllParts(bool on);

  // How many runs the chart compares (1: the run alone). More than two
  // leave room for one quantity of one part, All parts off; returns the
  // refusal when the chart shows more (`what` names the run asked for),
  // and the count stays.
  QString SetRunCount(int runs, const QString& what);
  int RunCount() const { return m_nRuns; }

  bool AllParts() const { return m_bAllParts; }
  int Part() const { return m_nPart; }
  OptionKind Kind() const { return m_kind; }
  const std::vector<int>& Quantities() const { return m_quantities; }
  // The curves in the order they are drawn and coloured: each quantity in
  // the order chosen, first for the option's part, then (All parts) for
  // the other parts from Head to Foot.
  std::vector<CurveKey> Curves() const { return CurvesOf(m_quantities, m_bAllParts); }

 private:
  std::vector<CurveKey> CurvesOf(const std::vector<int>& quantities, bool allParts) const;
  // Why these curves cannot share a chart of `runs` runs, led by `what`
  // ("NAME not shown"), or empty.
  QString Refusal(const std::vector<int>& quantities, bool allParts, int runs, const QString& what) const;
  static QString ManyRunsRefusal(const QString& what);

  int m_nPart = 0;
  OptionKind m_kind = OptionKind::Body;
  std::vector<int> m_quantities{0};
  bool m_bAllParts = false;
  int m_nRuns = 1;
};

// The selection that options name, made as a user would make it: the runs
// compared first, then `quantities` in order (the first chosen, the others
// added as Ctrl+click adds them, a repeat shown once), then All parts.
// `refusal` gets the first refusal in the view's words (empty when none).
CCurveSelection SelectCurves(int part, OptionKind kind, const std::vector<int>& quantities, bool allParts, int runs,
                             QString* refusal);
