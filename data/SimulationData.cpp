#include "SimulationData.h"

#include <algorithm>
#include <cmath>

#include "internal/Prefetched.h"

CSimulationData::CSimulationData() : m_pSink(&CStderrMessageSink::Instance()) { Reset(); }

void CSimulationData::Reset() {
  m_run = RunTables{};
  static const char* const kProperty[] = {"headProperty.dat", "trunckProperty.dat", "armProperty.dat",
                                          "handProperty.dat", "legProperty.dat",    "footProperty.dat"};
  for (int p = 0; p < kBodyPartCount; ++p) {
    m_run.m_fabricFileNames[p] = QStringLiteral("fabrics") + QLatin1String(kBodyPartNames[p]) + QStringLiteral(".dat");
    m_run.m_propertyFileNames[p] = QString::fromLatin1(kProperty[p]);
    m_run.m_partNames[p] = QString::fromLatin1(kBodyPartNames[p]);
  }
  ++m_nGeneration;
  m_state.Restart();
  m_pExact.reset();
  m_pReadAhead = m_bReadExact ? std::make_unique<ExactTablesRead>() : nullptr;
}

void CSimulationData::SetMessageSink(IMessageSink* sink) {
  m_pSink = sink ? sink : &CStderrMessageSink::Instance();
  if (m_pExact) {
    m_pExact->SetMessageSink(m_pSink);
  }
}

void CSimulationData::Report(const QString& caption, const QString& text, MessageIcon icon) {
  m_pSink->Message(caption, text, icon);
}

void CSimulationData::ReportUnreadable(const char* caption) {
  Report(QString::fromLatin1(caption), QString::fromLatin1(LoadMessages::kUnreadable));
}

const BodyPropertyRow* CSimulationData::BodyRowAt(int part) const { return m_run.BodyRowAt(m_state.DrawnStep(), part); }

const FabricRow* CSimulationData::LayerRowAt(int part, int layer) const {
  return m_run.LayerRowAt(m_state.DrawnStep(), part, layer);
}

const PartColours& CSimulationData::Colours() const {
  const ColourKey key{m_state.Content(), m_state.SelectedLayer(), m_state.DrawnStep(), m_nGeneration};
  if (!(key == m_colourKey)) {
    Recolour(key);
    m_colourKey = key;
  }
  return m_colours;
}

void CSimulationData::Recolour(const ColourKey& key) const {
  PartColours& c = m_colours;
  const RunTables& run = m_run;
  c.Clear();

  // The scale spans the shown quantity's range; a range the run never
  // filled keeps the scale as it was.
  float lo = 0, hi = 0;
  switch (key.content) {
    case ContentTemperature:
      lo = run.m_fTempMin;
      hi = run.m_fTempMax;
      break;
    case ContentHumidity:
      lo = run.m_fHumidityMin;
      hi = run.m_fHumidityMax;
      break;
    default:
      lo = run.m_fSweatMin;
      hi = run.m_fSweatMax;
      break;
  }
  if (lo <= hi) {
    // In double: the span of two values near a float's limits is beyond it.
    const double step = (static_cast<double>(hi) - lo) * 0.25;
    for (int k = 0; k < 5; ++k) {
      c.m_fScale[k] = static_cast<float>(lo + k * step);
    }
  }

  const int s = key.step;
  if (s < 0 || s >= run.m_nSamples) {
    return;
  }
  float rgb[3];
  // Only what this step gives a value of the shown quantity gets a colour;
  // a value the run does not hold (a hole, NaN) keeps its "no data" grey.
  auto paint = [&](float value, float* colour, bool& hasValue) {
    if (std::isnan(value)) {
      return;
    }
    c.ValueToColour(value, rgb);
    colour[0] = rgb[0];
    colour[1] = rgb[1];
    colour[2] = rgb[2];
    hasValue = true;
  };
  const int layer = key.layer;
  for (int p = 0; p < kBodyPartCount; ++p) {
    const BodyPropertyRow* row = run.BodyRowAt(s, p);
    if (!row) {
      break;
    }
    switch (key.content) {
      case ContentTemperature: {
        paint(row->m_fSkinTemp, c.m_skinColours[p], c.m_bSkinHasValue[p]);
        paint(row->m_fCoreTemp, c.m_coreColours[p], c.m_bCoreHasValue[p]);
        if (const FabricRow* r = layer > 0 ? run.LayerRowAt(s, p, layer) : nullptr) {
          paint(r->m_fTemperature, c.m_layerColours[p], c.m_bLayerHasValue[p]);
        }
        const int kept = std::min(run.m_nLayers[p], kMaxLayerColours);
        for (int l = 1; l <= kept; ++l) {
          if (const FabricRow* r = run.LayerRowAt(s, p, l)) {
            paint(r->m_fTemperature, c.m_allLayerColours[l - 1][p], c.m_bRingHasValue[l - 1][p]);
          }
        }
        break;
      }
      case ContentHumidity:
        // Relative humidity: percent in the files, a fraction on the scale
        // (as the rooms' humidity is).
        paint(row->m_fSkinHumidity / 100, c.m_skinColours[p], c.m_bSkinHasValue[p]);
        if (const FabricRow* r = layer > 0 ? run.LayerRowAt(s, p, layer) : nullptr) {
          paint(r->m_fHumidity / 100, c.m_layerColours[p], c.m_bLayerHasValue[p]);
        }
        break;
      default:
        paint(row->m_fSweatRate, c.m_skinColours[p], c.m_bSkinHasValue[p]);
        break;
    }
  }

  // The room shows the phase in force at this step's time.
  if (run.m_nEnvPhases >= 1 && run.m_nEnvPhases <= kMaxEnvPhases) {
    const BodyPropertyRow* first = run.BodyRowAt(s, 0);
    const float time = first ? first->m_fTime : static_cast<float>(s) * run.m_fSampleInterval;
    const EnvironmentPhase& e = run.m_env[static_cast<std::size_t>(run.PhaseAt(time))];
    if (key.content == ContentTemperature) {
      paint(e.m_fTemperature, c.m_envColour, c.m_bEnvHasValue);
    } else if (key.content == ContentHumidity) {
      paint(e.m_fHumidity, c.m_envColour, c.m_bEnvHasValue);
    }
  }
}
