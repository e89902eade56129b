#include "Profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "DataCsv.h"
#include "ExactTables.h"
#include "RunComparison.h"
#include "RunDifference.h"
#include "RunTables.h"

namespace {
// The rows of one step of part `part`: layers × nodes, or 0 for a part
// without a known layout.
std::size_t RowsPerStep(const RunTables& run, int part) {
  if (part < 0 || part >= kBodyPartCount || run.m_nLayers[part] <= 0 || run.m_nNodesPerLayer[part] <= 0) {
    return 0;
  }
  return static_cast<std::size_t>(run.m_nLayers[part]) * static_cast<std::size_t>(run.m_nNodesPerLayer[part]);
}
}  // namespace

float FabricValue(const FabricRow& f, int q) {
  switch (q) {
    case 0:
      return f.m_fVaporConc;
    case 1:
      return f.m_fMeanVaporConc;
    case 2:
      return f.m_fEvapRate;
    case 3:
      return f.m_fHumidity;
    case 4:
      return f.m_fTemperature;
    case 5:
      return f.m_fLiquidFraction;
    default:
      return std::numeric_limits<float>::quiet_NaN();
  }
}

int FabricStepCount(const RunTables& run, int part) {
  const std::size_t perStep = RowsPerStep(run, part);
  if (perStep == 0) {
    return 0;
  }
  const std::size_t steps = (run.m_fabric[part].size() + perStep - 1) / perStep;
  return static_cast<int>(std::min<std::size_t>(steps, std::numeric_limits<int>::max()));
}

float FabricStepTime(const RunTables& run, int part, int step) {
  if (step < 0 || step >= FabricStepCount(run, part)) {
    return std::numeric_limits<float>::quiet_NaN();
  }
  return run.m_fabric[part][static_cast<std::size_t>(step) * RowsPerStep(run, part)].m_fTime;
}

FabricProfile FabricProfileAt(const RunTables& run, int part, int step, int q, const CExactTable* exact) {
  FabricProfile profile;
  profile.time = FabricStepTime(run, part, step);
  if (std::isnan(profile.time)) {
    return profile;
  }
  // A column the part's file lacks holds no value, not another quantity's.
  const bool held = q != 5 || run.m_bLiquidFraction[part];
  const std::size_t nodes = static_cast<std::size_t>(run.m_nNodesPerLayer[part]);
  const std::vector<FabricRow>& rows = run.m_fabric[static_cast<std::size_t>(part)];
  profile.exact = exact != nullptr && exact->Rows() == rows.size();
  const std::size_t first = static_cast<std::size_t>(step) * RowsPerStep(run, part);
  const std::size_t end = std::min(first + RowsPerStep(run, part), rows.size());
  for (std::size_t r = first; r < end; ++r) {
    const FabricRow& row = rows[r];
    if (std::isnan(row.m_fPosition)) {
      continue;
    }
    const int layer = static_cast<int>((r - first) / nodes);
    const float value = held ? FabricValue(row, q) : std::numeric_limits<float>::quiet_NaN();
    ProfilePoint point{row.m_fPosition, layer, value};
    if (profile.exact) {
      point.exactPosition = exact->At(r, ExactColumn::kFabricPosition);
      point.exactValue = held ? exact->At(r, ExactColumn::kFabricFirstValue + q) : point.value;
    }
    profile.points.push_back(point);
    if (profile.layers.empty() || profile.layers.back().layer != layer) {
      profile.layers.push_back({layer, row.m_fPosition, row.m_fPosition});
    }
    ProfileLayer& span = profile.layers.back();
    span.from = std::min(span.from, row.m_fPosition);
    span.to = std::max(span.to, row.m_fPosition);
  }
  for (std::size_t i = 1; i < profile.layers.size(); ++i) {
    profile.boundaries.push_back((profile.layers[i - 1].to + profile.layers[i].from) / 2);
  }
  return profile;
}

std::optional<int> NearestFabricStep(const RunTables& run, int part, double minute) {
  const int steps = FabricStepCount(run, part);
  if (steps == 0 || !(minute >= 0)) {
    return std::nullopt;
  }
  // Times went through a float and a minute through a decimal: what differs
  // by less than a millionth of the run counts as the same.
  const double last = FabricStepTime(run, part, steps - 1);
  const double slack = std::max(1e-6, std::fabs(last) * 1e-6);
  if (minute > last + slack) {
    return std::nullopt;
  }
  // Step times rise through the table: the first at or after the minute,
  // then whether the one before it is as near.
  int lo = 0, hi = steps - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (static_cast<double>(FabricStepTime(run, part, mid)) < minute - slack) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  if (lo > 0) {
    const double before = minute - FabricStepTime(run, part, lo - 1);
    const double after = FabricStepTime(run, part, lo) - minute;
    if (before <= after + slack) {
      return lo - 1;
    }
  }
  return lo;
}

QString ProfileCsv(const FabricProfile& profile, const QString& column, QChar separator) {
  QString out = QStringLiteral("Position(cm)%1Layer%1%2\n").arg(separator).arg(DelimitedField(column, separator));
  for (const ProfilePoint& p : profile.points) {
    const QString position = profile.exact ? CsvNumber(p.exactPosition) : CsvNumber(p.position);
    const QString value = profile.exact ? CsvNumber(p.exactValue) : CsvNumber(p.value);
    out += position + separator + QString::number(p.layer + 1) + separator + value + QLatin1Char('\n');
  }
  return out;
}

std::optional<ValueRange> ProfileValueRange(const RunTables& run, int part, int q) {
  if (RowsPerStep(run, part) == 0 || (q == 5 && !run.m_bLiquidFraction[part])) {
    return std::nullopt;
  }
  std::optional<ValueRange> range;
  for (const FabricRow& row : run.m_fabric[part]) {
    const float v = FabricValue(row, q);
    if (std::isnan(v) || std::isnan(row.m_fPosition)) {
      continue;  // what no profile draws widens no scale
    }
    if (!range) {
      range = ValueRange{v, v};
    }
    range->lo = std::min(range->lo, v);
    range->hi = std::max(range->hi, v);
  }
  return range;
}

int ProfileStepAt(const RunTables& run, int sample) {
  const long long step = run.FabricStepOf(std::max(0, sample));
  return step < 0 || step > std::numeric_limits<int>::max() ? 0 : static_cast<int>(step);
}

QString ProfileTitle(const QString& part, const QString& quantity, float minutes) {
  const QString title = QStringLiteral("%1: %2").arg(part, quantity);
  return std::isnan(minutes) ? title : QStringLiteral("%1 at %2 min").arg(title, QString::number(minutes, 'g', 6));
}

QString ComparedProfileCsv(const std::vector<RunProfile>& runs, const QString& column, QChar separator) {
  QString out = QStringLiteral("run%1").arg(separator) + ProfileCsv({}, column, separator);
  for (const RunProfile& r : runs) {
    const QStringList rows = ProfileCsv(r.profile, column, separator).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& row : rows.mid(1)) {
      out += DelimitedField(r.run, separator) + separator + row + QLatin1Char('\n');
    }
  }
  return out;
}

FabricProfile DifferenceProfile(const FabricProfile& first, const FabricProfile& second) {
  auto asPoints = [](const FabricProfile& p) {
    std::vector<CChartDataSet> points;
    for (const ProfilePoint& q : p.points) {
      points.push_back(p.exact ? CChartDataSet{q.exactPosition, q.exactValue} : CChartDataSet{q.position, q.value});
    }
    return points;
  };
  FabricProfile out;
  out.time = first.time;
  out.exact = first.exact && second.exact;
  out.layers = first.layers;
  out.boundaries = first.boundaries;
  std::size_t k = 0;
  for (const CChartDataSet& d : DifferencePoints(asPoints(first), asPoints(second))) {
    // The first run's node at that position, for its layer.
    while (k + 1 < first.points.size() &&
           (first.exact ? first.points[k].exactPosition : static_cast<double>(first.points[k].position)) < d.m_fX) {
      ++k;
    }
    ProfilePoint point{static_cast<float>(d.m_fX), first.points.empty() ? 0 : first.points[k].layer,
                       static_cast<float>(d.m_fY)};
    point.exactPosition = d.m_fX;
    point.exactValue = d.m_fY;
    out.points.push_back(point);
  }
  return out;
}
