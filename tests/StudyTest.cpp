// A study of several runs: the thermal-sensation bands as the comfort chart
// draws them, minutes in a band and time-weighted means at the spacings runs
// have (0.1 min, uneven, starting after minute 0, with holes), and the CSV
// that --study and a batch's study entry write.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "CorvaneProcess.h"
#include "RunFolder.h"
#include "StudySummary.h"

namespace {
const double kHole = NAN;

ProcessResult Corvane(const QStringList& args) { return RunCorvane(args); }
QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(Study, TheBandsAreTheComfortChartsOwn) {
  const std::vector<SensationBand>& bands = SensationBands();
  ASSERT_EQ(bands.size(), 5u);
  const struct {
    const char* name;
    double lo, hi;
  } want[] = {{"Hot", 74, 100}, {"Warm", 55, 74}, {"Neutral", 45, 55}, {"Cool", 23, 45}, {"Cold", 0, 23}};
  for (std::size_t i = 0; i < bands.size(); ++i) {
    EXPECT_EQ(bands[i].name, QLatin1String(want[i].name));
    EXPECT_NEAR(bands[i].lo, want[i].lo, 1e-9) << want[i].name;
    EXPECT_NEAR(bands[i].hi, want[i].hi, 1e-9) << want[i].name;
  }
}

TEST(Study, MinutesMeansAndExtremesCountNoHole) {
  const struct {
    const char* what;
    TimedValues series;
    std::vector<double> minutes;  // Hot, Warm, Neutral, Cool, Cold
    double mean, lowest, lowestAt, highest, highestAt, end;
  } cases[] = {
      // Every 0.1 min from minute 10; the hole at 10.3 breaks two stretches.
      {"0.1 min from minute 10",
       {{10.0, 10.1, 10.2, 10.3, 10.4, 10.5, 10.6}, {80, 80, 60, kHole, 60, 60, 50}},
       {0.1, 0.1, 0, 0, 0},
       (80 * 0.1 + 70 * 0.1 + 60 * 0.1 + 55 * 0.1) / 0.4,
       50,
       10.6,
       80,
       10.0,
       50},
      // Uneven steps; a stretch across a band's edge counts in neither band.
      {"uneven",
       {{0, 1, 3, 3.5}, {0, 10, 10, 30}},
       {0, 0, 0, 0, 3},
       (5 * 1 + 10 * 2 + 20 * 0.5) / 3.5,
       0,
       0,
       30,
       3.5,
       30},
      // The top of the scale is in the top band; a hole at the end leaves no end.
      {"the scale's top, a last hole", {{0, 2, 4}, {100, 100, kHole}}, {2, 0, 0, 0, 0}, 100, 100, 0, 100, 0, kHole},
      {"one sample", {{5}, {50}}, {0, 0, 0, 0, 0}, kHole, 50, 5, 50, 5, 50},
  };
  for (const auto& c : cases) {
    const std::vector<double> minutes = MinutesInBands(c.series);
    ASSERT_EQ(minutes.size(), c.minutes.size()) << c.what;
    for (std::size_t b = 0; b < minutes.size(); ++b) {
      EXPECT_NEAR(minutes[b], c.minutes[b], 1e-9) << c.what << ", band " << b;
    }
    const double mean = TimeWeightedMean(c.series);
    EXPECT_TRUE(std::isnan(c.mean) ? std::isnan(mean) : std::fabs(mean - c.mean) < 1e-9) << c.what << ": " << mean;
    const SeriesFigures f = FiguresOf(c.series);
    EXPECT_EQ(f.lowest, c.lowest) << c.what;
    EXPECT_EQ(f.lowestAt, c.lowestAt) << c.what;
    EXPECT_EQ(f.highest, c.highest) << c.what;
    EXPECT_EQ(f.highestAt, c.highestAt) << c.what;
    EXPECT_EQ(std::isnan(f.end), std::isnan(c.end)) << c.what;
    if (!std::isnan(c.end)) {
      EXPECT_EQ(f.end, c.end) << c.what;
    }
  }
}

// A rating beyond the comfort chart's scale counts where the chart draws it:
// 100.4 in the top band, as the chart clamps it to 100.
TEST(Study, ARatingBeyondTheScaleCountsWhereTheChartDrawsIt) {
  CRunFolder run;
  run.WriteMinimal(3);
  run.Write(QStringLiteral("BodyDataforComfort.dat"), "0\t0\t100.4\t20\t104\t\n0.5\t0\t100.4\t20\t104\t\n");
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("s.csv"));
  ASSERT_EQ(Corvane({"--study", out, run.Dir()}).exitCode, 0);
  const QList<QByteArray> row = Read(out).split('\n')[1].split(',');
  EXPECT_EQ(row[11], "100") << "the comfort rating's mean, on the scale";
  EXPECT_EQ(row[12], "0.5") << "the half minute in Hot";
}

// --study writes a row per run, named by its folder (quoted where the name
// holds a comma), and a batch's study entry writes the same file.
TEST(Study, TheCommandAndTheBatchWriteARowPerRun) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  for (const char* name : {"wool", "a,b"}) {
    CRunFolder run;
    run.WriteMinimal(3);
    QDir().rename(run.Dir(), d.filePath(QLatin1String(name)));
  }
  const QString out = d.filePath(QStringLiteral("study.csv"));
  const ProcessResult r =
      Corvane({"--study", out, d.filePath(QStringLiteral("wool")), d.filePath(QStringLiteral("a,b"))});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QList<QByteArray> lines = Read(out).split('\n');
  ASSERT_EQ(lines.size(), 4) << "a header, two rows, and the last line's end";
  EXPECT_EQ(lines[0].count(','), 6 * 17) << "the run, and seventeen columns a part";
  EXPECT_TRUE(
      lines[0].startsWith("Run,Head: Temperature of Skin at end(Degree),Head: Temperature of Skin "
                          "lowest(Degree),Head: Temperature of Skin lowest at(min),"));
  EXPECT_TRUE(
      lines[0].contains(",Trunk: Thermal Sensation Cold(min),Trunk: Sweat Volume Accumulated on Skin "
                        "Surface at end(Esk:W*m^2),Arm:"));
  // The minimal run: three samples half a minute apart, the Trunk's skin at
  // 33.1 throughout; its comfort file one time only (no stretch: no mean).
  EXPECT_TRUE(lines[1].startsWith("wool,33,33,0,33,0,37,37,0,37,0,,0,0,0,0,0,0,33.1,33.1,0,33.1,0,"))
      << lines[1].constData();
  EXPECT_TRUE(lines[2].startsWith("\"a,b\",33,")) << lines[2].constData();

  QFile batch(d.filePath(QStringLiteral("b.toml")));
  ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
  batch.write("[[output]]\nstudy = \"from-batch.csv\"\nruns = [\"wool\", \"a,b\"]\n");
  batch.close();
  const ProcessResult b = Corvane({"--batch", batch.fileName()});
  ASSERT_EQ(b.exitCode, 0) << b.err.constData();
  EXPECT_EQ(Read(d.filePath(QStringLiteral("from-batch.csv"))), Read(out));

  // Refused: no run; a run that does not load (no file written).
  const ProcessResult none = Corvane({"--study", out});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_TRUE(none.err.contains("corvane: --study FILE RUN... takes the runs of the study and nothing else.\n"));
  const QString missing = d.filePath(QStringLiteral("missing.csv"));
  const ProcessResult bad = Corvane({"--study", missing, d.filePath(QStringLiteral("wool")), dir.path()});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(
      bad.err.contains(QStringLiteral("corvane: the run in \"%1\" could not be loaded.\n").arg(dir.path()).toUtf8()))
      << bad.err.constData();
  EXPECT_FALSE(QFile::exists(missing));
}
