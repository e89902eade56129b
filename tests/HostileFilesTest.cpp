// Run folders as an attacker or a careless user leaves them: devices and
// FIFOs in place of files, files without a row, numbers beyond int, lone CRs.
// Each loads or fails with the file's own message, and never hangs.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cmath>
#include <cstdio>
#include <string>

#include "RunFolder.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {

using Loaded = LoadedRun;

enum class Kind { Fifo, DevZero };

void MakeSpecial(const CRunFolder& f, const char* name, Kind kind) {
  const QByteArray path = QFile::encodeName(f.Dir() + QLatin1String(name));
  ::unlink(path.constData());
  if (kind == Kind::Fifo) {
    ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
  } else {
    ASSERT_EQ(::symlink("/dev/zero", path.constData()), 0);
  }
}

}  // namespace

TEST(HostileFiles, OnlyRegularFilesAreReadAndTheRefusalIsTheFilesOwnMessage) {
  struct Case {
    const char* file;
    Kind kind;
    bool loads;
    const char* caption;
    QString text;
  } cases[] = {
      {"configure.dat", Kind::Fifo, false, "Error", LoadMessages::kNoEnvironment},
      {"configure.dat", Kind::DevZero, false, "Error", LoadMessages::kNoEnvironment},
      {"bodyProperty.dat", Kind::Fifo, false, "Error", LoadMessages::kNoBody},
      {"BodyDataforComfort.dat", Kind::DevZero, false, "Error", LoadMessages::kNoComfort},
      {"fabricsTrunk.dat", Kind::DevZero, true, "Fabric Data", QStringLiteral("fabricsTrunk.dat can not be read!")},
      {"fabricsTrunk.dat", Kind::Fifo, true, "Fabric Data", QStringLiteral("fabricsTrunk.dat can not be read!")},
      {"id.dat", Kind::DevZero, true, "Error", LoadMessages::kNoIds},
      {"id.dat", Kind::Fifo, true, "Error", LoadMessages::kNoIds},
  };
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
    MakeSpecial(f, c.file, c.kind);
    Loaded l(f.Dir());
    EXPECT_EQ(l.ok, c.loads) << c.file;
    EXPECT_TRUE(l.Says(QLatin1String(c.caption), c.text)) << c.file << ": " << c.text.toStdString();
  }
}

TEST(HostileFiles, AFileWithLinesButNoRowIsSaidHoweverFewItsLinesAndAnEmptyFabricFileToo) {
  struct Case {
    const char* file;
    const char* content;
    const char* caption;
    QString text;
  } cases[] = {
      {"BodyDataforComfort.dat", "no row here\n", "BodyDataforComfort Data", LoadMessages::kUnreadable},
      {"fabricsTrunk.dat", "nothing to read\n", "Fabric Data", QStringLiteral("fabricsTrunk.dat format is incorrect!")},
      // A clothed part's fabric file of nothing at all.
      {"fabricsTrunk.dat", "", "Fabric Data", QStringLiteral("fabricsTrunk.dat format is incorrect!")},
      {"id.dat", "who knows\n", "Error", LoadMessages::kNoIds},
  };
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
    f.Write(QLatin1String(c.file), c.content);
    Loaded l(f.Dir());
    EXPECT_TRUE(l.ok) << c.file;
    EXPECT_TRUE(l.Says(QLatin1String(c.caption), c.text)) << c.file;
  }
}

TEST(HostileFiles, NumbersBeyondIntMakeTheirRowUnreadable) {
  CRunFolder f;
  f.WriteMinimal(2);
  f.Write(QStringLiteral("configure.dat"), "Selected model:4294967297\n1\t25\t0.5\t0\t0\t0\t0\t0\t0\t0\t10\t0\t0\n");
  // Read modulo 2^32, part 4294967296 would be the head.
  f.Write(QStringLiteral("bodyProperty.dat"),
          BodyRows(0) + BodyRows(1) + "2\t4294967296\t33\t37\t58\t0.4\t6.3\t0\t0\t20\t1500\n");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nSelectedModel, 0);
  EXPECT_EQ(l.data.Run().m_body.size(), 12u);
}

TEST(HostileFiles, ALoneCarriageReturnEndsALine) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("FiberA.dat"), "0\t0\t1\t2\r1\t0\t3\t4\r\n2\t0\t5\t6\r");
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.data.Run().m_fibers.size(), 1u);
  ASSERT_EQ(l.data.Run().m_fibers[0].m_rows.size(), 3u);
  EXPECT_EQ(l.data.Run().m_fibers[0].m_rows[2].m_fValue2, 6.0f);
}

// Indices computed from file values are checked before use: a fabric step
// near 1e15 times the layers and nodes of a file overflows 64 bits.
TEST(HostileFiles, AFabricRowBeyondAnyIndexIsNoRow) {
  CSimulationData d;
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = static_cast<float>(s);
      r.m_nPart = p;
      EditRun(d).m_body.push_back(r);
    }
  }
  EditRun(d).m_nSamples = 2;
  EditRun(d).m_fSampleInterval = 1;
  EditRun(d).m_fFabricInterval = 1.2e-15f;  // a fabric step of about 8e14 at sample 1
  EditRun(d).m_nLayers[Trunk] = 10;
  EditRun(d).m_nNodesPerLayer[Trunk] = 1000000;
  EditRun(d).m_fabric[Trunk].resize(4);
  d.State().SelectLayer(1);
  d.State().SeekStep(1);
  const float before = d.Colours().m_layerColours[Trunk][0];
  EXPECT_EQ(d.Colours().m_layerColours[Trunk][0], before);
}

// A time or a layer number far from the others makes no grid to hold it: the
// row is left out and said, and the table stays the size of what was read.
TEST(HostileFiles, AFarTimeOrLayerNumberIsLeftOutNotAllocated) {
  std::string steps;
  char line[128];
  for (int s = 0; s < 3; ++s) {
    std::snprintf(line, sizeof line, "%f\t0.050000\t1\t1.0e-02\t1.0e-02\t0\t60\t30\t\n", 0.1 * s);
    steps += line;
  }
  struct Case {
    const char* row;
    const char* text;
  } cases[] = {
      {"1000000000000000019884624838656.000000\t0.05\t1\t0\t0\t0\t60\t30\t\n",
       "fabricsTrunk.dat: line 4 (layer 1 at 1e+30 min) fits no place in the table and is left out"},
      {"100000.000000\t0.05\t1\t0\t0\t0\t60\t30\t\n",
       "fabricsTrunk.dat: line 4 (layer 1 at 100000 min) fits no place in the table and is left out"},
      {"0.200000\t0.05\t2000000000\t0\t0\t0\t60\t30\t\n",
       "fabricsTrunk.dat: line 4 (layer 2000000000 at 0.2 min) fits no place in the table and is left out"},
  };
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
    f.Write(QStringLiteral("fabricsTrunk.dat"), steps + c.row);
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok) << c.text;
    EXPECT_EQ(l.data.Run().m_fabric[Trunk].size(), 3u) << c.text;
    EXPECT_EQ(l.data.Run().m_nLayers[Trunk], 1) << c.text;
    ASSERT_EQ(l.messages.Entries().size(), 1u) << c.text;
    EXPECT_EQ(l.messages.Entries()[0].text, QLatin1String(c.text));
  }
}

// Positions that are no finite number ("nan", "inf", beyond a float) neither
// serve as the nodes' places nor match one: such a row is left out, and the
// load reads no memory it does not own.
TEST(HostileFiles, PositionsThatAreNoNumberMatchNoNode) {
  const std::string row = "\t1\t1.0e-02\t1.0e-02\t0\t60\t30\t\n";
  const struct {
    std::string text;
  } cases[] = {
      {"0\t0.05" + row + "0\t0.1" + row + "0.1\t0.05" + row + "0.1\tnan" + row + "0.1\tinf" + row + "0.2\t0.05" + row +
       "0.2\t0.1" + row},
      {"0\tnan" + row + "0\tnan" + row + "0.1\t0.05" + row + "0.1\t1e39" + row + "0.1\t-inf" + row + "0.2\tnan" + row +
       "0.2\t0.1" + row},
  };
  for (const auto& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
    f.Write(QStringLiteral("fabricsTrunk.dat"), c.text);
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.data.Run().m_nNodesPerLayer[Trunk], 2);
    EXPECT_EQ(l.data.Run().m_fabric[Trunk].size(), 6u) << "three steps of two nodes";
  }
  // One node a layer: any position is near enough, but "nan" is near none.
  CRunFolder f;
  f.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  f.Write(QStringLiteral("fabricsTrunk.dat"), "0\tnan" + row + "0\t0.05" + row + "0.1\t0.05" + row + "0.2\t0.05" + row);
  Loaded l(f.Dir());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.data.Run().m_nNodesPerLayer[Trunk], 1);
  ASSERT_EQ(l.data.Run().m_fabric[Trunk].size(), 3u);
  EXPECT_EQ(l.data.Run().m_fabric[Trunk][0].m_fPosition, 0.05f);
}

// A field that is no decimal number within a float's range leaves a hole for
// that value alone, said with its file, line and column; a bad time or part
// makes its line unreadable. Nothing non-finite reaches a range, the colour
// scale or a colour, even at a float's limits.
TEST(HostileFiles, AValueThatIsNoNumberLeavesAHoleForItselfAlone) {
  struct Case {
    const char* skin;  // the skin temperature of line 2 (the Trunk of the first sample)
    bool hole;
  } cases[] = {{"inf", true},   {"-inf", true},    {"nan", true},     {"1e39", true},  {"1e", true},
               {"0x1p3", true}, {"30.6O49", true}, {"3.4e38", false}, {"1e-50", false}};
  for (const Case& c : cases) {
    CRunFolder f;
    f.WriteMinimal(2);
    std::string body = BodyRows(0) + BodyRows(0.5f);
    const std::size_t skin = body.find("33.100", body.find('\n'));
    body.replace(skin, 6, c.skin);
    if (!c.hole) {
      // Its opposite in line 3: a span twice a float's largest value.
      body.replace(body.find("33.200"), 6, c.skin[0] == '-' ? std::string(c.skin + 1) : std::string(1, '-') + c.skin);
    }
    f.Write(QStringLiteral("bodyProperty.dat"), body);
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok) << c.skin;
    ASSERT_EQ(l.data.Run().m_nSamples, 2) << c.skin;
    const BodyPropertyRow* row = l.data.Run().BodyRowAt(0, 1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(std::isnan(row->m_fSkinTemp), c.hole) << c.skin;
    EXPECT_EQ(row->m_fCoreTemp, 37.0f) << "the row's other values stay, " << c.skin;
    EXPECT_EQ(l.data.Run().m_nBodyHoles, 0u) << c.skin;
    const QString said = QStringLiteral(
                             "bodyProperty.dat: line 2, column 3 holds \"%1\", which is no number; "
                             "that value is left out")
                             .arg(QLatin1String(c.skin));
    EXPECT_EQ(l.Count(QStringLiteral("BodyProperty Data"), said), c.hole ? 1 : 0) << c.skin;
    EXPECT_TRUE(std::isfinite(l.data.Run().m_fTempMin) && std::isfinite(l.data.Run().m_fTempMax)) << c.skin;
    for (int step : {0, 1}) {
      l.data.State().SeekStep(step);
      const PartColours& colours = l.data.Colours();
      for (float t : colours.m_fScale) {
        EXPECT_TRUE(std::isfinite(t)) << c.skin;
      }
      for (int p = 0; p < kBodyPartCount; ++p) {
        for (float v : colours.m_skinColours[p]) {
          EXPECT_TRUE(v >= 0 && v <= 1) << c.skin << " part " << p;
        }
      }
    }
  }
}

TEST(HostileFiles, ABadTimeOrPartMakesTheLineUnreadable) {
  for (const char* time : {"0.5x", "inf", "nan", "1e"}) {
    CRunFolder f;
    f.WriteMinimal(2);
    std::string body = BodyRows(0) + BodyRows(0.5f) + BodyRows(1.0f);
    const std::size_t eighth = [&] {
      std::size_t at = 0;
      for (int i = 0; i < 7; ++i) {
        at = body.find('\n', at) + 1;
      }
      return at;
    }();
    body.replace(eighth, 5, time);  // "0.500" of the second sample's Trunk
    f.Write(QStringLiteral("bodyProperty.dat"), body);
    Loaded l(f.Dir());
    ASSERT_TRUE(l.ok) << time;
    EXPECT_EQ(l.data.Run().m_nSamples, 3) << time;
    EXPECT_EQ(l.data.Run().m_nBodyHoles, 1u) << time;
    EXPECT_TRUE(std::isnan(l.data.Run().BodyRowAt(1, 1)->m_fSkinTemp)) << time;
    EXPECT_EQ(l.Count(QStringLiteral("BodyProperty Data"),
                      QStringLiteral("bodyProperty.dat: line 8 cannot be read; the values of Trunk at 0.5 min "
                                     "are missing")),
              1)
        << time;
  }
}
