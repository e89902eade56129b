// Rows stand where their own time, layer and part put them: a missing, an
// unreadable or an extra line leaves a hole (NaN) at its own place, moves no
// other row, and is said with its line; a well-written file loads exactly as
// it reads.

#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "RunFolder.h"
#include "SimulationData.h"
#include "StoreEditor.h"
#include "TableFiles.h"

namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& lines) {
  std::string s;
  for (const std::string& l : lines) {
    s += l + "\n";
  }
  return s;
}

Lines Erase(Lines lines, std::initializer_list<int> at) {
  for (auto it = std::rbegin(at); it != std::rend(at); ++it) {
    lines.erase(lines.begin() + *it);
  }
  return lines;
}

// A fabric file as the simulation writes it: `steps` steps 0.1 min apart, two
// layers of three nodes.
Lines FabricLines(int steps = 6) {
  Lines lines;
  char line[256];
  for (int s = 0; s < steps; ++s) {
    for (int l = 1; l <= 2; ++l) {
      for (int n = 0; n < 3; ++n) {
        std::snprintf(line, sizeof line, "%f\t%f\t%d\t%e\t%e\t%e\t%f\t%f\t", 0.1 * s, 0.05 * (3 * l + n), l,
                      0.012 + 0.001 * s, 0.011, 1e-7 * n, 60.0 + s, 30.0 + 0.5 * l + 0.1 * n);
        lines.push_back(line);
      }
    }
  }
  return lines;
}

Lines BodyLines(int samples = 4) {
  Lines lines;
  char line[256];
  for (int s = 0; s < samples; ++s) {
    for (int p = 0; p < 6; ++p) {
      std::snprintf(line, sizeof line, "%f\t%d\t%f\t%f\t%e\t%f\t%f\t%f\t%f\t%f\t%f\t", 0.1 * s, p,
                    33.0 + 0.1 * p + 0.01 * s, 37.0, 58.0, 0.4, 6.3, 10.0 * p, 0.0, 20.0, 1500.0);
      lines.push_back(line);
    }
  }
  return lines;
}

Lines ComfortLines() {
  Lines lines;
  char line[128];
  for (int s = 0; s < 4; ++s) {
    for (int p = 0; p < 6; ++p) {
      std::snprintf(line, sizeof line, "%f\t%d\t%f\t%f\t%f\t", 0.1 * s, p, 0.5 * s - p, 0.1 * p, 80.0 - s);
      lines.push_back(line);
    }
  }
  return lines;
}

template <class Row>
bool SameBytes(const Row& a, const Row& b) {
  // Bit for bit on purpose: a NaN hole or a signed zero must come out as it went in.
  return std::memcmp(&a, &b, sizeof(Row)) == 0;  // NOLINT(bugprone-suspicious-memory-comparison)
}

struct Message {
  const char* caption;
  const char* text;
};

void ExpectMessages(const LoadedRun& l, const std::vector<Message>& want, const char* name) {
  ASSERT_EQ(l.messages.Entries().size(), want.size())
      << name << ": " << (l.messages.Entries().empty() ? std::string() : l.messages.Entries()[0].text.toStdString());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(l.messages.Entries()[i].caption, QLatin1String(want[i].caption)) << name;
    EXPECT_EQ(l.messages.Entries()[i].text, QLatin1String(want[i].text)) << name;
  }
}

}  // namespace

TEST(RowPlacement, FabricRowsStandByTheirTimeLayerAndPosition) {
  const Lines clean = FabricLines();
  Lines firstUnreadable = clean;
  firstUnreadable[0] = "0.000000\t0.150000\tbroken";
  Lines extra = clean;
  extra.insert(extra.begin() + 8, clean[7]);
  Lines headerAndBadLine = clean;
  headerAndBadLine[20] = "0.300000\t0.250000\t1\t###";
  headerAndBadLine.insert(headerAndBadLine.begin(), "time\tposition\tlayer\tC\tCm\tE\tRH\tT");
  // Two steps each one node of layer 2 short: as many groups of 3 nodes as
  // of 2, and the tie goes to the larger, leaving holes rather than losing
  // the whole layers' rows.
  const Lines twoSteps = FabricLines(2);
  struct Case {
    const char* name;
    std::string file;
    std::set<int> holes;  // cells of the clean file's grid
    std::vector<Message> messages;
    int steps = 6;       // of the clean file
    bool placed = true;  // the holes' positions known from another step
  } cases[] = {
      {"unreadable first line",
       Join(firstUnreadable),
       {0},
       {{"Fabric Data", "fabricsTrunk.dat: line 1 cannot be read; one value of layer 1 at 0 min is missing"}}},
      {"byte-order mark", "\xEF\xBB\xBF" + Join(clean), {}, {}},
      {"missing middle row",
       Join(Erase(clean, {10})),
       {10},
       {{"Fabric Data", "fabricsTrunk.dat: one value of layer 2 at 0.1 min is missing before line 11"}}},
      {"extra row",
       Join(extra),
       {},
       {{"Fabric Data", "fabricsTrunk.dat: line 9 (layer 1 at 0.1 min) fits no place in the table and is left out"}}},
      {"layer missing at one step",
       Join(Erase(clean, {12, 13, 14})),
       {12, 13, 14},
       {{"Fabric Data", "fabricsTrunk.dat: 3 values of layer 1 at 0.2 min are missing before line 13"}}},
      {"gap of a whole step",
       Join(Erase(clean, {12, 13, 14, 15, 16, 17})),
       {12, 13, 14, 15, 16, 17},
       {{"Fabric Data",
         "fabricsTrunk.dat: 3 values of layer 1 at 0.2 min are missing before line 13. 3 values of layer 2 at 0.2 "
         "min are missing before line 13"}}},
      {"several holes",
       Join(Erase(clean, {4, 10, 16, 22})),
       {4, 10, 16, 22},
       {{"Fabric Data",
         "fabricsTrunk.dat: one value of layer 2 at 0 min is missing before line 5. One value of layer 2 at 0.1 min "
         "is missing before line 10. One value of layer 2 at 0.2 min is missing before line 15. 1 more value is "
         "missing"}}},
      {"header and a bad line",
       Join(headerAndBadLine),
       {20},
       {{"Fabric Data", "fabricsTrunk.dat: line 22 cannot be read; one value of layer 1 at 0.3 min is missing"}}},
      {"a node short in every step",
       Join(Erase(twoSteps, {5, 11})),
       {5, 11},
       {{"Fabric Data",
         "fabricsTrunk.dat: one value of layer 2 at 0 min is missing before line 6. One value of layer 2 at 0.1 min "
         "is missing after line 10"}},
       2,
       false},
  };
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
    f.Write(QStringLiteral("fabricsTrunk.dat"), Join(FabricLines(c.steps)));
    const LoadedRun reference(f.Dir());
    f.Write(QStringLiteral("fabricsTrunk.dat"), c.file);
    const LoadedRun l(f.Dir());
    ASSERT_TRUE(l.ok) << c.name;
    ExpectMessages(l, c.messages, c.name);
    EXPECT_EQ(l.data.Run().m_nLayers[Trunk], 2) << c.name;
    EXPECT_EQ(l.data.Run().m_nNodesPerLayer[Trunk], 3) << c.name;
    EXPECT_EQ(l.data.Run().m_fFabricInterval, 0.1f) << c.name;
    const std::vector<FabricRow>& want = reference.data.Run().m_fabric[Trunk];
    const std::vector<FabricRow>& got = l.data.Run().m_fabric[Trunk];
    ASSERT_EQ(got.size(), want.size()) << c.name;
    for (std::size_t i = 0; i < got.size(); ++i) {
      if (!c.holes.count(static_cast<int>(i))) {
        EXPECT_TRUE(SameBytes(got[i], want[i])) << c.name << ": row " << i << " moved";
        continue;
      }
      EXPECT_EQ(got[i].m_fTime, want[i].m_fTime) << c.name << " " << i;
      EXPECT_EQ(got[i].m_nLayer, want[i].m_nLayer) << c.name << " " << i;
      if (c.placed) {
        EXPECT_EQ(got[i].m_fPosition, want[i].m_fPosition) << c.name << " " << i;
      } else {
        EXPECT_TRUE(std::isnan(got[i].m_fPosition)) << c.name << " " << i << ": no step holds that node";
      }
      for (float v : {got[i].m_fVaporConc, got[i].m_fMeanVaporConc, got[i].m_fEvapRate, got[i].m_fHumidity,
                      got[i].m_fTemperature, got[i].m_fLiquidFraction}) {
        EXPECT_TRUE(std::isnan(v)) << c.name << " " << i;
      }
    }
  }
}

TEST(RowPlacement, TheIntervalIsTheCommonStepWhenTheFirstStepIsMissing) {
  CRunFolder f;
  f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("fabricsTrunk.dat"), Join(Erase(FabricLines(), {6, 7, 8, 9, 10, 11})));
  const LoadedRun l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_NEAR(l.data.Run().m_fFabricInterval, 0.1f, 1e-6f);
  ASSERT_EQ(l.data.Run().m_fabric[Trunk].size(), 36u);
  EXPECT_TRUE(std::isnan(l.data.Run().m_fabric[Trunk][6].m_fTemperature));
  EXPECT_EQ(l.data.Run().m_fabric[Trunk][12].m_fTime, 0.2f);  // the step after the gap stays the third
}

TEST(RowPlacement, BodyRowsStandByTheirTimeAndPart) {
  const Lines clean = BodyLines();
  Lines unreadable = clean;
  unreadable[7] = "0.100000\t1\t33.1?";
  struct Case {
    const char* name;
    std::string file;
    std::set<int> holes;
    int samples;
    std::size_t rows;
    std::vector<Message> messages;
  } cases[] = {
      {"one part missing",
       Join(Erase(clean, {7})),
       {7},
       4,
       24,
       {{"BodyProperty Data", "bodyProperty.dat: the values of Trunk at 0.1 min are missing before line 8"}}},
      {"unreadable line",
       Join(unreadable),
       {7},
       4,
       24,
       {{"BodyProperty Data", "bodyProperty.dat: line 8 cannot be read; the values of Trunk at 0.1 min are missing"}}},
      // A run stopped part-way through its last sample: as ever, that sample is none.
      {"incomplete last sample", Join(Erase(clean, {22, 23})), {}, 3, 22, {}},
      {"a part missing and an incomplete last sample",
       Join(Erase(clean, {7, 22, 23})),
       {7},
       3,
       22,
       {{"BodyProperty Data", "bodyProperty.dat: the values of Trunk at 0.1 min are missing before line 8"}}},
  };
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal();
    f.Write(QStringLiteral("bodyProperty.dat"), Join(clean));
    const LoadedRun reference(f.Dir());
    f.Write(QStringLiteral("bodyProperty.dat"), c.file);
    const LoadedRun l(f.Dir());
    ASSERT_TRUE(l.ok) << c.name;
    ExpectMessages(l, c.messages, c.name);
    EXPECT_EQ(l.data.Run().m_nSamples, c.samples) << c.name;
    EXPECT_EQ(l.data.Run().m_fSampleInterval, 0.1f) << c.name;
    ASSERT_EQ(l.data.Run().m_body.size(), c.rows) << c.name;
    for (std::size_t i = 0; i < c.rows; ++i) {
      const BodyPropertyRow& got = l.data.Run().m_body[i];
      const BodyPropertyRow& want = reference.data.Run().m_body[i];
      if (!c.holes.count(static_cast<int>(i))) {
        EXPECT_TRUE(SameBytes(got, want)) << c.name << ": row " << i << " moved";
        continue;
      }
      EXPECT_EQ(got.m_fTime, want.m_fTime) << c.name;
      EXPECT_EQ(got.m_nPart, want.m_nPart) << c.name;
      EXPECT_TRUE(std::isnan(got.m_fSkinTemp) && std::isnan(got.m_fSkinPressure)) << c.name;
    }
  }
}

TEST(RowPlacement, AComfortSeriesKeepsItsTimes) {
  CRunFolder f;
  f.WriteMinimal(4);
  f.Write(QStringLiteral("BodyDataforComfort.dat"), Join(Erase(ComfortLines(), {13})));
  const LoadedRun l(f.Dir());
  ASSERT_TRUE(l.ok);
  ExpectMessages(l,
                 {{"BodyDataforComfort Data",
                   "BodyDataforComfort.dat: the comfort values of Trunk at 0.2 min are missing before line 19"}},
                 "comfort");
  const std::vector<ComfortRow>& trunk = l.data.Run().m_comfort[Trunk];
  ASSERT_EQ(trunk.size(), 4u);
  EXPECT_EQ(trunk[2].m_fTime, 0.2f);
  EXPECT_TRUE(std::isnan(trunk[2].m_fThermal) && std::isnan(trunk[2].m_fComfort));
  EXPECT_EQ(trunk[3].m_fTime, 0.3f);
  EXPECT_EQ(trunk[3].m_fComfort, 77.0f);
  EXPECT_EQ(l.data.Run().m_comfort[Head].size(), 4u);
}

TEST(RowPlacement, AByteOrderMarkIsSkippedInEveryFile) {
  const std::string bom = "\xEF\xBB\xBF";
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("configure.dat"), bom + "Selected model:3\n1\t25\t0.5\t0.1\t0\t0\t0\t0\t0\t0\t10\t58\t25\n");
  f.Write(QStringLiteral("bodyProperty.dat"), bom + Join(BodyLines(2)));
  f.Write(QStringLiteral("BodyDataforComfort.dat"), bom + "0\t0\t50\t20\t80\t\n");
  f.Write(QStringLiteral("FiberA.dat"), bom + "0\t0\t1\t2\n");
  f.Write(QStringLiteral("id.dat"), bom + "model id:M7\nthe garment list:0\n");
  const LoadedRun l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_TRUE(l.messages.Entries().empty());
  EXPECT_EQ(l.data.Run().m_nSelectedModel, 3);
  EXPECT_EQ(l.data.Run().m_body.size(), 12u);
  EXPECT_EQ(l.data.Run().m_comfort[Head].size(), 1u);
  ASSERT_EQ(l.data.Run().m_fibers.size(), 1u);
  EXPECT_EQ(l.data.Run().m_fibers[0].m_rows.size(), 1u);
  EXPECT_EQ(l.data.Run().m_strModelId, QStringLiteral("M7"));
}

// Well-written runs keep the rows exactly as read, and the counts and
// intervals the first step gives.
TEST(RowPlacement, WellFormedRunsLoadExactlyAsRead) {
  // A bigger run than the sample: starting at 1000 min, where a float keeps
  // few digits of 0.1.
  CRunFolder big;
  big.WriteMinimal(1, "0\t1\t0\t0\t1\t0");
  std::string fabric, body;
  char line[256];
  for (int s = 0; s < 300; ++s) {
    for (int l = 1; l <= 4; ++l) {
      for (int n = 0; n < 40; ++n) {
        std::snprintf(line, sizeof line, "%f\t%f\t%d\t%e\t%e\t%e\t%f\t%f\t\n", 1000 + 0.1 * s, 0.01 * (40 * l + n), l,
                      1e-3 * n, 2e-3, -1e-9 * s, 50.0 + 0.1 * n, 30.0 + 0.01 * s);
        fabric += line;
      }
    }
  }
  for (int s = 0; s < 3000; ++s) {
    for (int p = 0; p < 6; ++p) {
      std::snprintf(line, sizeof line, "%f\t%d\t%f\t37\t58\t0.4\t6.3\t%e\t0\t20\t1500\t\n", 1000 + 0.1 * s, p,
                    33 + 0.001 * s, 1e-2 * p);
      body += line;
    }
  }
  big.Write(QStringLiteral("fabricsTrunk.dat"), fabric);
  big.Write(QStringLiteral("fabricsLeg.dat"), fabric);
  big.Write(QStringLiteral("bodyProperty.dat"), body);
  const QString sample = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  ASSERT_FALSE(sample.isEmpty());
  for (const QString& dir : {sample + QLatin1Char('/'), big.Dir()}) {
    const LoadedRun l(dir);
    ASSERT_TRUE(l.ok) << dir.toStdString();
    EXPECT_TRUE(l.messages.Entries().empty()) << dir.toStdString();
    const std::vector<BodyPropertyRow> rawBody = ParseBodyFile(dir + QStringLiteral("bodyProperty.dat")).rows;
    ASSERT_EQ(l.data.Run().m_body.size(), rawBody.size());
    EXPECT_EQ(std::memcmp(l.data.Run().m_body.data(), rawBody.data(), rawBody.size() * sizeof(BodyPropertyRow)), 0);
    EXPECT_EQ(l.data.Run().m_nSamples, static_cast<int>(rawBody.size() / 6));
    EXPECT_EQ(l.data.Run().m_fSampleInterval, rawBody[6].m_fTime - rawBody[0].m_fTime);
    bool intervalSeen = false;
    for (int p = 0; p < kBodyPartCount; ++p) {
      if (l.data.Run().m_env[0].m_fClothed[p] < 1) {
        continue;
      }
      const std::vector<FabricRow> raw = ParseFabricFile(dir + l.data.Run().m_fabricFileNames[p]).rows;
      ASSERT_EQ(l.data.Run().m_fabric[p].size(), raw.size()) << p;
      EXPECT_EQ(std::memcmp(l.data.Run().m_fabric[p].data(), raw.data(), raw.size() * sizeof(FabricRow)), 0) << p;
      int layers = 1;
      std::size_t nodes = 0;
      while (nodes < raw.size() && raw[nodes].m_nLayer == raw[0].m_nLayer) {
        ++nodes;
      }
      for (std::size_t i = 1; i < raw.size() && raw[i].m_fTime == raw[0].m_fTime; ++i) {
        layers += raw[i].m_nLayer != raw[i - 1].m_nLayer;
      }
      EXPECT_EQ(l.data.Run().m_nLayers[p], layers) << p;
      EXPECT_EQ(l.data.Run().m_nNodesPerLayer[p], static_cast<int>(nodes)) << p;
      if (!intervalSeen) {
        EXPECT_EQ(l.data.Run().m_fFabricInterval, raw[nodes * layers].m_fTime - raw[0].m_fTime);
      }
      intervalSeen = true;
    }
    EXPECT_TRUE(intervalSeen);
  }
}
