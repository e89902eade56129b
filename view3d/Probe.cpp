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
}  // namespace

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
