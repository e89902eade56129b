#pragma once
// The tables of one run as its files give them, and the value ranges read
// with them. The loader fills them; everything else reads them through the
// store's const access.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "Rows.h"

constexpr int kMaxEnvPhases = 10;

// The compiler's own copy of the arrays below names its loop counter in the
// reserved way that bugprone-reserved-identifier reports.
struct RunTables {  // NOLINT(bugprone-reserved-identifier)
  bool m_bLoaded = false;
  QString m_strDataDir;
  std::array<EnvironmentPhase, kMaxEnvPhases> m_env{};
  int m_nSelectedModel = 0;
  QString m_strModelId;
  QStringList m_garmentIds;
  QString m_fabricFileNames[kBodyPartCount];
  QString m_propertyFileNames[kBodyPartCount];
  QString m_partNames[kBodyPartCount];
  int m_nEnvPhases = 1;
  float m_fTempMax = 0, m_fTempMin = 10000;
  float m_fHumidityMax = 0, m_fHumidityMin = 10000;
  float m_fSweatMax = 0, m_fSweatMin = 10000;
  int m_nSamples = 0;
  float m_fSampleInterval = 0;
  float m_fFabricInterval = 0;
  int m_nLayers[kBodyPartCount]{};
  int m_nNodesPerLayer[kBodyPartCount]{};
  std::vector<FabricRow> m_fabric[kBodyPartCount];
  // Whether the part's fabric file carries the ninth column (the liquid
  // volume fraction); without it m_fLiquidFraction holds no value.
  bool m_bLiquidFraction[kBodyPartCount] = {};
  std::vector<FiberTable> m_fibers;
  std::vector<BodyPropertyRow> m_body;
  std::vector<ComfortRow> m_comfort[kBodyPartCount];
  // Places the loader filled with a hole (no row of the file stood there):
  // a table's rows less its holes are the rows read.
  std::size_t m_nFabricHoles[kBodyPartCount]{};
  std::size_t m_nBodyHoles = 0;
  std::size_t m_nComfortHoles[kBodyPartCount]{};

  // Seconds of playback per body sample, never below 1.
  int SecondsPerSample() const;
  // The most fabric layers of any part.
  int MostLayers() const;
  // The environment phase in force at `time` (minutes): the last to start at
  // or before it.
  int PhaseAt(float time) const;
  // Part p's body row at sample `step`, and its layer `layer` (1-based) at
  // the fabric step of that sample; null where there is none.
  const BodyPropertyRow* BodyRowAt(int step, int part) const;
  const FabricRow* LayerRowAt(int step, int part, int layer) const;
  // The fabric time step that sample `step` falls in; -1 when the fabric
  // interval is unknown or the sample is outside the run.
  long long FabricStepOf(int step) const;
};

// Seconds of playback per sample of `interval` minutes: round(interval × 60),
// never below 1. The clock and the player's slider both count in these.
int SecondsPerSampleOf(float interval);
