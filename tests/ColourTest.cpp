// The colour scale, the colour mapping and the playback clock.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "RunFolder.h"
#include "SimulationData.h"

namespace {
void ExpectRgb(const float* rgb, float r, float g, float b) {
  EXPECT_FLOAT_EQ(rgb[0], r);
  EXPECT_FLOAT_EQ(rgb[1], g);
  EXPECT_FLOAT_EQ(rgb[2], b);
}

// A store with `samples` samples whose skin temperature rises 1 degree per
// sample, and a trunk fabric of `layers` layers of 2 nodes per fabric step.
void Fill(CSimulationData& d, int samples, int layers, float sampleInterval, float fabricInterval) {
  d.m_fTempMin = 30, d.m_fTempMax = 34;
  d.UpdateScale();
  for (int s = 0; s < samples; ++s)
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = s * sampleInterval;
      r.m_nPart = p;
      r.m_fSkinTemp = 30.0f + s;
      r.m_fCoreTemp = 37;
      r.m_fSkinHumidity = 0.5f;
      r.m_fSweatRate = 100;
      d.m_body.push_back(r);
    }
  d.m_nSamples = samples;
  d.m_fSampleInterval = sampleInterval;
  d.m_fFabricInterval = fabricInterval;
  d.m_nLayers[Trunk] = layers;
  d.m_nNodesPerLayer[Trunk] = 2;
  for (int t = 0; t < samples; ++t)
    for (int l = 1; l <= layers; ++l)
      for (int n = 0; n < 2; ++n) {
        FabricRow r;
        r.m_nLayer = l;
        r.m_fTemperature = 30.0f + (n == 1 ? static_cast<float>(l) : 0.5f);  // last node: 30 + layer
        r.m_fHumidity = 0.6f;
        d.m_fabric[Trunk].push_back(r);
      }
}
}  // namespace

TEST(ColourScale, InitialStateAndNothingToPlay) {
  CSimulationData d;
  const float expected[5] = {29.0f, 31.25f, 33.5f, 35.75f, 38.0f};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(d.m_fScale[k], expected[k]);
  const float headBefore[4] = {d.m_skinColours[0][0], d.m_skinColours[0][1], d.m_skinColours[0][2],
                               d.m_skinColours[0][3]};
  d.UpdateColours(true);
  EXPECT_EQ(d.m_nStep, 0);
  EXPECT_EQ(d.m_nStepAccum, 0);
  ExpectRgb(d.m_skinColours[0], headBefore[0], headBefore[1], headBefore[2]);
  ExpectRgb(d.m_layerColours[Trunk], 1, 1, 0);
}

TEST(ColourScale, FiveBandsFromBlueToRed) {
  CSimulationData d;
  d.m_fTempMin = 30, d.m_fTempMax = 34;
  d.UpdateScale();
  for (int k = 0; k < 5; ++k) EXPECT_EQ(d.m_fScale[k], 30.0f + k);
  float rgb[3];
  d.ValueToColour(31.5f, rgb), ExpectRgb(rgb, 0, 1, 0.5f);
  d.ValueToColour(29.0f, rgb), ExpectRgb(rgb, 0, 0, 1);
  d.ValueToColour(30.5f, rgb), ExpectRgb(rgb, 0, 0.5f, 1);
  d.ValueToColour(32.25f, rgb), ExpectRgb(rgb, 0.25f, 1, 0);
  d.ValueToColour(33.75f, rgb), ExpectRgb(rgb, 1, 0.25f, 0);
  d.ValueToColour(34.0f, rgb), ExpectRgb(rgb, 1, 0, 0);
  d.ValueToColour(99.0f, rgb), ExpectRgb(rgb, 1, 0, 0);
  rgb[0] = 0.1f, rgb[1] = 0.2f, rgb[2] = 0.3f;
  d.ValueToColour(std::nanf(""), rgb), ExpectRgb(rgb, 0.1f, 0.2f, 0.3f);
}

TEST(ColourScale, EqualEndsGiveBlueBelowAndRedElsewhere) {
  CSimulationData d;
  d.m_nContentKind = ContentHumidity;
  d.m_fHumidityMin = d.m_fHumidityMax = 0.5f;
  d.UpdateScale();
  float rgb[3];
  d.ValueToColour(0.4f, rgb), ExpectRgb(rgb, 0, 0, 1);
  d.ValueToColour(0.5f, rgb), ExpectRgb(rgb, 1, 0, 0);
  d.ValueToColour(0.6f, rgb), ExpectRgb(rgb, 1, 0, 0);
  d.m_nContentKind = 7;  // unknown kind: scale unchanged
  d.m_fHumidityMax = 5;
  d.UpdateScale();
  EXPECT_EQ(d.m_fScale[4], 0.5f);
}

TEST(UpdateColours, TemperatureColoursSkinCoreAndLayers) {
  CSimulationData d;
  Fill(d, 4, 3, 1.0f, 1.0f);
  d.m_nStep = 2;  // skin 32 → green; layer rows: last node of layer l is 30 + l
  d.m_nSelectedLayer = 2;
  d.UpdateColours(false);
  ExpectRgb(d.m_skinColours[Trunk], 0, 1, 0);
  ExpectRgb(d.m_coreColours[Trunk], 1, 0, 0);
  ExpectRgb(d.m_layerColours[Trunk], 0, 1, 0);        // layer 2: 32
  ExpectRgb(d.m_allLayerColours[0][Trunk], 0, 1, 1);  // layer 1: 31
  ExpectRgb(d.m_allLayerColours[2][Trunk], 1, 1, 0);  // layer 3: 33
  EXPECT_EQ(d.m_nStep, 2);
  EXPECT_EQ(d.m_skinColours[Trunk][3], 1.0f);  // alpha untouched
}

TEST(UpdateColours, SelectedLayerOutsideTheTableKeepsItsColour) {
  CSimulationData d;
  Fill(d, 4, 2, 1.0f, 1.0f);
  d.m_nSelectedLayer = 0;
  d.UpdateColours(false);
  ExpectRgb(d.m_layerColours[Trunk], 1, 1, 0);
  // Layer 3 of a two-layer part would land on the next time step's rows.
  d.m_nSelectedLayer = 3;
  d.UpdateColours(false);
  ExpectRgb(d.m_layerColours[Trunk], 1, 1, 0);
}

TEST(UpdateColours, HumidityAndSweatTouchOnlyTheirColours) {
  CSimulationData d;
  Fill(d, 2, 2, 1.0f, 1.0f);
  d.m_nSelectedLayer = 1;
  d.UpdateColours(false);
  float core[4], layers[4], env[4];
  std::memcpy(core, d.m_coreColours[Trunk], sizeof core);
  std::memcpy(layers, d.m_allLayerColours[0][Trunk], sizeof layers);
  d.m_nContentKind = ContentHumidity;
  d.m_fHumidityMin = 0, d.m_fHumidityMax = 1;
  d.UpdateScale();
  d.UpdateColours(false);
  ExpectRgb(d.m_skinColours[Trunk], 0, 1, 0);      // 0.5 is t2
  ExpectRgb(d.m_layerColours[Trunk], 0.4f, 1, 0);  // 0.6
  ExpectRgb(d.m_coreColours[Trunk], core[0], core[1], core[2]);
  ExpectRgb(d.m_allLayerColours[0][Trunk], layers[0], layers[1], layers[2]);

  std::memcpy(env, d.m_envColour, sizeof env);
  const float layerBefore[3] = {d.m_layerColours[Trunk][0], d.m_layerColours[Trunk][1], d.m_layerColours[Trunk][2]};
  d.m_nContentKind = ContentSweatRate;
  d.m_fSweatMin = 0, d.m_fSweatMax = 200;
  d.UpdateScale();
  d.UpdateColours(false);
  ExpectRgb(d.m_skinColours[Trunk], 0, 1, 0);  // 100 of 0..200 is t2
  ExpectRgb(d.m_layerColours[Trunk], layerBefore[0], layerBefore[1], layerBefore[2]);
  ExpectRgb(d.m_envColour, env[0], env[1], env[2]);
}

TEST(UpdateColours, EnvironmentTakesTheLastPhase) {
  CSimulationData d;
  Fill(d, 2, 0, 1.0f, 0.0f);
  d.m_nEnvPhases = 2;
  d.m_env[0].m_fTemperature = 30;
  d.m_env[1].m_fTemperature = 34;
  d.UpdateColours(false);
  ExpectRgb(d.m_envColour, 1, 0, 0);
}

TEST(UpdateColours, ClockAdvancesOneSamplePerIntervalOfSeconds) {
  CSimulationData d;
  Fill(d, 10, 1, 0.5f, 0.5f);
  EXPECT_EQ(d.SecondsPerSample(), 30);
  for (int i = 0; i < 29; ++i) d.UpdateColours(true);
  EXPECT_EQ(d.m_nStep, 0);
  EXPECT_EQ(d.m_nStepAccum, 29);
  d.UpdateColours(true);
  EXPECT_EQ(d.m_nStep, 1);
  EXPECT_EQ(d.m_nStepAccum, 0);
  d.m_fSampleInterval = 1.0f;
  EXPECT_EQ(d.SecondsPerSample(), 60);
  d.m_nSpeed = 150;
  d.UpdateColours(true);
  EXPECT_EQ(d.m_nStep, 3);
  EXPECT_EQ(d.m_nStepAccum, 30);
}

TEST(UpdateColours, TinySampleIntervalStepsOncePerSecond) {
  CSimulationData d;
  Fill(d, 5, 1, 0.001f, 0.001f);
  EXPECT_EQ(d.SecondsPerSample(), 1);
  d.UpdateColours(true);
  d.UpdateColours(true);
  EXPECT_EQ(d.m_nStep, 2);
  EXPECT_EQ(d.m_nStepAccum, 0);
  d.m_fSampleInterval = std::nanf("");
  EXPECT_EQ(d.SecondsPerSample(), 1);
}

TEST(UpdateColours, ZeroFabricIntervalLeavesLayerColoursAlone) {
  CSimulationData d;
  Fill(d, 3, 2, 1.0f, 0.0f);
  d.m_nSelectedLayer = 1;
  d.m_nStep = 1;
  d.UpdateColours(false);
  ExpectRgb(d.m_layerColours[Trunk], 1, 1, 0);
  ExpectRgb(d.m_allLayerColours[0][Trunk], 0, 0, 0);
  ExpectRgb(d.m_skinColours[Trunk], 0, 1, 1);  // skin 31 still coloured
}

TEST(UpdateColours, MoreThanTenLayersKeepsTenColours) {
  CSimulationData d;
  Fill(d, 2, 12, 1.0f, 1.0f);
  d.m_fTempMin = 30, d.m_fTempMax = 42;
  d.UpdateScale();
  d.m_nSelectedLayer = 12;
  d.UpdateColours(false);
  // Layer 10 is 40, between t3 = 39 and t4 = 42.
  EXPECT_FLOAT_EQ(d.m_allLayerColours[9][Trunk][0], 1);
  EXPECT_NEAR(d.m_allLayerColours[9][Trunk][1], 1 - 1.0f / 3.0f, 1e-6);
  EXPECT_FLOAT_EQ(d.m_allLayerColours[9][Trunk][2], 0);
  ExpectRgb(d.m_layerColours[Trunk], 1, 0, 0);  // layer 12: 42
}
