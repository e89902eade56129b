#include "ScienceLogic.h"

#include <algorithm>

#include "ExactTables.h"
#include "SimulationData.h"

int EncodeOption(int part, OptionKind kind, int index) {
  return 1000 * (part + 1) + 100 * static_cast<int>(kind) + index;
}

OptionId DecodeOption(int id) { return {id / 1000 - 1, static_cast<OptionKind>((id % 1000) / 100), id % 100}; }

std::optional<QString> FiberOptionText(const QString& fileName, int part) {
  static const char* const kTags[kBodyPartCount] = {"FIBERHEAD", "FIBERTRUNK", "FIBERARM",
                                                    "FIBERHAND", "FIBERLEG",   "FIBERFOOT"};
  if (part < 0 || part >= kBodyPartCount) {
    return std::nullopt;
  }
  const QString upper = fileName.toUpper();
  const QString tag = QLatin1String(kTags[part]);
  if (!upper.contains(tag)) {
    return std::nullopt;
  }
  // What follows the tag's length, from its second character (a separator)
  // up to its last point.
  const QString rest = upper.mid(tag.size());
  const qsizetype dot = rest.lastIndexOf(QLatin1Char('.'));
  const QString name = dot > 1 ? rest.mid(1, dot - 1) : QString();
  return QStringLiteral("Fibers: %1").arg(name);
}

std::vector<PanelOption> PanelOptions(const CSimulationData& data, int part) {
  std::vector<PanelOption> options;
  if (part < 0 || part >= kBodyPartCount) {
    return options;
  }
  options.push_back({QStringLiteral("Body Property"), EncodeOption(part, OptionKind::Body, 0)});
  options.push_back({QStringLiteral("Body Comfort"), EncodeOption(part, OptionKind::Comfort, 0)});
  for (int j = 0; j < std::min(data.Run().m_nLayers[part], 100); ++j) {
    options.push_back({LayerOptionText(j), EncodeOption(part, OptionKind::Fabric, j)});
  }
  for (std::size_t k = 0; k < data.Run().m_fibers.size() && k < 100; ++k) {
    if (const auto text = FiberOptionText(data.Run().m_fibers[k].m_strName, part)) {
      options.push_back({*text, EncodeOption(part, OptionKind::Fiber, static_cast<int>(k))});
    }
  }
  return options;
}

bool RunListsOption(const CSimulationData& data, int id) {
  const OptionId o = DecodeOption(id);
  for (const PanelOption& option : PanelOptions(data, o.part)) {
    if (option.id == id) {
      return true;
    }
  }
  return false;
}

QString LayerOptionText(int layer) { return QStringLiteral("%1st Layer Fabric").arg(layer + 1); }

int GlideStep(int current, int target) {
  if (current == target) {
    return current;
  }
  int d = (current - target) / 3;
  if (d == 0) {
    d = current - target;
  }
  return current - d;
}

int ScrollTarget(int column, int height, int y) {
  return height > 0 ? static_cast<int>(static_cast<long long>(column - height) * y / height) : 0;
}

std::vector<ChartPoint> BodyPropertyPoints(const CSimulationData& data, int part, int q, const CExactTable* exact) {
  std::vector<ChartPoint> points;
  if (q < 0 || q >= 9) {
    return points;
  }
  const std::vector<BodyPropertyRow>& rows = data.Run().m_body;
  const CExactTable* table = exact;
  const bool full = table != nullptr && table->Rows() == rows.size();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const BodyPropertyRow& r = rows[i];
    if (r.m_nPart != part) {
      continue;
    }
    if (full) {
      points.push_back({table->At(i, ExactColumn::kBodyTime), table->At(i, ExactColumn::kBodyFirstValue + q)});
      continue;
    }
    const float values[9] = {r.m_fSkinTemp,  r.m_fCoreTemp,   r.m_fMetabolism, r.m_fSkinHumidity, r.m_fBloodFlow,
                             r.m_fSweatRate, r.m_fSweatAccum, r.m_fEvapHeat,   r.m_fSkinPressure};
    points.push_back({r.m_fTime, values[q]});
  }
  return points;
}

std::vector<ChartPoint> ComfortPoints(const CSimulationData& data, int part, int q, const CExactTable* exact) {
  std::vector<ChartPoint> points;
  if (part < 0 || part >= kBodyPartCount || q < 0 || q > 2) {
    return points;
  }
  const std::vector<ComfortRow>& rows = data.Run().m_comfort[part];
  const CExactTable* table = exact;
  const bool full = table != nullptr && table->Rows() == rows.size();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ComfortRow& r = rows[i];
    const double v = full     ? table->At(i, ExactColumn::kComfortFirstValue + q)
                     : q == 0 ? r.m_fThermal
                     : q == 1 ? r.m_fDampness
                              : r.m_fComfort;
    const double t = full ? table->At(i, ExactColumn::kComfortTime) : r.m_fTime;
    points.push_back({t, v < 0 ? 0.0 : v > 100 ? 100.0 : v});
  }
  return points;
}

std::vector<PlotCurve> FabricCurves(const CSimulationData& data, int part, int layer, int q, const CExactTable* exact) {
  std::vector<PlotCurve> curves;
  if (part < 0 || part >= kBodyPartCount || q < 0 || q > 5) {
    return curves;
  }
  if (q == 5 && !data.Run().m_bLiquidFraction[part]) {
    return curves;  // no such column: no data, not another quantity
  }
  const std::vector<FabricRow>& rows = data.Run().m_fabric[part];
  const std::size_t layers = static_cast<std::size_t>(std::max(0, data.Run().m_nLayers[part]));
  const std::size_t nodes = static_cast<std::size_t>(std::max(0, data.Run().m_nNodesPerLayer[part]));
  if (layers == 0 || nodes == 0 || layer < 0) {
    return curves;
  }
  const CExactTable* full = exact;
  if (full != nullptr && full->Rows() != rows.size()) {
    full = nullptr;
  }
  for (std::size_t n = 0; n < nodes; ++n) {
    PlotCurve c;
    for (std::size_t r = static_cast<std::size_t>(layer) * nodes + n; r < rows.size(); r += layers * nodes) {
      if (full != nullptr) {
        const double* d = full->Row(r);
        c.push_back(
            {d[ExactColumn::kFabricPosition], d[ExactColumn::kFabricTime], d[ExactColumn::kFabricFirstValue + q]});
        continue;
      }
      const FabricRow& f = rows[r];
      const float values[6] = {f.m_fVaporConc, f.m_fMeanVaporConc, f.m_fEvapRate,
                               f.m_fHumidity,  f.m_fTemperature,   f.m_fLiquidFraction};
      c.push_back({f.m_fPosition, f.m_fTime, values[q]});
    }
    if (!c.empty()) {
      curves.push_back(std::move(c));
    }
  }
  return curves;
}

std::vector<PlotCurve> FiberCurves(const FiberTable& table, int q, const CExactTable* exact) {
  std::vector<PlotCurve> curves;
  const std::vector<FiberRow>& rows = table.m_rows;
  if (rows.empty() || q < 0 || q > 1) {
    return curves;
  }
  if (exact != nullptr && exact->Rows() != rows.size()) {
    exact = nullptr;
  }
  std::size_t perStep = 1;
  while (perStep < rows.size() && rows[perStep].m_fTime == rows[0].m_fTime) {
    ++perStep;
  }
  for (std::size_t n = 0; n < perStep; ++n) {
    PlotCurve c;
    for (std::size_t r = n; r < rows.size(); r += perStep) {
      if (exact != nullptr) {
        c.push_back({exact->At(r, 1), exact->At(r, 0), exact->At(r, 2 + q)});
      } else {
        c.push_back({rows[r].m_fPosition, rows[r].m_fTime, q == 0 ? rows[r].m_fValue1 : rows[r].m_fValue2});
      }
    }
    if (!c.empty()) {
      curves.push_back(std::move(c));
    }
  }
  return curves;
}
