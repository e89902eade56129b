#include "ProfileChart.h"

#include <cmath>

#include "CaptionTables.h"
#include "ChartLegend.h"
#include "ChartUnits.h"
#include "RunDifference.h"
#include "ScienceLogic.h"

void CProfileChart::SetProfile(const FabricProfile& profile, const QString& part, const QString& name,
                               std::optional<ValueRange> range, const std::optional<ComparedProfile>& compared) {
  m_profile = profile;
  m_compared = compared;
  ClearAll();
  const bool difference = compared && compared->difference;
  const QString shownName = difference ? DifferenceName(name, compared->run, compared->comparedRun) : name;
  m_strXLabel = QStringLiteral("Position(cm)");
  m_strXUnit = QStringLiteral("cm");
  m_strYLabel = shownName;
  m_strYColumn = shownName;
  QString title = ProfileTitle(part, shownName, profile.time);
  // The second run's step may stand at another time than the first's.
  if (compared && std::abs(static_cast<double>(compared->profile.time) - profile.time) > 1e-6) {
    title +=
        QStringLiteral(" (%1 at %2 min)").arg(compared->comparedRun, QString::number(compared->profile.time, 'g', 6));
  }
  SetTitle(title);
  // Each profile's axis spans its own part's clothing from the skin.
  m_fXMin = 0;
  m_fXMax = 0;
  m_sections.clear();
  for (const ProfileLayer& l : profile.layers) {
    m_sections.push_back({l.from, l.to, LayerOptionText(l.layer)});
  }
  m_boundaries = profile.boundaries;
  if (range && !difference) {
    m_fFixedYMin = range->lo;
    m_fFixedYMax = range->hi;
  }
  const FabricProfile& first = difference ? DifferenceProfile(profile, compared->profile) : profile;
  if (compared) {
    CChartSeries& s = Series(0);
    s.m_strName = difference ? LegendText(part, shownName) : LegendText(part, name, compared->run);
    s.m_strRun = compared->run;
  }
  for (const ProfilePoint& p : first.points) {
    AddPoint(p.position, p.value);
  }
  if (compared && !difference) {
    CChartSeries& s = AddSeries(LegendText(part, name, compared->comparedRun), UnitOf(name), 0);
    s.m_bDashed = true;
    s.m_nColour = 0;
    s.m_strRun = compared->comparedRun;
    for (const ProfilePoint& p : compared->profile.points) {
      AddPoint(p.position, p.value);
    }
  }
  update();
}

QString CProfileChart::DataText(QChar separator) const {
  if (!m_compared) {
    return ProfileCsv(m_profile, m_strYColumn, separator);
  }
  if (m_compared->difference) {
    return ProfileCsv(DifferenceProfile(m_profile, m_compared->profile), m_strYColumn, separator);
  }
  return ComparedProfileCsv(m_profile, m_compared->run, m_compared->profile, m_compared->comparedRun, m_strYColumn,
                            separator);
}
