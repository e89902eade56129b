// The colour scale, the colour mapping and the playback clock.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "RunFolder.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {
void ExpectRgb(const float* rgb, float r, float g, float b) {
  EXPECT_FLOAT_EQ(rgb[0], r);
  EXPECT_FLOAT_EQ(rgb[1], g);
  EXPECT_FLOAT_EQ(rgb[2], b);
}

// A store with `samples` samples whose skin temperature rises 1 degree per
// sample, and a trunk fabric of `layers` layers of 2 nodes per fabric step.
void Fill(CSimulationData& d, int samples, int layers, float sampleInterval, float fabricInterval) {
  RunTables& run = EditRun(d);
  run.m_fTempMin = 30;
  run.m_fTempMax = 34;
  for (int s = 0; s < samples; ++s) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = static_cast<float>(s) * sampleInterval;
      r.m_nPart = p;
      r.m_fSkinTemp = 30.0f + static_cast<float>(s);
      r.m_fCoreTemp = 37;
      r.m_fSkinHumidity = 50;  // percent
      r.m_fSweatRate = 100;
      run.m_body.push_back(r);
    }
  }
  run.m_nSamples = samples;
  run.m_fSampleInterval = sampleInterval;
  run.m_fFabricInterval = fabricInterval;
  run.m_nLayers[Trunk] = layers;
  run.m_nNodesPerLayer[Trunk] = 2;
  for (int t = 0; t < samples; ++t) {
    for (int l = 1; l <= layers; ++l) {
      for (int n = 0; n < 2; ++n) {
        FabricRow r;
        r.m_nLayer = l;
        r.m_fTemperature = 30.0f + (n == 1 ? static_cast<float>(l) : 0.5f);  // last node: 30 + layer
        r.m_fHumidity = 60;                                                  // percent
        run.m_fabric[Trunk].push_back(r);
      }
    }
  }
}
}  // namespace

namespace {
// The colour of each value on the scale of `d`'s shown quantity.
struct ValueColour {
  float value, r, g, b;
};
void ExpectColours(const CSimulationData& d, std::initializer_list<ValueColour> cases) {
  for (const ValueColour& c : cases) {
    float rgb[3] = {0.1f, 0.2f, 0.3f};
    d.Colours().ValueToColour(c.value, rgb);
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    ExpectRgb(rgb, c.r, c.g, c.b);
  }
}
}  // namespace

TEST(ColourScale, FiveBandsFromBlueToRed) {
  CSimulationData d;
  EditRun(d).m_fTempMin = 30;
  EditRun(d).m_fTempMax = 34;
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(d.Colours().m_fScale[k], 30.0f + static_cast<float>(k));
  }
  ExpectColours(d, {{31.5f, 0, 1, 0.5f},
                    {29.0f, 0, 0, 1},
                    {30.5f, 0, 0.5f, 1},
                    {32.25f, 0.25f, 1, 0},
                    {33.75f, 1, 0.25f, 0},
                    {34.0f, 1, 0, 0},
                    {99.0f, 1, 0, 0},
                    {std::nanf(""), 0.1f, 0.2f, 0.3f}});  // NaN leaves the colour as it was
}

TEST(ColourScale, EqualEndsGiveBlueBelowAndRedElsewhere) {
  CSimulationData d;
  d.State().SetContent(ContentHumidity);
  EditRun(d).m_fHumidityMin = EditRun(d).m_fHumidityMax = 0.5f;
  ExpectColours(d, {{0.4f, 0, 0, 1}, {0.5f, 1, 0, 0}, {0.6f, 1, 0, 0}});
  EXPECT_EQ(d.State().Content(), ContentHumidity);
  EXPECT_EQ(d.Colours().m_fScale[4], 0.5f);
}

TEST(UpdateColours, TemperatureColoursSkinCoreAndLayers) {
  CSimulationData d;
  Fill(d, 4, 3, 1.0f, 1.0f);
  d.State().SeekStep(2);  // skin 32 → green; layer rows: last node of layer l is 30 + l
  d.State().SelectLayer(2);
  ExpectRgb(d.Colours().m_skinColours[Trunk], 0, 1, 0);
  ExpectRgb(d.Colours().m_coreColours[Trunk], 1, 0, 0);
  ExpectRgb(d.Colours().m_layerColours[Trunk], 0, 1, 0);        // layer 2: 32
  ExpectRgb(d.Colours().m_allLayerColours[0][Trunk], 0, 1, 1);  // layer 1: 31
  ExpectRgb(d.Colours().m_allLayerColours[2][Trunk], 1, 1, 0);  // layer 3: 33
  EXPECT_EQ(d.State().Step(), 2);
  EXPECT_EQ(d.Colours().m_skinColours[Trunk][3], 1.0f);  // alpha untouched
}

// A value the run does not hold (a hole the loader left) is "no data" grey,
// in every colour it would feed, while its neighbours keep theirs.
TEST(UpdateColours, AHoleIsNoDataGrey) {
  CSimulationData d;
  Fill(d, 4, 3, 1.0f, 1.0f);
  d.State().SeekStep(2);
  d.State().SelectLayer(2);
  const std::size_t body = 2 * kBodyPartCount + Trunk, layer2 = (2 * 3 + 2) * 2 - 1;
  EditRun(d).m_body[body].m_fSkinTemp = EditRun(d).m_body[body].m_fSkinHumidity = EditRun(d).m_body[body].m_fSweatRate =
      std::nanf("");
  EditRun(d).m_fabric[Trunk][layer2].m_fTemperature = EditRun(d).m_fabric[Trunk][layer2].m_fHumidity = std::nanf("");
  for (const ContentKind content : {ContentTemperature, ContentHumidity, ContentSweatRate}) {
    d.State().SetContent(content);
    EXPECT_FALSE(d.Colours().m_bSkinHasValue[Trunk]) << content;
    ExpectRgb(d.Colours().m_skinColours[Trunk], kNoDataGrey[0], kNoDataGrey[1], kNoDataGrey[2]);
    EXPECT_TRUE(d.Colours().m_bSkinHasValue[Head]) << content;
    if (content != ContentSweatRate) {
      EXPECT_FALSE(d.Colours().m_bLayerHasValue[Trunk]) << content;
      ExpectRgb(d.Colours().m_layerColours[Trunk], kNoDataGrey[0], kNoDataGrey[1], kNoDataGrey[2]);
    }
  }
  d.State().SetContent(ContentTemperature);
  EXPECT_FALSE(d.Colours().m_bRingHasValue[1][Trunk]);
  EXPECT_TRUE(d.Colours().m_bRingHasValue[0][Trunk]);
  EXPECT_TRUE(d.Colours().m_bCoreHasValue[Trunk]);
}

// Humidity is percent in the rows and a fraction on the 3D scale, as the
// rooms' humidity is: 50 % of skin and 60 % of a layer colour as 0.5 and 0.6.
TEST(UpdateColours, HumidityPercentMeetsTheScaleAsAFraction) {
  CSimulationData d;
  Fill(d, 4, 2, 1.0f, 1.0f);
  d.State().SetContent(ContentHumidity);
  EditRun(d).m_fHumidityMin = 0.4f;  // thresholds 0.4, 0.5, 0.6, 0.7, 0.8
  EditRun(d).m_fHumidityMax = 0.8f;
  d.State().SelectLayer(1);
  ExpectRgb(d.Colours().m_skinColours[Trunk], 0, 1, 1);   // 0.5: cyan
  ExpectRgb(d.Colours().m_layerColours[Trunk], 0, 1, 0);  // 0.6: green
}

TEST(UpdateColours, ClockAdvancesOneSamplePerIntervalOfSeconds) {
  CSimulationData d;
  Fill(d, 10, 1, 0.5f, 0.5f);
  EXPECT_EQ(d.Run().SecondsPerSample(), 30);
  for (int i = 0; i < 29; ++i) {
    d.State().Advance();
  }
  EXPECT_EQ(d.State().Step(), 0);
  EXPECT_EQ(d.State().StepSeconds(), 29);
  d.State().Advance();
  EXPECT_EQ(d.State().Step(), 1);
  EXPECT_EQ(d.State().StepSeconds(), 0);
  EditRun(d).m_fSampleInterval = 1.0f;
  EXPECT_EQ(d.Run().SecondsPerSample(), 60);
  d.State().SetSpeed(150);
  d.State().Advance();
  EXPECT_EQ(d.State().Step(), 3);
  EXPECT_EQ(d.State().StepSeconds(), 30);
}

TEST(UpdateColours, TinySampleIntervalStepsOncePerSecond) {
  CSimulationData d;
  Fill(d, 5, 1, 0.001f, 0.001f);
  EXPECT_EQ(d.Run().SecondsPerSample(), 1);
  d.State().Advance();
  d.State().Advance();
  EXPECT_EQ(d.State().Step(), 2);
  EXPECT_EQ(d.State().StepSeconds(), 0);
  EditRun(d).m_fSampleInterval = std::nanf("");
  EXPECT_EQ(d.Run().SecondsPerSample(), 1);
}

TEST(UpdateColours, MoreThanTenLayersKeepsTenColours) {
  CSimulationData d;
  Fill(d, 2, 12, 1.0f, 1.0f);
  EditRun(d).m_fTempMin = 30;
  EditRun(d).m_fTempMax = 42;
  d.State().SelectLayer(12);
  // Layer 10 is 40, between t3 = 39 and t4 = 42.
  EXPECT_FLOAT_EQ(d.Colours().m_allLayerColours[9][Trunk][0], 1);
  EXPECT_NEAR(d.Colours().m_allLayerColours[9][Trunk][1], 1 - 1.0f / 3.0f, 1e-6);
  EXPECT_FLOAT_EQ(d.Colours().m_allLayerColours[9][Trunk][2], 0);
  ExpectRgb(d.Colours().m_layerColours[Trunk], 1, 0, 0);  // layer 12: 42
}

namespace {
void ExpectGrey(const float* rgb) { ExpectRgb(rgb, kNoDataGrey[0], kNoDataGrey[1], kNoDataGrey[2]); }
}  // namespace

// What has no value for the shown quantity, layer and step is grey, never a
// placeholder or the colour of another quantity or step.
TEST(UpdateColours, WhatHasNoValueIsGrey) {
  CSimulationData fresh;
  const float expected[5] = {29.0f, 31.25f, 33.5f, 35.75f, 38.0f};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(fresh.Colours().m_fScale[k], expected[k]);
  }
  fresh.State().Advance();  // nothing to play: the clock stays
  EXPECT_EQ(fresh.State().Step(), 0);
  for (int p = 0; p < kBodyPartCount; ++p) {
    const PartColours& c = fresh.Colours();
    ExpectGrey(c.m_skinColours[p]);
    ExpectGrey(c.m_layerColours[p]);
    ExpectGrey(c.m_coreColours[p]);
    EXPECT_FALSE(c.m_bSkinHasValue[p] || c.m_bLayerHasValue[p] || c.m_bCoreHasValue[p]);
  }
  ExpectGrey(fresh.Colours().m_envColour);

  const struct {
    ContentKind content;
    int layer;
    float fabricInterval;
    bool core, layerValue, ring, env;
  } cases[] = {
      {ContentTemperature, 1, 1.0f, true, true, true, true},
      {ContentTemperature, 3, 1.0f, true, false, true, true},   // beyond the part's two layers
      {ContentTemperature, 1, 0.0f, true, false, false, true},  // no fabric step known
      {ContentHumidity, 1, 1.0f, false, true, false, true},
      {ContentSweatRate, 1, 1.0f, false, false, false, false},
  };
  for (const auto& c : cases) {
    CSimulationData d;
    Fill(d, 4, 2, 1.0f, c.fabricInterval);
    d.State().SetContent(c.content);
    EditRun(d).m_fHumidityMin = 0;
    EditRun(d).m_fHumidityMax = 1;
    EditRun(d).m_fSweatMin = 0;
    EditRun(d).m_fSweatMax = 200;
    d.State().SelectLayer(1);
    (void)d.Colours();  // an earlier step with values everywhere it can
    d.State().SelectLayer(c.layer);
    d.State().SeekStep(1);
    const std::string what = std::to_string(c.content) + "/" + std::to_string(c.layer);
    EXPECT_TRUE(d.Colours().m_bSkinHasValue[Trunk]) << what;
    EXPECT_EQ(d.Colours().m_bCoreHasValue[Trunk], c.core) << what;
    EXPECT_EQ(d.Colours().m_bLayerHasValue[Trunk], c.layerValue) << what;
    EXPECT_EQ(d.Colours().m_bRingHasValue[0][Trunk], c.ring) << what;
    EXPECT_EQ(d.Colours().m_bEnvHasValue, c.env) << what;
    if (!c.core) {
      ExpectGrey(d.Colours().m_coreColours[Trunk]);
    }
    if (!c.layerValue) {
      ExpectGrey(d.Colours().m_layerColours[Trunk]);
    }
    if (!c.ring) {
      ExpectGrey(d.Colours().m_allLayerColours[0][Trunk]);
    }
    if (!c.env) {
      ExpectGrey(d.Colours().m_envColour);
    }
  }
}

TEST(UpdateColours, TheRoomShowsThePhaseInForceAtTheStep) {
  CSimulationData d;
  Fill(d, 20, 0, 1.0f, 0.0f);  // samples at 0, 1, ... 19 minutes
  EditRun(d).m_nEnvPhases = 2;
  EditRun(d).m_env[0].m_fTemperature = 30;
  EditRun(d).m_env[0].m_fStart = 0;
  EditRun(d).m_env[1].m_fTemperature = 34;
  EditRun(d).m_env[1].m_fStart = 10;
  const std::pair<int, float> steps[] = {{0, 30}, {9, 30}, {10, 34}, {19, 34}};
  for (const auto& [step, temperature] : steps) {
    d.State().SeekStep(step);
    float rgb[3];
    d.Colours().ValueToColour(temperature, rgb);
    ExpectRgb(d.Colours().m_envColour, rgb[0], rgb[1], rgb[2]);
  }
}
