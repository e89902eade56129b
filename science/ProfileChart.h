#pragma once
// The thickness profile's chart: the chart's drawing over position, each
// layer's name over it and a dashed line between layers, and data that name
// each node's layer, as `--export-csv --profile-at` writes them.

#include "MyChart.h"
#include "Profile.h"

// Other runs' profiles beside the first: each at its own step nearest the
// first's time. One is drawn dashed in the first's colour, or with
// `difference` subtracted from the first; more take each the colour and
// line style of its run.
struct ComparedProfile {
  QString run;                     // the first run's name
  std::vector<RunProfile> others;  // in the order compared
  bool difference = false;         // with one other run: the first less it
};

// The profile, or the runs' profiles, as text: what the chart's data says
// (ProfileCsv, ComparedProfileCsv, or the difference's ProfileCsv).
QString ProfilesText(const FabricProfile& profile, const std::optional<ComparedProfile>& compared,
                     const QString& column, QChar separator);

class CProfileChart : public CMyChart {
  Q_OBJECT

 public:
  using CMyChart::CMyChart;

  // Shows `profile` of the quantity `name` (its unit in parentheses) of part
  // `part` on the value scale `range` (none: the profile's own) and, when
  // given, other runs' beside it; the shown position range stays.
  void SetProfile(const FabricProfile& profile, const QString& part, const QString& name,
                  std::optional<ValueRange> range, const std::optional<ComparedProfile>& compared = std::nullopt);

 protected:
  // Position, layer and value, the header naming their units; compared
  // runs' rows each led by its run, or the difference's.
  QString OwnDataText(QChar separator) const override;

 private:
  FabricProfile m_profile;
  std::optional<ComparedProfile> m_compared;
};
