#pragma once
// The thickness profile's chart: the chart's drawing over position, each
// layer's name over it and a dashed line between layers, and data that name
// each node's layer, as `--export-csv --profile-at` writes them.

#include "MyChart.h"
#include "Profile.h"

class CProfileChart : public CMyChart {
  Q_OBJECT

 public:
  using CMyChart::CMyChart;

  // Shows `profile` of the quantity `name` (its unit in parentheses) of part
  // `part` on the value scale `range` (none: the profile's own); the shown
  // position range stays.
  void SetProfile(const FabricProfile& profile, const QString& part, const QString& name,
                  std::optional<ValueRange> range);
  // Position, layer and value, the header naming their units.
  QString DataText(QChar separator) const override;

 private:
  FabricProfile m_profile;
};
