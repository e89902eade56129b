#pragma once
// The colours the 3D views paint: the scale of the shown quantity, and the
// colour of the room, of every body part's skin and core, of the chosen
// fabric layer and of every layer's ring, at the drawn step.

#include "BodyParts.h"

constexpr int kMaxLayerColours = 10;
inline constexpr float kNoDataGrey[4] = {0.55f, 0.55f, 0.55f, 1.0f};

struct PartColours {
  float m_fScale[5] = {29.0f, 31.25f, 33.5f, 35.75f, 38.0f};
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

  PartColours() { Clear(); }
  // Every colour grey, standing for no value; the scale stays.
  void Clear();
  // The colour of `value` on the scale, into rgb; a NaN leaves rgb as it was.
  void ValueToColour(float value, float* rgb) const;
};
