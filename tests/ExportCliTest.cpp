// corvane --export-csv as --figure takes its curves, and one rule for every
// refusal: 2 for a wrong request, 1 for a path or a file that fails.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "RunFolder.h"

namespace {
struct Outcome {
  int exitCode = -1;
  QByteArray out, err;
};
Outcome Corvane(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("CORVANE_BIN"), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
QString SampleRun() { return qEnvironmentVariable("CORVANE_SAMPLE_RUN"); }
QList<QByteArray> Lines(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>{};
}
}  // namespace

// A column a curve, named as the legend names it: several quantities, every
// part, and every part of two runs.
TEST(ExportCli, AColumnForEveryCurveTheChartShows) {
  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("x.csv"));
  const QString wool = dir.filePath(QStringLiteral("wool"));
  ASSERT_TRUE(QDir().mkpath(wool));
  for (const QFileInfo& f : QDir(SampleRun()).entryInfoList(QDir::Files)) {
    ASSERT_TRUE(QFile::copy(f.filePath(), wool + QLatin1Char('/') + f.fileName()));
  }
  const struct {
    QStringList args;
    const char* header = nullptr;
  } cases[] = {
      {{"--option", "1100", "--all-parts"},
       "Time(min),Head: Temperature of Skin(Degree),Trunk: Temperature of Skin(Degree),Arm: Temperature of "
       "Skin(Degree),Hand: Temperature of Skin(Degree),Leg: Temperature of Skin(Degree),Foot: Temperature of "
       "Skin(Degree)"},
      {{"--option", "2100", "--quantity", "0,1"},
       "Time(min),Trunk: Temperature of Skin(Degree),Trunk: Temperature of Core(Degree)"},
      {{"--option", "3200", "--quantity", "2", "--all-parts", "--compare", wool},
       "Time(min),\"Arm: Comfort(0-100), sample-run\",\"Head: Comfort(0-100), sample-run\",\"Trunk: Comfort(0-100), "
       "sample-run\",\"Hand: Comfort(0-100), sample-run\",\"Leg: Comfort(0-100), sample-run\",\"Foot: Comfort(0-100), "
       "sample-run\",\"Arm: Comfort(0-100), wool\","},
  };
  for (const auto& c : cases) {
    const Outcome r = Corvane(QStringList{QStringLiteral("--export-csv"), csv} + c.args + QStringList{SampleRun()});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> lines = Lines(csv);
    EXPECT_TRUE(lines.front().startsWith(c.header)) << lines.front().constData();
    EXPECT_EQ(lines[1].count(','), lines.front().count(',') - lines.front().count(", ")) << "a cell a column";
    EXPECT_GT(lines.size(), 10);
  }
}

// Refusals in one line each: 2 for a wrong request (an option given twice,
// a malformed value, a quantity without values), 1 for a run that fails;
// nothing is written.
TEST(ExportCli, EachRefusalSaysWhyAndWritesNothing) {
  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("x.csv"));
  const struct {
    QStringList args;
    int exitCode = 0;
    const char* says = nullptr;
  } cases[] = {
      {{"--option", "1100", "--option", "1200", SampleRun()},
       2,
       "corvane: --option is given more than once; it takes one value.\n"},
      {{"--option", "1100", "--quantity", "0,x", SampleRun()},
       2,
       "corvane: --quantity takes a quantity from 0, or several parted by commas (0,1), not \"0,x\".\n"},
      {{"--option", "2401", "--quantity", "2", SampleRun()},
       2,
       "corvane: option 2401 has no values of quantity 2 (Moisture Content(kg*m^2)) in this run; nothing is "
       "written.\n"},
      {{"--option", "2300", "--all-parts", SampleRun()},
       2,
       "corvane: option 2300 is a line plot of one quantity of one part.\n"},
      {{"--option", "1100", "--quantity", "0,1,2,3", SampleRun()},
       2,
       "corvane: Relative Humidity of Skin(%) not shown: the chart already has two units, Degree and W*m^2.\n"},
      {{"--option", "1100", dir.filePath(QStringLiteral("absent"))}, 1, "could not be loaded.\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = Corvane(QStringList{QStringLiteral("--export-csv"), csv} + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(QLatin1Char(' ')).toStdString() << ": " << r.err.constData();
    EXPECT_TRUE(r.err.contains(c.says)) << r.err.constData();
    EXPECT_FALSE(QFile::exists(csv)) << c.args.join(QLatin1Char(' ')).toStdString();
  }
}

// --info counts the rows the files hold, not the places the loader filled
// with a hole.
TEST(ExportCli, InfoCountsRowsReadNotHoles) {
  CRunFolder run;
  run.WriteMinimal(3);
  // Three samples, the second missing its Arm row.
  std::string second = BodyRows(1);
  std::size_t line = 0;
  for (int i = 0; i < 2; ++i) {
    line = second.find('\n', line) + 1;
  }
  second.erase(line, second.find('\n', line) + 1 - line);
  run.Write(QStringLiteral("bodyProperty.dat"), BodyRows(0) + second + BodyRows(2));
  const Outcome r = Corvane({QStringLiteral("--info"), QStringLiteral("--json"), run.Dir()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QJsonObject o = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(o[QStringLiteral("bodyRows")].toInteger(), 17);
  EXPECT_EQ(o[QStringLiteral("bodyHoles")].toInteger(), 1);
  EXPECT_EQ(o[QStringLiteral("samples")].toInt(), 3);
}
