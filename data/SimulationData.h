#pragma once
// The one in-memory record of a simulation run: the loaded tables, the value
// ranges and colour scale derived from them, the current colours of every body
// part and fabric layer, and the playback clock.

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "MessageSink.h"
#include "Rows.h"

constexpr int kMaxEnvPhases = 10;
constexpr int kMaxLayerColours = 10;
inline constexpr float kNoDataGrey[4] = {0.55f, 0.55f, 0.55f, 1.0f};

class CSimulationData {
 public:
  CSimulationData();
  ~CSimulationData();
  CSimulationData(const CSimulationData&) = delete;
  CSimulationData& operator=(const CSimulationData&) = delete;

  // Reads every data file of `dir` (ending with a separator). A failed load
  // may be followed by another; each starts from an empty store.
  bool Load(const QString& dir);
  bool LoadEnvironment();
  bool LoadFiberFile(const QString& name);
  bool LoadFabrics();
  bool LoadBodyProperties(const QString& name);
  bool LoadComfort();
  void LoadIds();

  void UpdateScale();
  void ValueToColour(float value, float* rgb) const;
  void UpdateColours(bool advance);
  // The rows behind the colours of the current step: part p's body row, and
  // its layer `layer` (1-based) at the fabric step; null where there is none.
  const BodyPropertyRow* BodyRowAt(int part) const;
  const FabricRow* LayerRowAt(int part, int layer) const;
  // Every colour grey, standing for no value.
  void ClearColours();
  // The environment phase in force at `time` (minutes): the last to start at
  // or before it.
  int PhaseAt(float time) const;

  // Seconds of playback per body sample, never below 1.
  int SecondsPerSample() const;

  void SetMessageSink(IMessageSink* sink) { m_pSink = sink ? sink : &CStderrMessageSink::Instance(); }

  bool m_bLoaded{};
  QString m_strDataDir;
  std::array<EnvironmentPhase, kMaxEnvPhases> m_env;
  int m_nSelectedModel{};
  QString m_strModelId;
  QStringList m_garmentIds;
  QString m_fabricFileNames[kBodyPartCount];
  QString m_propertyFileNames[kBodyPartCount];
  QString m_partNames[kBodyPartCount];
  int m_nEnvPhases{};
  float m_fTempMax{}, m_fTempMin{};
  float m_fHumidityMax{}, m_fHumidityMin{};
  float m_fSweatMax{}, m_fSweatMin{};
  int m_nSamples{};
  float m_fSampleInterval{};
  float m_fFabricInterval{};
  int m_nLayers[kBodyPartCount]{};
  int m_nNodesPerLayer[kBodyPartCount]{};
  std::vector<FabricRow> m_fabric[kBodyPartCount];
  // Whether the part's fabric file carries the ninth column (the liquid
  // volume fraction); without it m_fLiquidFraction holds no value.
  bool m_bLiquidFraction[kBodyPartCount] = {};
  std::vector<FiberTable> m_fibers;
  std::vector<BodyPropertyRow> m_body;
  std::vector<ComfortRow> m_comfort[kBodyPartCount];
  int m_nContentKind{};
  int m_nSelectedLayer{};
  float m_fScale[5]{};
  float m_envColour[4]{};
  float m_skinColours[kBodyPartCount][4]{};
  float m_coreColours[kBodyPartCount][4]{};
  float m_layerColours[kBodyPartCount][4]{};
  float m_allLayerColours[kMaxLayerColours][kBodyPartCount][4]{};
  // Whether each colour above stands for a value of the shown quantity at
  // the shown step. One that does not is kNoDataGrey, a grey that is not on
  // the colour scale: never a placeholder, nor a value of another quantity
  // or step.
  bool m_bEnvHasValue{};
  bool m_bSkinHasValue[kBodyPartCount]{};
  bool m_bCoreHasValue[kBodyPartCount]{};
  bool m_bLayerHasValue[kBodyPartCount]{};
  bool m_bRingHasValue[kMaxLayerColours][kBodyPartCount]{};
  int m_nStep{};
  int m_nStepAccum{};
  int m_nSpeed{};

 private:
  struct Prefetched;
  void Prefetch(const QStringList& fiberFiles);
  void Reset();
  void Report(const QString& caption, const QString& text, MessageIcon icon = MessageIcon::Error);
  void ReportUnreadable(const char* caption);
  QString PathOf(const QString& name) const { return m_strDataDir + name; }

  IMessageSink* m_pSink;
  std::unique_ptr<Prefetched> m_pPrefetched;  // files parsed ahead, during Load only
};

// Seconds of playback per sample of `interval` minutes: round(interval × 60),
// never below 1. The clock and the player's slider both count in these.
int SecondsPerSampleOf(float interval);

// Message texts shared by the loader and its tests.
namespace LoadMessages {
inline constexpr const char* kUnreadable = "Some data can not be read!";
inline constexpr const char* kNoEnvironment = "No data or incorrect format in environment data file!";
inline constexpr const char* kTooManyPhases =
    "Only the first 10 environment phases are used; the further rows of configure.dat are ignored.";
inline constexpr const char* kNoBody = "No data or incorrect format in body property data file!";
inline constexpr const char* kNoComfort = "No data or incorrect format in BodyDataforComfort data file!";
inline constexpr const char* kNoIds = "No data or incorrect format in id data file!";
inline constexpr const char* kFiberSuffix = " format is incorrect!";
inline constexpr const char* kCannotRead = " can not be read!";  // after a file name
}  // namespace LoadMessages
