#include "SimulationData.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "internal/Prefetched.h"

namespace {
void SetRgb(float* dst, const float* rgb) {
  dst[0] = rgb[0];
  dst[1] = rgb[1];
  dst[2] = rgb[2];
}
}  // namespace

CSimulationData::CSimulationData() : m_pSink(&CStderrMessageSink::Instance()) { Reset(); }

void CSimulationData::Reset() {
  m_bLoaded = false;
  m_strDataDir.clear();
  m_env.fill(EnvironmentPhase{});
  m_nSelectedModel = 0;
  m_strModelId.clear();
  m_garmentIds.clear();
  static const char* const kProperty[] = {"headProperty.dat", "trunckProperty.dat", "armProperty.dat",
                                          "handProperty.dat", "legProperty.dat",    "footProperty.dat"};
  for (int p = 0; p < kBodyPartCount; ++p) {
    m_fabricFileNames[p] = QStringLiteral("fabrics") + QLatin1String(kBodyPartNames[p]) + QStringLiteral(".dat");
    m_propertyFileNames[p] = QString::fromLatin1(kProperty[p]);
    m_partNames[p] = QString::fromLatin1(kBodyPartNames[p]);
    m_nLayers[p] = 0;
    m_nNodesPerLayer[p] = 0;
    m_fabric[p].clear();
    m_bLiquidFraction[p] = false;
    m_fabric[p].shrink_to_fit();
    m_comfort[p].clear();
    m_comfort[p].shrink_to_fit();
  }
  m_nEnvPhases = 1;
  m_fTempMax = m_fHumidityMax = m_fSweatMax = 0;
  m_fTempMin = m_fHumidityMin = m_fSweatMin = 10000;
  m_nSamples = 0;
  m_fSampleInterval = 0;
  m_fFabricInterval = 0;
  m_fibers.clear();
  m_body.clear();
  m_body.shrink_to_fit();
  m_nContentKind = ContentTemperature;
  m_nSelectedLayer = 0;
  const float scale[5] = {29.0f, 31.25f, 33.5f, 35.75f, 38.0f};
  std::memcpy(m_fScale, scale, sizeof m_fScale);
  ClearColours();
  m_nStep = 0;
  m_nStepAccum = 0;
  m_nSpeed = 1;
}

void CSimulationData::Report(const QString& caption, const QString& text, MessageIcon icon) {
  m_pSink->Message(caption, text, icon);
}

void CSimulationData::ReportUnreadable(const char* caption) {
  Report(QString::fromLatin1(caption), QString::fromLatin1(LoadMessages::kUnreadable));
}

void CSimulationData::UpdateScale() {
  float lo, hi;
  switch (m_nContentKind) {
    case ContentTemperature:
      lo = m_fTempMin, hi = m_fTempMax;
      break;
    case ContentHumidity:
      lo = m_fHumidityMin, hi = m_fHumidityMax;
      break;
    case ContentSweatRate:
      lo = m_fSweatMin, hi = m_fSweatMax;
      break;
    default:
      return;
  }
  const float step = static_cast<float>((hi - lo) * 0.25);
  for (int k = 0; k < 5; ++k) {
    m_fScale[k] = lo + static_cast<float>(k) * step;
  }
}

void CSimulationData::ValueToColour(float v, float* rgb) const {
  const float* t = m_fScale;
  if (v < t[0]) {
    rgb[0] = 0, rgb[1] = 0, rgb[2] = 1;
  } else if (v >= t[0] && v < t[1]) {
    rgb[0] = 0, rgb[1] = (v - t[0]) / (t[1] - t[0]), rgb[2] = 1;
  } else if (v >= t[1] && v < t[2]) {
    rgb[0] = 0, rgb[1] = 1, rgb[2] = 1 - (v - t[1]) / (t[2] - t[1]);
  } else if (v >= t[2] && v < t[3]) {
    rgb[0] = (v - t[2]) / (t[3] - t[2]), rgb[1] = 1, rgb[2] = 0;
  } else if (v >= t[3] && v < t[4]) {
    rgb[0] = 1, rgb[1] = 1 - (v - t[3]) / (t[4] - t[3]), rgb[2] = 0;
  } else if (v >= t[4]) {
    rgb[0] = 1, rgb[1] = 0, rgb[2] = 0;
  }
  // NaN satisfies no band and leaves the output as it was.
}

int CSimulationData::SecondsPerSample() const { return SecondsPerSampleOf(m_fSampleInterval); }

int SecondsPerSampleOf(float interval) {
  const double p = static_cast<double>(interval) * 60.0 + 0.5;
  // An interval below 1/120 minute (or not a number) would give zero seconds
  // per sample: the clock then moves one sample per second.
  if (!(p >= 1.0)) {
    return 1;
  }
  if (p >= static_cast<double>(INT_MAX)) {
    return INT_MAX;
  }
  return static_cast<int>(p);
}

void CSimulationData::ClearColours() {
  auto grey = [](float* c) { std::memcpy(c, kNoDataGrey, sizeof kNoDataGrey); };
  grey(m_envColour);
  m_bEnvHasValue = false;
  for (int p = 0; p < kBodyPartCount; ++p) {
    grey(m_skinColours[p]), grey(m_coreColours[p]), grey(m_layerColours[p]);
    m_bSkinHasValue[p] = m_bCoreHasValue[p] = m_bLayerHasValue[p] = false;
    for (int l = 0; l < kMaxLayerColours; ++l) {
      grey(m_allLayerColours[l][p]), m_bRingHasValue[l][p] = false;
    }
  }
}

int CSimulationData::PhaseAt(float time) const {
  int phase = 0;
  for (int i = 1; i < m_nEnvPhases && i < kMaxEnvPhases; ++i) {
    if (m_env[static_cast<std::size_t>(i)].m_fStart <= time) {
      phase = i;
    }
  }
  return phase;
}

const BodyPropertyRow* CSimulationData::BodyRowAt(int part) const {
  if (m_nStep < 0 || m_nStep >= m_nSamples || part < 0 || part >= kBodyPartCount) {
    return nullptr;
  }
  const std::size_t index = static_cast<std::size_t>(m_nStep) * kBodyPartCount + static_cast<std::size_t>(part);
  return index < m_body.size() ? &m_body[index] : nullptr;
}

const FabricRow* CSimulationData::LayerRowAt(int p, int layer) const {
  if (m_nStep < 0 || m_nStep >= m_nSamples || p < 0 || p >= kBodyPartCount) {
    return nullptr;
  }
  // The fabric time step of this sample; none when the fabric interval is
  // unknown.
  long long fabricStep = -1;
  if (m_fFabricInterval != 0.0f) {
    const float ratio = m_fFabricInterval / m_fSampleInterval;
    const double t = std::trunc(static_cast<double>(static_cast<float>(m_nStep) / ratio));
    if (t >= 0 && t < 1e15) {
      fabricStep = static_cast<long long>(t);
    }
  }
  const int layers = m_nLayers[p];
  if (fabricStep < 0 || layer < 1 || layer > layers) {
    return nullptr;
  }
  // The factors come from the files: a product that overflows is no row.
  long long index = 0;
  if (__builtin_mul_overflow(fabricStep, static_cast<long long>(layers), &index) ||
      __builtin_add_overflow(index, static_cast<long long>(layer), &index) ||
      __builtin_mul_overflow(index, static_cast<long long>(m_nNodesPerLayer[p]), &index)) {
    return nullptr;
  }
  --index;
  if (index < 0 || index >= static_cast<long long>(m_fabric[p].size())) {
    return nullptr;
  }
  return &m_fabric[p][static_cast<std::size_t>(index)];
}

void CSimulationData::UpdateColours(bool advance) {
  if (m_nStep >= m_nSamples || m_nStep < 0) {
    return;
  }
  const int s = m_nStep;
  float rgb[3];
  // Only what this step gives a value of the shown quantity keeps a colour.
  ClearColours();

  auto layerRow = [&](int p, int layer) { return LayerRowAt(p, layer); };
  // A value the run does not hold (a hole, NaN) keeps its "no data" grey.
  auto paint = [&](float value, float* colour, bool& hasValue) {
    if (std::isnan(value)) {
      return;
    }
    ValueToColour(value, rgb);
    SetRgb(colour, rgb);
    hasValue = true;
  };

  for (int p = 0; p < kBodyPartCount; ++p) {
    const std::size_t bodyIndex = static_cast<std::size_t>(s) * kBodyPartCount + p;
    if (bodyIndex >= m_body.size()) {
      break;
    }
    const BodyPropertyRow& row = m_body[bodyIndex];
    switch (m_nContentKind) {
      case ContentTemperature: {
        paint(row.m_fSkinTemp, m_skinColours[p], m_bSkinHasValue[p]);
        paint(row.m_fCoreTemp, m_coreColours[p], m_bCoreHasValue[p]);
        if (m_nSelectedLayer > 0) {
          if (const FabricRow* r = layerRow(p, m_nSelectedLayer)) {
            paint(r->m_fTemperature, m_layerColours[p], m_bLayerHasValue[p]);
          }
        }
        const int kept = m_nLayers[p] < kMaxLayerColours ? m_nLayers[p] : kMaxLayerColours;
        for (int l = 1; l <= kept; ++l) {
          if (const FabricRow* r = layerRow(p, l)) {
            paint(r->m_fTemperature, m_allLayerColours[l - 1][p], m_bRingHasValue[l - 1][p]);
          }
        }
        break;
      }
      case ContentHumidity:
        // Relative humidity: percent in the files, a fraction on the scale
        // (as the rooms' humidity is).
        paint(row.m_fSkinHumidity / 100, m_skinColours[p], m_bSkinHasValue[p]);
        if (m_nSelectedLayer > 0) {
          if (const FabricRow* r = layerRow(p, m_nSelectedLayer)) {
            paint(r->m_fHumidity / 100, m_layerColours[p], m_bLayerHasValue[p]);
          }
        }
        break;
      case ContentSweatRate:
        paint(row.m_fSweatRate, m_skinColours[p], m_bSkinHasValue[p]);
        break;
      default:
        break;
    }
  }

  // The room shows the phase in force at this step's time.
  if (m_nEnvPhases >= 1 && m_nEnvPhases <= kMaxEnvPhases) {
    const std::size_t row = static_cast<std::size_t>(s) * kBodyPartCount;
    const float time = row < m_body.size() ? m_body[row].m_fTime : static_cast<float>(s) * m_fSampleInterval;
    const EnvironmentPhase& e = m_env[static_cast<std::size_t>(PhaseAt(time))];
    if (m_nContentKind == ContentTemperature) {
      ValueToColour(e.m_fTemperature, rgb), SetRgb(m_envColour, rgb);
    }
    if (m_nContentKind == ContentHumidity) {
      ValueToColour(e.m_fHumidity, rgb), SetRgb(m_envColour, rgb);
    }
    m_bEnvHasValue = m_nContentKind == ContentTemperature || m_nContentKind == ContentHumidity;
  }

  if (advance) {
    m_nStepAccum += m_nSpeed;
    const int P = SecondsPerSample();
    if (m_nStepAccum >= P) {
      m_nStep += m_nStepAccum / P;
      m_nStepAccum %= P;
    }
  }
}
