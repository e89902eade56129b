// Thickness profiles taken from the fabric table: each node's position,
// layer and value at one step, the layer boundaries, the step nearest a
// minute, and the CSV a researcher gets.

#include <gtest/gtest.h>

#include <cmath>

#include "Profile.h"
#include "RunTables.h"

namespace {
// Part `part` with `layers` layers of `nodes` nodes each, `steps` fabric
// steps `interval` minutes apart. Each layer is 0.1 cm thick, its nodes
// spread over it; the temperature says step, layer and node in one number.
void FillFabric(RunTables& run, int part, int layers, int nodes, int steps, float interval) {
  run.m_nLayers[part] = layers;
  run.m_nNodesPerLayer[part] = nodes;
  run.m_fFabricInterval = interval;
  for (int t = 0; t < steps; ++t) {
    for (int l = 0; l < layers; ++l) {
      for (int n = 0; n < nodes; ++n) {
        FabricRow r;
        r.m_fTime = interval * static_cast<float>(t);
        r.m_nLayer = l + 1;
        r.m_fPosition = 0.1f * static_cast<float>(l) + 0.1f * static_cast<float>(n) / static_cast<float>(nodes);
        r.m_fTemperature = static_cast<float>(1000 * t + 100 * l + n);
        r.m_fHumidity = 50;
        run.m_fabric[part].push_back(r);
      }
    }
  }
}
}  // namespace

TEST(Profile, EveryNodeOfEveryLayerAtTheStepInOrder) {
  const struct { int layers, nodes, step; } cases[] = {{3, 4, 0}, {2, 7, 5}, {1, 3, 9}, {4, 1, 2}};
  for (const auto& c : cases) {
    RunTables run;
    FillFabric(run, Trunk, c.layers, c.nodes, 10, 0.1f);
    const FabricProfile p = FabricProfileAt(run, Trunk, c.step, 4);
    EXPECT_FLOAT_EQ(p.time, 0.1f * static_cast<float>(c.step));
    const int count = c.layers * c.nodes;
    ASSERT_EQ(p.points.size(), static_cast<std::size_t>(count)) << c.layers << "x" << c.nodes;
    for (int l = 0; l < c.layers; ++l) {
      for (int n = 0; n < c.nodes; ++n) {
        const int index = l * c.nodes + n;
        const ProfilePoint& pt = p.points[static_cast<std::size_t>(index)];
        EXPECT_EQ(pt.layer, l);
        EXPECT_EQ(pt.value, static_cast<float>(1000 * c.step + 100 * l + n)) << "layer " << l << " node " << n;
      }
    }
    ASSERT_EQ(p.layers.size(), static_cast<std::size_t>(c.layers));
    ASSERT_EQ(p.boundaries.size(), static_cast<std::size_t>(c.layers - 1));
    for (int l = 0; l < c.layers; ++l) {
      const ProfileLayer& span = p.layers[static_cast<std::size_t>(l)];
      EXPECT_EQ(span.layer, l);
      const int innermost = l * c.nodes, outermost = innermost + c.nodes - 1;
      EXPECT_EQ(span.from, p.points[static_cast<std::size_t>(innermost)].position);
      EXPECT_EQ(span.to, p.points[static_cast<std::size_t>(outermost)].position);
      if (l > 0) {
        // Halfway between one layer's outermost node and the next one's innermost.
        EXPECT_FLOAT_EQ(p.boundaries[static_cast<std::size_t>(l - 1)],
                        (p.layers[static_cast<std::size_t>(l - 1)].to + span.from) / 2);
        EXPECT_GT(span.from, p.boundaries[static_cast<std::size_t>(l - 1)]);
      }
    }
  }
}

TEST(Profile, PartsOfDifferentNodeCountsKeepTheirOwnLayout) {
  RunTables run;
  FillFabric(run, Trunk, 3, 2, 4, 0.1f);
  FillFabric(run, Leg, 2, 5, 4, 0.1f);
  EXPECT_EQ(FabricProfileAt(run, Trunk, 3, 4).points.size(), 6u);
  const FabricProfile leg = FabricProfileAt(run, Leg, 3, 4);
  ASSERT_EQ(leg.points.size(), 10u);
  EXPECT_EQ(leg.points[5].layer, 1);
  EXPECT_EQ(leg.points[5].value, 3100.0f);
  EXPECT_EQ(FabricStepCount(run, Leg), 4);
  EXPECT_TRUE(FabricProfileAt(run, Head, 0, 4).points.empty()) << "an unclothed part";
}

// A hole the loader left (NaN values) stays a gap; a row without a place,
// or a last step cut short, leaves its nodes out.
TEST(Profile, MissingRowsAndHoles) {
  RunTables run;
  FillFabric(run, Arm, 2, 3, 3, 0.1f);
  run.m_fabric[Arm][6 + 1].m_fTemperature = std::nanf("");
  run.m_fabric[Arm][6 + 4].m_fPosition = std::nanf("");
  run.m_fabric[Arm].resize(run.m_fabric[Arm].size() - 2);  // the last step without its last two rows
  const FabricProfile holed = FabricProfileAt(run, Arm, 1, 4);
  ASSERT_EQ(holed.points.size(), 5u);
  EXPECT_TRUE(std::isnan(holed.points[1].value));
  EXPECT_EQ(holed.points[4].value, 1102.0f) << "the node after the one without a place";
  EXPECT_EQ(FabricStepCount(run, Arm), 3) << "a step cut short counts";
  const FabricProfile last = FabricProfileAt(run, Arm, 2, 4);
  ASSERT_EQ(last.points.size(), 4u);
  EXPECT_EQ(last.layers.size(), 2u);
  EXPECT_EQ(last.layers[1].from, last.layers[1].to) << "one node of the outer layer is left";
  EXPECT_TRUE(FabricProfileAt(run, Arm, 3, 4).points.empty());
  EXPECT_TRUE(FabricProfileAt(run, Arm, -1, 4).points.empty());
  // The liquid volume fraction of a file without that column: no values.
  for (const ProfilePoint& p : FabricProfileAt(run, Arm, 0, 5).points) {
    EXPECT_TRUE(std::isnan(p.value));
  }
  EXPECT_EQ(FabricProfileAt(run, Arm, 0, 3).points[0].value, 50.0f) << "relative humidity in percent";
}

TEST(Profile, TheStepNearestAMinuteAndTheEarlierOnATie) {
  const struct {
    float interval;
    double minute;
    int step;  // -1: none
  } cases[] = {
      {0.1f, 0, 0},    {0.1f, 0.04, 0}, {0.1f, 0.05, 0},     {0.1f, 0.0501, 1}, {0.1f, 0.15, 1},   {0.1f, 0.25, 2},
      {0.1f, 0.87, 9}, {0.1f, 0.9, 9},  {0.1f, 0.90001, -1}, {0.1f, 1.0, -1},   {0.1f, -0.01, -1}, {0.1f, NAN, -1},
      {0.7f, 0.35, 0}, {0.7f, 1.05, 1}, {0.7f, 1.0501, 2},   {2.5f, 22.5, 9},   {2.5f, 22.6, -1},
  };
  for (const auto& c : cases) {
    RunTables run;
    FillFabric(run, Foot, 2, 2, 10, c.interval);
    const std::optional<int> step = NearestFabricStep(run, Foot, c.minute);
    EXPECT_EQ(step.value_or(-1), c.step) << c.minute << " min at " << c.interval << " min steps";
  }
  RunTables empty;
  EXPECT_FALSE(NearestFabricStep(empty, Foot, 0));
}

// The player's sample to the fabric step the 3D views draw.
TEST(Profile, ThePlayersSampleToItsFabricStep) {
  const struct {
    float sampleInterval, fabricInterval;
    int sample, step;
  } cases[] = {{1, 0.5f, 3, 6}, {1, 2, 3, 1}, {0.1f, 0.1f, 7, 7}, {1, 0, 5, 0}, {1, 1, 99, 0}, {1, 1, -4, 0}};
  for (const auto& c : cases) {
    RunTables run;
    run.m_nSamples = 20;
    run.m_fSampleInterval = c.sampleInterval;
    run.m_fFabricInterval = c.fabricInterval;
    EXPECT_EQ(ProfileStepAt(run, c.sample), c.step) << c.sample << " at " << c.fabricInterval;
  }
}

TEST(Profile, CsvAndTitleSayTheirUnits) {
  RunTables run;
  FillFabric(run, Trunk, 2, 2, 2, 0.5f);
  run.m_fabric[Trunk][4 + 2].m_fTemperature = std::nanf("");
  EXPECT_EQ(ProfileCsv(FabricProfileAt(run, Trunk, 1, 4), QStringLiteral("Temperature(Degree)")),
            QStringLiteral("Position(cm),Layer,Temperature(Degree)\n"
                           "0,1,1000\n0.05,1,1001\n0.1,2,\n0.15,2,1101\n"));
  EXPECT_EQ(
      ProfileCsv(FabricProfileAt(run, Trunk, 0, 4), QStringLiteral("Temperature(Degree)"), QLatin1Char('\t')),
      QStringLiteral("Position(cm)\tLayer\tTemperature(Degree)\n0\t1\t0\n0.05\t1\t1\n0.1\t2\t100\n0.15\t2\t101\n"));
  EXPECT_EQ(ProfileTitle(QStringLiteral("Trunk"), QStringLiteral("Temperature(Degree)"), 12.5f),
            QStringLiteral("Trunk: Temperature(Degree) at 12.5 min"));
  EXPECT_EQ(ProfileTitle(QStringLiteral("Leg"), QStringLiteral("Relative Humidity(%)"), NAN),
            QStringLiteral("Leg: Relative Humidity(%)"));
}

// A profile followed through the run keeps one scale: every value the part
// holds of the quantity, not one step's.
TEST(Profile, TheScaleSpansEveryStepOfThePart) {
  RunTables run;
  FillFabric(run, Trunk, 2, 3, 4, 0.1f);
  const std::optional<ValueRange> whole = ProfileValueRange(run, Trunk, 4);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->lo, 0.0f);
  EXPECT_EQ(whole->hi, 3102.0f);
  run.m_fabric[Trunk].back().m_fTemperature = std::nanf("");
  run.m_fabric[Trunk][0].m_fPosition = std::nanf("");
  const std::optional<ValueRange> holed = ProfileValueRange(run, Trunk, 4);
  ASSERT_TRUE(holed);
  EXPECT_EQ(holed->lo, 1.0f) << "a node without a place is drawn nowhere";
  EXPECT_EQ(holed->hi, 3101.0f) << "a hole widens nothing";
  EXPECT_FALSE(ProfileValueRange(run, Trunk, 5)) << "no liquid volume fraction column";
  EXPECT_FALSE(ProfileValueRange(run, Head, 4)) << "no fabric";
  run.m_bLiquidFraction[Trunk] = true;
  EXPECT_TRUE(ProfileValueRange(run, Trunk, 5));
}
