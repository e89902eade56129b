#include "ProfileChart.h"

#include "CaptionTables.h"
#include "ScienceLogic.h"

void CProfileChart::SetProfile(const FabricProfile& profile, const QString& part, const QString& name,
                               std::optional<ValueRange> range) {
  m_profile = profile;
  ClearAll();
  m_strXLabel = QStringLiteral("Position(cm)");
  m_strXUnit = QStringLiteral("cm");
  m_strYLabel = name;
  m_strYColumn = name;
  SetTitle(ProfileTitle(part, name, profile.time));
  // Each profile's axis spans its own part's clothing from the skin.
  m_fXMin = 0;
  m_fXMax = 0;
  m_sections.clear();
  for (const ProfileLayer& l : profile.layers) {
    m_sections.push_back({l.from, l.to, LayerOptionText(l.layer)});
  }
  m_boundaries = profile.boundaries;
  if (range) {
    m_fFixedYMin = range->lo;
    m_fFixedYMax = range->hi;
  }
  for (const ProfilePoint& p : profile.points) {
    AddPoint(p.position, p.value);
  }
  update();
}

QString CProfileChart::DataText(QChar separator) const { return ProfileCsv(m_profile, m_strYColumn, separator); }
