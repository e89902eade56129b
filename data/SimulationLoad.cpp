// Reading a run folder into the store.

#include "IdFile.h"
#include "LineFormats.h"
#include "LineReader.h"
#include "SimulationData.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void Widen(float value, float& lo, float& hi) {
  if (value > hi) hi = value;
  if (value < lo) lo = value;
}

// Scans one line, the way the 256-byte line buffer and sscanf would see it:
// a too-long line yields nothing.
inline int Scan(const TextLine& line, const ScanSpec& spec, void* const* outs) {
  if (line.tooLong) return 0;
  return ScanLine(line.text, line.text + line.length, spec, outs);
}

// Rows expected in a file of `bytes` bytes with lines of about `lineBytes`.
std::size_t EstimateRows(const QString& path, std::size_t lineBytes) {
  const qint64 size = QFileInfo(path).size();
  return size > 0 ? static_cast<std::size_t>(size) / lineBytes + 16 : 16;
}

}  // namespace

bool CSimulationData::Load(const QString& dir) {
  Reset();
  m_strDataDir = dir;
  if (!m_strDataDir.isEmpty() && !m_strDataDir.endsWith(QLatin1Char('/'))) m_strDataDir += QLatin1Char('/');

  if (!LoadEnvironment()) return false;

  QDir folder(m_strDataDir);
  const QStringList fibers = folder.entryList({QStringLiteral("Fiber*.dat")}, QDir::Files, QDir::Name);
  for (const QString& name : fibers) {
    if (!LoadFiberFile(name))
      Report(QStringLiteral("Error"), name + QString::fromLatin1(LoadMessages::kFiberSuffix));
  }

  LoadFabrics();

  if (!LoadBodyProperties(QStringLiteral("bodyProperty.dat"))) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoBody));
    return false;
  }
  if (!LoadComfort()) return false;
  LoadIds();

  m_bLoaded = true;
  UpdateScale();
  return true;
}

bool CSimulationData::LoadEnvironment() {
  const QString noData = QString::fromLatin1(LoadMessages::kNoEnvironment);
  CLineReader reader;
  if (!reader.Open(PathOf(QStringLiteral("configure.dat")))) {
    Report(QStringLiteral("Error"), noData);
    return false;
  }
  TextLine line{};
  if (reader.Next(line) && !line.tooLong) {
    char buf[CLineReader::kMaxLine + 1];
    std::memcpy(buf, line.text, line.length);
    buf[line.length] = '\0';
    int model = 0;
    if (std::sscanf(buf, "Selected model:%d", &model) == 1) m_nSelectedModel = model;
  }
  m_nEnvPhases = 0;
  int unreadable = 0;
  bool tooMany = false;
  float v[13];
  void* outs[13];
  for (int i = 0; i < 13; ++i) outs[i] = &v[i];
  while (reader.Next(line)) {
    if (Scan(line, LineFormats::kEnvironment, outs) != 13) {
      ++unreadable;
      continue;
    }
    if (m_nEnvPhases >= kMaxEnvPhases) {
      tooMany = true;
      continue;
    }
    EnvironmentPhase& e = m_env[static_cast<std::size_t>(m_nEnvPhases)];
    e.m_fTemperature = v[1];
    e.m_fHumidity = v[2];
    e.m_fColumn4 = v[3];
    for (int p = 0; p < kBodyPartCount; ++p) e.m_fClothed[p] = v[4 + p];
    e.m_fStart = v[10];
    e.m_fColumn12 = v[11];
    e.m_fColumn13 = v[12];
    Widen(e.m_fTemperature, m_fTempMin, m_fTempMax);
    ++m_nEnvPhases;
  }
  if (m_nEnvPhases == 0) {
    m_env[0].m_fStart = m_env[0].m_fTemperature = m_env[0].m_fHumidity = 0;
    Report(QStringLiteral("Error"), noData);
    return false;
  }
  if (unreadable > 2) ReportUnreadable("Environment Data");
  if (tooMany) Report(QStringLiteral("Environment Data"), QString::fromLatin1(LoadMessages::kTooManyPhases),
                      MessageIcon::Warning);
  float start = 0;
  for (int i = 0; i < m_nEnvPhases; ++i) {
    const float duration = m_env[static_cast<std::size_t>(i)].m_fStart;
    m_env[static_cast<std::size_t>(i)].m_fStart = start;
    start += duration;
  }
  return true;
}

bool CSimulationData::LoadFiberFile(const QString& name) {
  FiberTable table;
  table.m_strName = name;
  CLineReader reader;
  const QString path = PathOf(name);
  if (!reader.Open(path)) return false;
  table.m_rows.reserve(EstimateRows(path, 40));
  FiberRow row;
  void* outs[4] = {&row.m_fTime, &row.m_fPosition, &row.m_fValue1, &row.m_fValue2};
  int unreadable = 0;
  TextLine line{};
  while (reader.Next(line)) {
    if (Scan(line, LineFormats::kFiber, outs) == 4)
      table.m_rows.push_back(row);
    else
      ++unreadable;
  }
  if (unreadable > 2) ReportUnreadable("Fiber Data");
  if (table.m_rows.empty()) return false;
  table.m_rows.shrink_to_fit();
  m_fibers.push_back(std::move(table));
  return true;
}

bool CSimulationData::LoadFabrics() {
  int unreadable = 0;
  bool intervalPending = true;
  for (int p = 0; p < kBodyPartCount; ++p) {
    // Clothed when the value truncated to an integer is above 0.
    if (m_env[0].m_fClothed[p] >= 1.0f) {
      CLineReader reader;
      const QString path = PathOf(m_fabricFileNames[p]);
      if (!reader.Open(path)) return false;
      std::vector<FabricRow>& table = m_fabric[p];
      table.reserve(EstimateRows(path, 90));
      int layers = 1, nodes = 1, lastLayer = -1;
      bool intervalFound = false;
      float t0 = 0;
      FabricRow row;
      void* outs[9] = {&row.m_fTime,      &row.m_fPosition, &row.m_nLayer,
                       &row.m_fVaporConc, &row.m_fMeanVaporConc, &row.m_fEvapRate,
                       &row.m_fHumidity,  &row.m_fTemperature,   &row.m_fLiquidFraction};
      TextLine line{};
      while (reader.Next(line)) {
        if (!line.tooLong && line.CStringLength() < 9) continue;
        row.m_fLiquidFraction = 0;
        if (Scan(line, LineFormats::kFabric, outs) < 8) {
          ++unreadable;
          continue;
        }
        row.m_fHumidity /= 100;
        Widen(row.m_fHumidity, m_fHumidityMin, m_fHumidityMax);
        if (table.empty()) {
          t0 = row.m_fTime;
          lastLayer = row.m_nLayer;
        } else if (!intervalFound) {
          if (std::fabs(t0 - row.m_fTime) < 0.00001f) {
            if (row.m_nLayer != lastLayer) {
              lastLayer = row.m_nLayer;
              ++layers;
            } else if (layers == 1) {
              ++nodes;
            }
          } else if (intervalPending) {
            m_fFabricInterval = std::fabs(row.m_fTime - t0);
            intervalPending = false;
            intervalFound = true;
          }
        }
        table.push_back(row);
      }
      m_nNodesPerLayer[p] = nodes;
      m_nLayers[p] = layers;
    }
    if (unreadable > 2) ReportUnreadable("Fabric Data");
  }
  return true;
}

bool CSimulationData::LoadBodyProperties(const QString& name) {
  CLineReader reader;
  const QString path = PathOf(name);
  if (!reader.Open(path)) return false;
  m_body.reserve(EstimateRows(path, 100));
  BodyPropertyRow row;
  void* outs[11] = {&row.m_fTime,      &row.m_nPart,         &row.m_fSkinTemp,  &row.m_fCoreTemp,
                    &row.m_fMetabolism, &row.m_fSkinHumidity, &row.m_fBloodFlow, &row.m_fSweatRate,
                    &row.m_fSweatAccum, &row.m_fEvapHeat,     &row.m_fSkinPressure};
  int unreadable = 0;
  TextLine line{};
  while (reader.Next(line)) {
    if (Scan(line, LineFormats::kBody, outs) != 11) {
      ++unreadable;
      continue;
    }
    Widen(row.m_fSkinTemp, m_fTempMin, m_fTempMax);
    Widen(row.m_fCoreTemp, m_fTempMin, m_fTempMax);
    Widen(row.m_fSkinHumidity, m_fHumidityMin, m_fHumidityMax);
    Widen(row.m_fSweatRate, m_fSweatMin, m_fSweatMax);
    m_body.push_back(row);
  }
  if (unreadable > 2) ReportUnreadable("BodyProperty Data");
  if (m_body.empty()) return false;
  for (int i = 0; i < m_nEnvPhases && i < kMaxEnvPhases; ++i)
    Widen(m_env[static_cast<std::size_t>(i)].m_fHumidity, m_fHumidityMin, m_fHumidityMax);
  m_nSamples = static_cast<int>(m_body.size() / kBodyPartCount);
  if (m_body.size() >= 7) m_fSampleInterval = m_body[6].m_fTime - m_body[0].m_fTime;
  if (m_fSampleInterval == 0) m_fSampleInterval = 1.0f;
  return true;
}

bool CSimulationData::LoadComfort() {
  CLineReader reader;
  if (!reader.Open(PathOf(QStringLiteral("BodyDataforComfort.dat")))) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoComfort));
    return false;
  }
  float time = 0, thermal = 0, damp = 0, comfort = 0;
  int part = 0;
  void* outs[5] = {&time, &part, &thermal, &damp, &comfort};
  int unreadable = 0;
  TextLine line{};
  while (reader.Next(line)) {
    if (Scan(line, LineFormats::kComfort, outs) != 5) {
      ++unreadable;
      continue;
    }
    if (part >= 0 && part < kBodyPartCount) m_comfort[part].push_back({time, thermal, damp, comfort});
  }
  if (unreadable > 2) ReportUnreadable("BodyDataforComfort Data");
  return true;
}

void CSimulationData::LoadIds() {
  std::string text;
  if (!ReadWholeFile(PathOf(QStringLiteral("id.dat")), text)) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoIds));
    return;
  }
  IdFileContent ids = ParseIdFile(text);
  if (ids.hasModelId) m_strModelId = ids.modelId;
  m_garmentIds += ids.garmentIds;
}
