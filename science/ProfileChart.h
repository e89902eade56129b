#pragma once
// The thickness profile's chart: the chart's drawing over position, each
// layer's name over it and a dashed line between layers, and data that name
// each node's layer, as `--export-csv --profile-at` writes them.

#include "MyChart.h"
#include "Profile.h"

// A second run's profile beside the first: its own step nearest the
// first's time, drawn dashed, or with `difference` the first less it.
struct ComparedProfile {
  FabricProfile profile;
  QString run, comparedRun;  // the two runs' names
  bool difference = false;
};

class CProfileChart : public CMyChart {
  Q_OBJECT

 public:
  using CMyChart::CMyChart;

  // Shows `profile` of the quantity `name` (its unit in parentheses) of part
  // `part` on the value scale `range` (none: the profile's own) and, when
  // given, a second run's beside it; the shown position range stays.
  void SetProfile(const FabricProfile& profile, const QString& part, const QString& name,
                  std::optional<ValueRange> range, const std::optional<ComparedProfile>& compared = std::nullopt);
  // Position, layer and value, the header naming their units; two runs'
  // rows each led by its run, or the difference's.
  QString DataText(QChar separator) const override;

 private:
  FabricProfile m_profile;
  std::optional<ComparedProfile> m_compared;
};
