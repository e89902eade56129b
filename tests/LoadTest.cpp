// Loading run folders: the file rules, the derived values, the messages, and
// the sound handling of input beyond the design.

#include <gtest/gtest.h>

#include <QDir>
#include <clocale>
#include <cstring>
#include <optional>
#include <string>

#include "GermanLocale.h"
#include "RunFolder.h"
#include "SimulationData.h"

namespace {

using Loaded = LoadedRun;

std::string FabricStep(float time, int layers, int nodes, float rh = 65.0f) {
  std::string s;
  char line[256];
  for (int l = 1; l <= layers; ++l) {
    for (int n = 0; n < nodes; ++n) {
      std::snprintf(line, sizeof line, "%g\t%g\t%d\t0.01\t0.01\t0\t%g\t%g\t\n", time, 0.1 * (n + 1), l, rh, 30.0 + l);
      s += line;
    }
  }
  return s;
}

const char* kUnreadable = LoadMessages::kUnreadable;

template <class T>
bool SameRows(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

}  // namespace

TEST(LoadEnvironment, SelectedModelPhasesAndStartTimes) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("configure.dat"),
          "Selected model:3\n"
          "1\t20\t0.4\t0\t0\t0\t0\t0\t0\t0\t10\t0\t0\n"
          "2\t35\t0.7\t0\t0\t0\t0\t0\t0\t0\t20\t0\t0\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nSelectedModel, 3);
  EXPECT_EQ(l.data.Run().m_nEnvPhases, 2);
  EXPECT_EQ(l.data.Run().m_env[0].m_fStart, 0.0f);
  EXPECT_EQ(l.data.Run().m_env[1].m_fStart, 10.0f);
  EXPECT_EQ(l.data.Run().m_env[1].m_fTemperature, 35.0f);
  EXPECT_EQ(l.data.Run().m_fTempMax, 37.0f);  // core temperature of the body rows
  EXPECT_EQ(l.data.Run().m_fTempMin, 20.0f);
  EXPECT_TRUE(l.messages.Entries().empty());
}

TEST(LoadEnvironment, MoreThanTenPhasesKeepsTheFirstTenAndSaysSo) {
  CRunFolder f;
  f.WriteMinimal();
  std::string env = "Selected model:1\n";
  for (int i = 0; i < 14; ++i) {
    env += std::to_string(i) + "\t" + std::to_string(20 + i) + "\t0.5\t0\t0\t0\t0\t0\t0\t0\t5\t0\t0\n";
  }
  f.Write(QStringLiteral("configure.dat"), env);
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nEnvPhases, 10);
  EXPECT_EQ(l.data.Run().m_env[9].m_fTemperature, 29.0f);
  EXPECT_EQ(l.data.Run().m_env[9].m_fStart, 45.0f);
  EXPECT_EQ(l.data.Run().m_fTempMin, 20.0f);
  EXPECT_EQ(l.Count("Environment Data", LoadMessages::kTooManyPhases), 1);
  EXPECT_EQ(l.Count("Environment Data", kUnreadable), 0);
}

TEST(LoadEnvironment, MissingOrEmptyFails) {
  CRunFolder f;
  f.WriteMinimal();
  f.Remove(QStringLiteral("configure.dat"));
  {
    Loaded l(f.Dir());
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.Count("Error", LoadMessages::kNoEnvironment), 1);
  }
  f.Write(QStringLiteral("configure.dat"), "Selected model:1\nnot a row\n");
  Loaded l(f.Dir());
  EXPECT_FALSE(l.ok);
  EXPECT_FALSE(l.data.Run().m_bLoaded);
  EXPECT_EQ(l.Count("Error", LoadMessages::kNoEnvironment), 1);
}

TEST(LoadLines, UnreadableLinesAreReportedFromTheThirdOnPerFileKind) {
  CRunFolder f;
  f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("FiberA.dat"), "# header\n0\t0\t1\t2\n");
  f.Write(QStringLiteral("fabricsTrunk.dat"), "junk line here\n" + FabricStep(0, 1, 2) + "also junk\nmore junk\n");
  f.Write(QStringLiteral("BodyDataforComfort.dat"), "x\ny\nz\n0\t0\t1\t2\t3\n");
  {
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.Count("Fiber Data"), 0);
    EXPECT_EQ(l.Count("BodyDataforComfort Data", kUnreadable), 1);
    // The fabric count is shared and reported after the trunk and every part after it.
    EXPECT_EQ(l.Count("Fabric Data", kUnreadable), 5);
    EXPECT_EQ(l.data.Run().m_comfort[0].size(), 1u);
  }
  f.Write(QStringLiteral("FiberA.dat"), "a\nb\nc\n0\t0\t1\t2\n");
  std::string body = "h1\nh2\nh3\n" + BodyRows(0) + BodyRows(1);
  f.Write(QStringLiteral("bodyProperty.dat"), body);
  f.Write(QStringLiteral("configure.dat"), "Selected model:1\nx\ny\nz\n1\t25\t0.5\t0\t0\t0\t0\t0\t0\t0\t10\t0\t0\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.Count("Fiber Data", kUnreadable), 1);
  EXPECT_EQ(l.Count("BodyProperty Data", kUnreadable), 1);
  EXPECT_EQ(l.Count("Environment Data", kUnreadable), 1);
}

TEST(LoadLines, LastLineWithAndWithoutLineBreak) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("FiberA.dat"), "0\t0\t1\t2\n1\t0\t3\t4\n");
  f.Write(QStringLiteral("FiberB.dat"), "0\t0\t1\t2\n1\t0\t3\t4");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.data.Run().m_fibers.size(), 2u);
  EXPECT_EQ(l.data.Run().m_fibers[0].m_rows.size(), 2u);
  EXPECT_EQ(l.data.Run().m_fibers[1].m_rows.size(), 2u);
  EXPECT_EQ(l.data.Run().m_fibers[1].m_rows[1].m_fValue2, 4.0f);
}

TEST(LoadLines, LongLinesKeepTheRowOfTheirFirst255CharactersAndNoMore) {
  CRunFolder f;
  f.WriteMinimal();
  const std::string padded = "1\t0\t3\t4" + std::string(255 - 7, '\t');  // 255 characters and the line break
  // Cut in pieces of 255, the tail of this line would read as a row of its own.
  const std::string longLine = "2\t0\t5\t6" + std::string(300, ' ') + "7\t8\t9\t10";
  f.Write(QStringLiteral("FiberA.dat"), "0\t0\t1\t2\n" + padded + "\n" + longLine + "\n" + longLine + "\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.data.Run().m_fibers.size(), 1u);
  std::vector<float> times;
  for (const FiberRow& r : l.data.Run().m_fibers[0].m_rows) {
    times.push_back(r.m_fTime);
  }
  EXPECT_EQ(times, (std::vector<float>{0, 1, 2, 2}));
  EXPECT_EQ(l.Count("Fiber Data", kUnreadable), 1);  // the three tails: unreadable from the third on
}

TEST(LoadFabrics, LayersNodesIntervalAndHumidity) {
  CRunFolder f;
  f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("fabricsTrunk.dat"), FabricStep(0, 2, 3) + FabricStep(0.5f, 2, 3));
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nLayers[Trunk], 2);
  EXPECT_EQ(l.data.Run().m_nNodesPerLayer[Trunk], 3);
  EXPECT_EQ(l.data.Run().m_fFabricInterval, 0.5f);
  ASSERT_EQ(l.data.Run().m_fabric[Trunk].size(), 12u);
  EXPECT_EQ(l.data.Run().m_fabric[Trunk][0].m_fHumidity, 65.0f) << "the file's own percent";
  EXPECT_LE(l.data.Run().m_fHumidityMin, 0.65f) << "the scale's range takes it as a fraction";
  EXPECT_GE(l.data.Run().m_fHumidityMax, 0.65f);
  EXPECT_EQ(l.data.Run().m_nLayers[Head], 0);
}

TEST(LoadFabrics, OnlyClothedPartsAndAMissingFileIsSaidAndLosesOnlyItsPart) {
  CRunFolder f;
  f.WriteMinimal(2, "1\t1\t0\t0\t1\t1");
  f.Write(QStringLiteral("fabricsHead.dat"), FabricStep(0, 1, 2) + FabricStep(1, 1, 2));
  f.Write(QStringLiteral("fabricsArm.dat"), FabricStep(0, 1, 2));
  f.Write(QStringLiteral("fabricsLeg.dat"), FabricStep(0, 1, 2));
  f.Write(QStringLiteral("fabricsFoot.dat"), FabricStep(0, 1, 2));
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_fabric[Head].size(), 4u);
  EXPECT_TRUE(l.data.Run().m_fabric[Arm].empty());  // not clothed: not opened
  EXPECT_TRUE(l.data.Run().m_fabric[Trunk].empty());
  EXPECT_EQ(l.data.Run().m_fabric[Leg].size(), 2u);  // the later parts are still read
  EXPECT_EQ(l.data.Run().m_fabric[Foot].size(), 2u);
  ASSERT_EQ(l.messages.Entries().size(), 1u);
  EXPECT_EQ(l.Count("Fabric Data", "fabricsTrunk.dat can not be read!"), 1);
}

TEST(LoadFabrics, MoreThanTenLayersKeepsCountsAndStaysInBounds) {
  CRunFolder f;
  f.WriteMinimal(3, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("fabricsTrunk.dat"), FabricStep(0, 13, 2) + FabricStep(0.5f, 13, 2) + FabricStep(1.0f, 13, 2));
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nLayers[Trunk], 13);
  l.data.State().SelectLayer(13);
  for (int s = 0; s < 3; ++s) {
    l.data.State().SeekStep(s);
    (void)l.data.Colours();
  }
  // Layer 10 (31 + 10 = 41 degrees, above every threshold) is red; nothing past it is kept.
  EXPECT_EQ(l.data.Colours().m_allLayerColours[9][Trunk][0], 1.0f);
  EXPECT_EQ(l.data.Colours().m_allLayerColours[9][Trunk][1], 0.0f);
  EXPECT_EQ(l.data.Colours().m_layerColours[Trunk][0], 1.0f);
}

TEST(LoadFabrics, NinthColumnIsTheLiquidFraction) {
  CRunFolder f;
  f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("fabricsTrunk.dat"),
          "0\t0.1\t1\t0.01\t0.01\t0\t50\t30\t2.5\n0\t0.2\t1\t0.01\t0.01\t0\t50\t30\t\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.data.Run().m_fabric[Trunk].size(), 2u);
  EXPECT_EQ(l.data.Run().m_fabric[Trunk][0].m_fLiquidFraction, 2.5f);
  EXPECT_EQ(l.data.Run().m_fabric[Trunk][1].m_fLiquidFraction, 0.0f);
}

TEST(LoadBody, SamplesAndInterval) {
  struct Case {
    int rows;
    float secondTime;
    int samples;
    float interval;
  } cases[] = {{12, 0.5f, 2, 0.5f}, {6, 0, 1, 1.0f}, {12, 0.0f, 2, 1.0f}, {13, 2.0f, 2, 2.0f}};
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal();
    std::string all = BodyRows(0) + BodyRows(c.secondTime) + BodyRows(9);
    std::size_t pos = 0;
    for (int r = 0; r < c.rows; ++r) {
      pos = all.find('\n', pos) + 1;
    }
    f.Write(QStringLiteral("bodyProperty.dat"), all.substr(0, pos));
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok) << c.rows;
    EXPECT_EQ(l.data.Run().m_nSamples, c.samples) << c.rows;
    EXPECT_EQ(l.data.Run().m_fSampleInterval, c.interval) << c.rows;
  }
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("bodyProperty.dat"),
          BodyRows(0).substr(0, BodyRows(0).rfind('\n', BodyRows(0).size() - 2) + 1));
  Loaded five(f.Dir());  // less than one whole sample: no body data
  EXPECT_FALSE(five.ok);
  EXPECT_EQ(five.Count("Error", LoadMessages::kNoBody), 1);
}

TEST(LoadBody, MissingOrEmptyFailsWithAMessage) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("bodyProperty.dat"), "header only\n");
  Loaded l(f.Dir());
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.Count("Error", LoadMessages::kNoBody), 1);
}

TEST(LoadComfort, ForeignPartIndexIsDroppedSilently) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("BodyDataforComfort.dat"), "0\t6\t1\t2\t3\n0\t-1\t1\t2\t3\n0\t5\t1\t2\t3\n0\t6\t1\t2\t3\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_comfort[Foot].size(), 1u);
  EXPECT_TRUE(l.messages.Entries().empty());
  f.Remove(QStringLiteral("BodyDataforComfort.dat"));
  Loaded missing(f.Dir());
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.Count("Error", LoadMessages::kNoComfort), 1);
  f.Write(QStringLiteral("BodyDataforComfort.dat"), "");
  Loaded empty(f.Dir());
  EXPECT_TRUE(empty.ok);
}

TEST(LoadFibers, BadFileIsNamedAndLeftOutAndHiddenFilesAreNotRead) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("FiberBad.dat"), "nothing\n");
  f.Write(QStringLiteral(".FiberHidden.dat"), "0\t0\t1\t2\n");
  f.Write(QStringLiteral("fiberlower.DAT"), "0\t0\t1\t2\n");
  QDir(f.Dir()).mkdir(QStringLiteral("FiberFolder.dat"));
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.data.Run().m_fibers.size(), 1u);
  EXPECT_EQ(l.data.Run().m_fibers[0].m_strName, QStringLiteral("fiberlower.DAT"));
  EXPECT_EQ(l.Count("Error", "FiberBad.dat format is incorrect!"), 1);
  EXPECT_EQ(l.messages.Entries().size(), 1u);
}

TEST(LoadIds, MissingIdFileIsReportedButNotFatal) {
  CRunFolder f;
  f.WriteMinimal();
  f.Remove(QStringLiteral("id.dat"));
  Loaded l(f.Dir());
  EXPECT_TRUE(l.ok);
  EXPECT_EQ(l.Count("Error", LoadMessages::kNoIds), 1);
  EXPECT_TRUE(l.data.Run().m_strModelId.isEmpty());
}

TEST(Load, RetryAfterFailureStartsEmpty) {
  CRunFolder bad;
  bad.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  bad.Write(QStringLiteral("configure.dat"),
            "Selected model:9\n1\t50\t0.9\t0\t0\t1\t0\t0\t0\t0\t10\t0\t0\n2\t51\t0.9\t0\t0\t1\t0\t0\t0\t0\t10\t0\t0\n");
  bad.Write(QStringLiteral("fabricsTrunk.dat"), FabricStep(0, 2, 2) + FabricStep(3, 2, 2));
  bad.Write(QStringLiteral("FiberX.dat"), "0\t0\t1\t2\n");
  bad.Remove(QStringLiteral("BodyDataforComfort.dat"));
  CRunFolder good;
  good.WriteMinimal();

  CRecordingMessageSink sink;
  CSimulationData d;
  d.SetMessageSink(&sink);
  ASSERT_FALSE(d.Load(bad.Dir()));
  ASSERT_FALSE(d.Run().m_fabric[Trunk].empty());
  ASSERT_TRUE(d.Load(good.Dir()));
  EXPECT_EQ(d.Run().m_nSelectedModel, 2);
  EXPECT_EQ(d.Run().m_nEnvPhases, 1);
  EXPECT_TRUE(d.Run().m_fabric[Trunk].empty());
  EXPECT_EQ(d.Run().m_nLayers[Trunk], 0);
  EXPECT_EQ(d.Run().m_fFabricInterval, 0.0f);
  EXPECT_TRUE(d.Run().m_fibers.empty());
  EXPECT_EQ(d.Run().m_body.size(), 12u);
  EXPECT_EQ(d.Run().m_fTempMax, 37.0f);
  EXPECT_EQ(d.Run().m_strDataDir, good.Dir());
}

TEST(Load, CrLfRunLoadsExactlyLikeLfRun) {
  const QString sample = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  ASSERT_FALSE(sample.isEmpty());
  CRunFolder crlf;
  for (const QString& name : QDir(sample).entryList(QDir::Files)) {
    QFile in(sample + QLatin1Char('/') + name);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    bytes.replace("\n", "\r\n");
    crlf.Write(name, bytes.toStdString());
  }
  Loaded lf(sample + QLatin1Char('/'));
  Loaded cr(crlf.Dir());
  ASSERT_TRUE(lf.ok);
  ASSERT_TRUE(cr.ok);
  EXPECT_TRUE(lf.messages.Entries().empty());
  EXPECT_TRUE(cr.messages.Entries().empty());
  EXPECT_EQ(cr.data.Run().m_strModelId, lf.data.Run().m_strModelId);
  EXPECT_EQ(cr.data.Run().m_garmentIds, lf.data.Run().m_garmentIds);
  EXPECT_EQ(cr.data.Run().m_nSelectedModel, lf.data.Run().m_nSelectedModel);
  EXPECT_TRUE(SameRows(cr.data.Run().m_body, lf.data.Run().m_body));
  for (int p = 0; p < kBodyPartCount; ++p) {
    EXPECT_TRUE(SameRows(cr.data.Run().m_fabric[p], lf.data.Run().m_fabric[p])) << p;
    EXPECT_EQ(cr.data.Run().m_nLayers[p], lf.data.Run().m_nLayers[p]);
    EXPECT_TRUE(SameRows(cr.data.Run().m_comfort[p], lf.data.Run().m_comfort[p])) << p;
  }
  EXPECT_EQ(cr.data.Run().m_fibers.size(), lf.data.Run().m_fibers.size());
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(cr.data.Colours().m_fScale[k], lf.data.Colours().m_fScale[k]) << k;
  }
}

TEST(Load, SampleRunIsConsistent) {
  Loaded l(qEnvironmentVariable("CORVANE_SAMPLE_RUN"));
  ASSERT_TRUE(l.ok);
  EXPECT_TRUE(l.messages.Entries().empty());
  const CSimulationData& d = l.data;
  EXPECT_EQ(d.Run().m_nEnvPhases, 3);
  EXPECT_GE(d.Run().m_fibers.size(), 2u);
  EXPECT_EQ(d.Run().m_garmentIds.size(), 2);
  EXPECT_GT(d.Run().m_nSamples, 10);
  EXPECT_EQ(d.Run().m_body.size(), static_cast<std::size_t>(d.Run().m_nSamples) * 6);
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (d.Run().m_env[0].m_fClothed[p] >= 1) {
      EXPECT_GE(d.Run().m_nLayers[p], 2);
      EXPECT_LE(d.Run().m_nLayers[p], 4);
      const std::size_t step =
          static_cast<std::size_t>(d.Run().m_nLayers[p]) * static_cast<std::size_t>(d.Run().m_nNodesPerLayer[p]);
      EXPECT_EQ(d.Run().m_fabric[p].size() % step, 0u) << p;
    }
    EXPECT_EQ(d.Run().m_comfort[p].size(), static_cast<std::size_t>(d.Run().m_nSamples));
    for (const ComfortRow& c : d.Run().m_comfort[p]) {
      EXPECT_GE(c.m_fComfort, 0.0f);
      EXPECT_LE(c.m_fComfort, 100.0f);
    }
  }
  // Sweating starts only in the warm phase.
  float maxRestSweat = 0, maxSweat = 0;
  for (const BodyPropertyRow& r : d.Run().m_body) {
    if (r.m_fTime < d.Run().m_env[1].m_fStart) {
      maxRestSweat = std::max(maxRestSweat, r.m_fSweatRate);
    }
    maxSweat = std::max(maxSweat, r.m_fSweatRate);
  }
  EXPECT_LT(maxRestSweat, 5.0f);
  EXPECT_GT(maxSweat, 50.0f);
  EXPECT_LT(d.Run().m_fTempMin, d.Run().m_fTempMax);
  EXPECT_GE(d.Run().m_fHumidityMin, 0.0f);
  EXPECT_LE(d.Run().m_fHumidityMax, 1.0f);
}

TEST(Load, NumbersReadTheSameUnderAGermanLocale) {
  CRunFolder f;
  f.WriteMinimal();
  // A German decimal comma is no number there either.
  f.Write(QStringLiteral("FiberA.dat"), "36.5\t8.0e0\t1e-1\t2,5\n");
  std::optional<Loaded> l;
  {
    CGermanLocale german;
    ASSERT_TRUE(german.Active()) << kNoGermanLocale;
    l.emplace(f.Dir());
  }
  ASSERT_TRUE(l->ok);
  ASSERT_EQ(l->data.Run().m_fibers.size(), 1u);
  EXPECT_EQ(l->data.Run().m_fibers[0].m_rows[0].m_fTime, 36.5f);
  EXPECT_EQ(l->data.Run().m_fibers[0].m_rows[0].m_fPosition, 8.0f);
  EXPECT_EQ(l->data.Run().m_fibers[0].m_rows[0].m_fValue1, 0.1f);
  EXPECT_TRUE(std::isnan(l->data.Run().m_fibers[0].m_rows[0].m_fValue2));
  EXPECT_EQ(l->data.Run().m_env[0].m_fHumidity, 0.5f);
}

// Every message a load gives, as the user reads it: caption and text, written
// out here so that a changed word fails.
TEST(Load, EachMessageReadsAsWritten) {
  const std::string phase = "1\t20\t0.4\t0\t0\t0\t1\t0\t0\t0\t10\t0\t0\n";  // the arm clothed
  std::string elevenPhases = "Selected model:1\n";
  for (int i = 0; i < 11; ++i) {
    elevenPhases += phase;
  }
  const struct {
    const char* file{};
    std::optional<std::string> content;  // none: the file is removed
    bool loads{};
    const char* caption{};
    const char* text{};
  } cases[] = {
      {"configure.dat", std::nullopt, false, "Error", "No data or incorrect format in environment data file!"},
      {"configure.dat", "Selected model:1\nnothing\n", false, "Error",
       "No data or incorrect format in environment data file!"},
      {"configure.dat", elevenPhases, true, "Environment Data",
       "Only the first 10 environment phases are used; the further rows of configure.dat are ignored."},
      {"configure.dat", "Selected model:1\n" + phase + "a\nb\nc\n", true, "Environment Data",
       "Some data can not be read!"},
      {"bodyProperty.dat", std::nullopt, false, "Error", "No data or incorrect format in body property data file!"},
      {"bodyProperty.dat", "a\nb\nc\n" + BodyRows(0) + BodyRows(1), true, "BodyProperty Data",
       "Some data can not be read!"},
      {"BodyDataforComfort.dat", std::nullopt, false, "Error",
       "No data or incorrect format in BodyDataforComfort data file!"},
      {"BodyDataforComfort.dat", "no row here\n", true, "BodyDataforComfort Data", "Some data can not be read!"},
      {"id.dat", std::nullopt, true, "Error", "No data or incorrect format in id data file!"},
      {"FiberBad.dat", "nothing\n", true, "Error", "FiberBad.dat format is incorrect!"},
      {"FiberA.dat", "a\nb\nc\n0\t0\t1\t2\n", true, "Fiber Data", "Some data can not be read!"},
      {"fabricsArm.dat", std::nullopt, true, "Fabric Data", "fabricsArm.dat can not be read!"},
      {"fabricsArm.dat", "header one\nheader two\nheader three\n" + FabricStep(0, 1, 2) + FabricStep(1, 1, 2), true,
       "Fabric Data", "Some data can not be read!"},
  };
  for (const auto& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t0\t1\t0\t0\t0");  // the arm clothed
    f.Write(QStringLiteral("fabricsArm.dat"), FabricStep(0, 1, 2) + FabricStep(1, 1, 2));
    if (c.content) {
      f.Write(QLatin1String(c.file), *c.content);
    } else {
      f.Remove(QLatin1String(c.file));
    }
    Loaded l(f.Dir());
    EXPECT_EQ(l.ok, c.loads) << c.file;
    // (The fabric files' count is said again after each later part.)
    ASSERT_GE(l.messages.Entries().size(), 1u) << c.file << ": " << c.text;
    for (const auto& m : l.messages.Entries()) {
      EXPECT_EQ(m.caption, QLatin1String(c.caption)) << c.file;
      EXPECT_EQ(m.text, QLatin1String(c.text)) << c.file;
    }
  }
}

// Body rows that all fit no place (parts beyond Foot) are no body data: the
// load fails as for an empty file.
TEST(LoadBodyProperties, RowsThatFitNoPlaceAreNoBodyData) {
  CRunFolder f;
  f.WriteMinimal();
  std::string rows;
  for (int s = 0; s < 2; ++s) {
    for (int p = 6; p < 12; ++p) {
      rows += std::to_string(s) + "\t" + std::to_string(p) + "\t33\t37\t58\t30\t6\t0\t0\t8\t1600\t\n";
    }
  }
  f.Write(QStringLiteral("bodyProperty.dat"), rows);
  Loaded l(f.Dir());
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.data.Run().m_nSamples, 0);
  EXPECT_TRUE(l.Says("Error", "No data or incorrect format in body property data file!"));
}
