// Two runs side by side: the runs' labels, delimited fields, the compared
// CSV (each value what its run gives alone), the command line, and the main
// window's Compare With Run and Close Comparison.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "DataCsv.h"
#include "ExportCommand.h"
#include "RunComparison.h"
#include "RunFolder.h"
#include "SimulationData.h"

namespace {
// A run of `samples` body samples every `interval` minutes, its skin
// temperature rising from `skin`.
void WriteRun(CRunFolder& run, int samples, float interval, float skin) {
  run.WriteMinimal();
  std::string body;
  for (int s = 0; s < samples; ++s) {
    body += BodyRows(interval * static_cast<float>(s), skin + 0.25f * static_cast<float>(s));
  }
  run.Write(QStringLiteral("bodyProperty.dat"), body);
}

// The non-empty cells of column `column` of delimited `text` (its header
// left out), with the time of their row.
std::vector<std::pair<QString, QString>> Cells(const QString& text, int column) {
  std::vector<std::pair<QString, QString>> cells;
  const QStringList rows = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (const QString& row : rows.mid(1)) {
    const QStringList fields = row.split(QLatin1Char(','));
    if (column < fields.size() && !fields[column].isEmpty()) {
      cells.emplace_back(fields[0], fields[column]);
    }
  }
  return cells;
}
}  // namespace

TEST(Compare, RunLabelsAndDelimitedFields) {
  const struct {
    const char* a;
    const char* b;
    const char* first;
    const char* second;
  } labels[] = {
      {"/data/run-a/", "/data/run-b", "run-a", "run-b"},
      {"/x/hot/output/", "/y/cold/output", "hot/output", "cold/output"},
      {"/data/run-a", "/data/run-a/", "data/run-a", "data/run-a"},
  };
  for (const auto& l : labels) {
    const auto [first, second] = RunLabels(QLatin1String(l.a), QLatin1String(l.b));
    EXPECT_EQ(first, QLatin1String(l.first)) << l.a;
    EXPECT_EQ(second, QLatin1String(l.second)) << l.b;
  }
  const struct {
    const char* text;
    char separator;
    const char* field;
  } fields[] = {
      {"Time(min)", ',', "Time(min)"},
      {"Trunk: Skin, run-b", ',', "\"Trunk: Skin, run-b\""},
      {"Trunk: Skin, run-b", '\t', "Trunk: Skin, run-b"},
      {"say \"hi\"", ',', "\"say \"\"hi\"\"\""},
      {"two\nlines", '\t', "\"two\nlines\""},
  };
  for (const auto& f : fields) {
    EXPECT_EQ(DelimitedField(QString::fromUtf8(f.text), QLatin1Char(f.separator)), QString::fromUtf8(f.field))
        << f.text;
  }
}

TEST(Compare, TheCsvHoldsEachRunsOwnValuesOnACommonTimeAxis) {
  // Steps of 0.5 and of 0.1 minutes, the second run shorter.
  CRunFolder a, b;
  WriteRun(a, 5, 0.5f, 33.0f);
  WriteRun(b, 8, 0.1f, 34.0f);
  LoadedRun first(a.Dir()), second(b.Dir());
  ASSERT_TRUE(first.ok && second.ok);
  const int option = 2100, quantity = 0;  // the trunk's skin temperature
  const QString text = ComparedCsv(first.data, second.data, option, quantity);
  const auto [nameA, nameB] = RunLabels(a.Dir(), b.Dir());
  EXPECT_TRUE(text.startsWith(QStringLiteral("Time(min),\"Trunk: Temperature of Skin(Degree), %1\",\"Trunk: "
                                             "Temperature of Skin(Degree), %2\"\n")
                                  .arg(nameA, nameB)))
      << qPrintable(text.left(200));
  // Every time either run holds, once, in order: 0 ... 0.7 by 0.1, then 1, 1.5, 2.
  const QStringList rows = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
  QStringList times;
  for (const QString& r : rows) {
    times << r.section(QLatin1Char(','), 0, 0);
  }
  EXPECT_EQ(times, (QStringList{"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "1", "1.5", "2"}));
  // Each column is its run's own export, row for row.
  for (const auto& [run, column] : {std::pair{&first, 1}, std::pair{&second, 2}}) {
    EXPECT_EQ(Cells(text, column), Cells(ExportCsv(run->data, option, quantity), 1)) << "column " << column;
  }
  // A line plot's rows: each run's own, its name in front.
  const QString plot = ComparedCsv(first.data, second.data, 2300, 0);
  EXPECT_TRUE(plot.startsWith(QStringLiteral("run,curve,Thickness(cm),Time(min),")));
}

TEST(Compare, TheCommandWritesBothRunsOrSaysWhyNot) {
  QTemporaryDir dir;
  CRunFolder a, b;
  WriteRun(a, 4, 0.5f, 33.0f);
  WriteRun(b, 6, 0.1f, 34.0f);
  auto corvane = [](const QStringList& args) {
    QProcess p;
    p.start(qEnvironmentVariable("CORVANE_BIN"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return std::pair{p.exitCode(), p.readAllStandardError()};
  };
  const QString out = dir.filePath(QStringLiteral("both.csv"));
  auto [code, err] = corvane({QStringLiteral("--export-csv"), out, QStringLiteral("--option"), QStringLiteral("2100"),
                              QStringLiteral("--compare"), b.Dir(), a.Dir()});
  ASSERT_EQ(code, 0) << err.constData();
  QFile written(out);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  LoadedRun first(a.Dir()), second(b.Dir());
  EXPECT_EQ(QString::fromUtf8(written.readAll()), ComparedCsv(first.data, second.data, 2100, 0));

  // The compared run lacks the trunk's first layer; --compare alone has no command.
  std::tie(code, err) = corvane({QStringLiteral("--export-csv"), dir.filePath(QStringLiteral("x.csv")),
                                 QStringLiteral("--option"), QStringLiteral("2300"), QStringLiteral("--compare"),
                                 b.Dir(), qEnvironmentVariable("CORVANE_SAMPLE_RUN")});
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(err.contains("has no option 2300 to compare")) << err.constData();
  std::tie(code, err) = corvane({QStringLiteral("--compare"), b.Dir(), a.Dir(), QStringLiteral("--info")});
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(err.contains("--compare goes with --export-csv or --figure")) << err.constData();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("both.csv")});
}
