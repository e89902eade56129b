#pragma once
// Row records of the simulation data files and the body-part order shared by
// every per-part table.

#include <QString>
#include <optional>
#include <vector>

#include "BodyParts.h"

// What the 3D views colour the body by.
enum ContentKind : int { ContentTemperature = 0, ContentHumidity = 1, ContentSweatRate = 2 };
// The kind a number names (a radio button's id, a saved choice); none for
// any other number.
inline std::optional<ContentKind> ContentKindOf(int kind) {
  if (kind == ContentTemperature || kind == ContentHumidity || kind == ContentSweatRate) {
    return static_cast<ContentKind>(kind);
  }
  return std::nullopt;
}

// One data row of "configure.dat".
struct EnvironmentPhase {
  float m_fStart = 0;        // start of the phase in minutes (the file holds its duration)
  float m_fTemperature = 0;  // ambient temperature
  float m_fHumidity = 0;     // ambient relative humidity
  float m_fColumn4 = 0;
  float m_fClothed[kBodyPartCount] = {};  // per part: > 0 (as an int) means clothed
  float m_fColumn12 = 0;
  float m_fColumn13 = 0;

  // Whether part p is clothed: its value truncated to an integer is above 0.
  // The first phase's say decides which fabric files a run has.
  bool IsClothed(int p) const { return m_fClothed[p] >= 1.0f; }
};

// One row of a fabric file.
struct FabricRow {
  float m_fTime = 0;      // minutes
  float m_fPosition = 0;  // cm through the clothing thickness
  int m_nLayer = 0;       // layer number as written in the file
  float m_fVaporConc = 0;
  float m_fMeanVaporConc = 0;
  float m_fEvapRate = 0;
  float m_fHumidity = 0;  // relative humidity in percent, as the file holds it
  float m_fTemperature = 0;
  float m_fLiquidFraction = 0;  // percent; optional ninth column
};

struct FiberRow {
  float m_fTime = 0;
  float m_fPosition = 0;
  float m_fValue1 = 0;
  float m_fValue2 = 0;
};

struct FiberTable {
  QString m_strName;
  std::vector<FiberRow> m_rows;
};

struct BodyPropertyRow {
  float m_fTime = 0;
  int m_nPart = 0;
  float m_fSkinTemp = 0;
  float m_fCoreTemp = 0;
  float m_fMetabolism = 0;
  float m_fSkinHumidity = 0;  // percent
  float m_fBloodFlow = 0;
  float m_fSweatRate = 0;
  float m_fSweatAccum = 0;
  float m_fEvapHeat = 0;
  float m_fSkinPressure = 0;
};

struct ComfortRow {
  float m_fTime = 0;
  float m_fThermal = 0;
  float m_fDampness = 0;
  float m_fComfort = 0;
};
