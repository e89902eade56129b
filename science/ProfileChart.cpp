#include "ProfileChart.h"

#include <QStringList>
#include <cmath>
#include <utility>

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
  const bool difference = compared && compared->difference && compared->others.size() == 1;
  const QString shownName = difference ? DifferenceName(name, compared->run, compared->others.front().run) : name;
  SetXLabel(QStringLiteral("Position(cm)"));
  SetXUnit(QStringLiteral("cm"));
  SetYLabel(shownName);
  SetYColumn(shownName);
  QString title = ProfileTitle(part, shownName, profile.time);
  // Another run's step may stand at another time than the first's.
  QStringList elsewhen;
  for (const RunProfile& r : compared ? compared->others : std::vector<RunProfile>{}) {
    if (std::isnan(r.profile.time)) {
      elsewhen << QStringLiteral("%1 has no step near it").arg(r.run);
    } else if (std::abs(static_cast<double>(r.profile.time) - profile.time) > 1e-6) {
      elsewhen << QStringLiteral("%1 at %2 min").arg(r.run, QString::number(r.profile.time, 'g', 6));
    }
  }
  if (!elsewhen.isEmpty()) {
    title += QStringLiteral(" (%1)").arg(elsewhen.join(QStringLiteral("; ")));
  }
  SetTitle(title);
  // Each profile's axis spans its own part's clothing from the skin.
  ForgetXRange();
  std::vector<ChartSection> sections;
  for (const ProfileLayer& l : profile.layers) {
    sections.push_back({l.from, l.to, LayerOptionText(l.layer)});
  }
  SetSections(std::move(sections), profile.boundaries);
  if (range && !difference) {
    SetFixedYRange(range->lo, range->hi);
  }
  const FabricProfile& first = difference ? DifferenceProfile(profile, compared->others.front().profile) : profile;
  if (compared) {
    SeriesLook look;
    look.m_strName = difference ? LegendText(part, shownName) : LegendText(part, name, compared->run);
    look.m_strRun = compared->run;
    SetFirstLook(look);
  }
  for (const ProfilePoint& p : first.points) {
    AddPoint(p.position, p.value);
  }
  if (compared && !difference) {
    // One other run is the first's colour dashed; more are told apart by
    // colour and style alike.
    const bool runColours = compared->others.size() > 1;
    for (std::size_t i = 0; i < compared->others.size(); ++i) {
      const RunProfile& r = compared->others[i];
      const int run = static_cast<int>(i) + 1;
      SeriesLook look;
      look.m_strName = LegendText(part, name, r.run);
      look.m_strUnit = UnitOf(name);
      look.m_nStyle = run;
      look.m_nRun = run;
      look.m_nColour = runColours ? run : 0;
      look.m_strRun = r.run;
      AddSeries(look);
      for (const ProfilePoint& p : r.profile.points) {
        AddPoint(p.position, p.value);
      }
    }
  }
  update();
}

QString CProfileChart::OwnDataText(QChar separator) const {
  return ProfilesText(m_profile, m_compared, YColumn(), separator);
}

QString ProfilesText(const FabricProfile& profile, const std::optional<ComparedProfile>& compared,
                     const QString& column, QChar separator) {
  if (!compared) {
    return ProfileCsv(profile, column, separator);
  }
  if (compared->difference && compared->others.size() == 1) {
    return ProfileCsv(DifferenceProfile(profile, compared->others.front().profile), column, separator);
  }
  std::vector<RunProfile> runs{{profile, compared->run}};
  runs.insert(runs.end(), compared->others.begin(), compared->others.end());
  return ComparedProfileCsv(runs, column, separator);
}
