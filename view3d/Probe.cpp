#include "Probe.h"

#include <cmath>

#include "SimulationData.h"

namespace {
QString Value(float v, const char* unit) {
  if (std::isnan(v)) {
    return QStringLiteral("no value");  // a hole in the run
  }
  return QString::number(static_cast<double>(v), 'f', 2) + QString::fromUtf8(unit);
}

// The shown quantity's value in a body row (core or skin) or a fabric row,
// with its unit; "no data" where there is none.
QString CellText(const CSimulationData& d, const BodyPropertyRow* body, bool core, const FabricRow* fabric) {
  float v = std::nanf("");
  const char* unit = "";
  switch (d.State().ContentKind()) {
    case ContentTemperature:
      unit = " \u00b0C";
      if (body) {
        v = core ? body->m_fCoreTemp : body->m_fSkinTemp;
      } else if (fabric) {
        v = fabric->m_fTemperature;
      }
      break;
    case ContentHumidity:  // relative humidity in percent, as the files hold it
      unit = " %";
      if (body && !core) {
        v = body->m_fSkinHumidity;
      } else if (fabric) {
        v = fabric->m_fHumidity;
      }
      break;
    default:  // the sweating rate is the skin's alone
      unit = " SWR";
      if (body && !core) {
        v = body->m_fSweatRate;
      }
      break;
  }
  return std::isnan(v) ? QStringLiteral("no data") : Value(v, unit);
}

const char* QuantityName(int content) {
  switch (content) {
    case ContentTemperature:
      return "Temperature";
    case ContentHumidity:
      return "Humidity";
    default:
      return "Sweating Rate";
  }
}
}  // namespace

std::vector<ProbeRow> ProbeRows(const CSimulationData& d, int part) {
  std::vector<ProbeRow> rows;
  if (part < 0 || part >= kBodyPartCount) {
    return rows;
  }
  const BodyPropertyRow* body = d.BodyRowAt(part);
  rows.push_back({QStringLiteral("Core"), body ? CellText(d, body, true, nullptr) : QStringLiteral("no data")});
  rows.push_back({QStringLiteral("Skin"), body ? CellText(d, body, false, nullptr) : QStringLiteral("no data")});
  const int layers = d.Run().m_nLayers[part];
  for (int l = 1; l <= layers; ++l) {
    const FabricRow* fabric = d.LayerRowAt(part, l);
    rows.push_back(
        {QStringLiteral("Layer %1").arg(l), fabric ? CellText(d, nullptr, false, fabric) : QStringLiteral("no data")});
  }
  return rows;
}

QString ProbeTsv(const CSimulationData& d, int part) {
  if (part < 0 || part >= kBodyPartCount) {
    return {};
  }
  QString text = QStringLiteral("%1\t%2\n")
                     .arg(QLatin1String(kBodyPartNames[part]), QLatin1String(QuantityName(d.State().ContentKind())));
  for (const ProbeRow& r : ProbeRows(d, part)) {
    text += r.name + QLatin1Char('\t') + r.value + QLatin1Char('\n');
  }
  return text;
}

QString ProbeText(const CSimulationData& d, int part, int layer) {
  if (part < 0 || part >= kBodyPartCount) {
    return {};
  }
  const BodyPropertyRow* body = d.BodyRowAt(part);
  const FabricRow* fabric = layer >= 1 ? d.LayerRowAt(part, layer) : nullptr;
  QString skin = QStringLiteral("no value"), cloth = QStringLiteral("no value");
  switch (d.State().ContentKind()) {
    case ContentTemperature:
      if (body) {
        skin = Value(body->m_fSkinTemp, " \u00b0C");
      }
      if (fabric) {
        cloth = Value(fabric->m_fTemperature, " \u00b0C");
      }
      break;
    case ContentHumidity:  // relative humidity in percent, as the files hold it
      if (body) {
        skin = Value(body->m_fSkinHumidity, " %");
      }
      if (fabric) {
        cloth = Value(fabric->m_fHumidity, " %");
      }
      break;
    default:  // the sweating rate is the skin's alone
      if (body) {
        skin = Value(body->m_fSweatRate, " SWR");
      }
      break;
  }
  QString text = QStringLiteral("%1: skin %2").arg(QLatin1String(kBodyPartNames[part]), skin);
  if (layer >= 1) {
    text += QStringLiteral(", layer %1 %2").arg(layer).arg(cloth);
  }
  return text;
}
