#include "PartColours.h"

#include <cstring>

void PartColours::Clear() {
  auto grey = [](float* c) { std::memcpy(c, kNoDataGrey, sizeof kNoDataGrey); };
  grey(m_envColour);
  m_bEnvHasValue = false;
  for (int p = 0; p < kBodyPartCount; ++p) {
    grey(m_skinColours[p]);
    grey(m_coreColours[p]);
    grey(m_layerColours[p]);
    m_bSkinHasValue[p] = m_bCoreHasValue[p] = m_bLayerHasValue[p] = false;
    for (int l = 0; l < kMaxLayerColours; ++l) {
      grey(m_allLayerColours[l][p]);
      m_bRingHasValue[l][p] = false;
    }
  }
}

void PartColours::ValueToColour(float v, float* rgb) const {
  const float* t = m_fScale;
  auto set = [rgb](float r, float g, float b) {
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
  };
  if (v < t[0]) {
    set(0, 0, 1);
  } else if (v >= t[0] && v < t[1]) {
    set(0, (v - t[0]) / (t[1] - t[0]), 1);
  } else if (v >= t[1] && v < t[2]) {
    set(0, 1, 1 - (v - t[1]) / (t[2] - t[1]));
  } else if (v >= t[2] && v < t[3]) {
    set((v - t[2]) / (t[3] - t[2]), 1, 0);
  } else if (v >= t[3] && v < t[4]) {
    set(1, 1 - (v - t[3]) / (t[4] - t[3]), 0);
  } else if (v >= t[4]) {
    set(1, 0, 0);
  }
  // NaN satisfies no band and leaves the output as it was.
}
