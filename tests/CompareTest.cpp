// Two runs side by side: the runs' labels, delimited fields, the compared
// CSV (each value what its run gives alone), the command line, and the main
// window's Compare With Run and Close Comparison.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ChartCurves.h"
#include "CorvaneProcess.h"
#include "DataCsv.h"
#include "ExportCommand.h"
#include "FigureCommand.h"
#include "RunComparison.h"
#include "RunDifference.h"
#include "RunFolder.h"
#include "SimulationData.h"

namespace {
// A run of `samples` body samples every `interval` minutes from minute
// `from`, its skin temperature rising from `skin`.
void WriteRun(CRunFolder& run, int samples, float interval, float skin, float from = 0) {
  run.WriteMinimal();
  std::string body;
  for (int s = 0; s < samples; ++s) {
    body += BodyRows(from + interval * static_cast<float>(s), skin + 0.25f * static_cast<float>(s));
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
    std::vector<QString> dirs, labels;
  } labels[] = {
      {{"/data/run-a/", "/data/run-b"}, {"run-a", "run-b"}},
      {{"/x/hot/output/", "/y/cold/output"}, {"hot/output", "cold/output"}},
      // Only the names that are shared take their parent.
      {{"/x/hot/output", "/data/wool", "/y/cold/output"}, {"hot/output", "wool", "cold/output"}},
      // One run twice (or three times) is numbered from its second place.
      {{"/data/run-a", "/data/run-a/", "/data/run-b", "/data/run-a"},
       {"data/run-a", "data/run-a (2)", "run-b", "data/run-a (3)"}},
      {{"wool", "cotton", "silk", "down", "fleece", "linen", "hemp", "felt"},
       {"wool", "cotton", "silk", "down", "fleece", "linen", "hemp", "felt"}},
  };
  for (const auto& l : labels) {
    EXPECT_EQ(RunLabels(l.dirs), l.labels) << l.dirs.front().toStdString();
  }
  EXPECT_EQ(RunList({}), QString());
  EXPECT_EQ(RunList({"a"}), QStringLiteral("a"));
  EXPECT_EQ(RunList({"a", "b"}), QStringLiteral("a and b"));
  EXPECT_EQ(RunList({"a", "b", "c"}), QStringLiteral("a, b and c"));
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
  const QString text = ComparedCsv(first.data, {&second.data}, option, quantity);
  const std::vector<QString> names = RunLabels({a.Dir(), b.Dir()});
  const QString &nameA = names[0], &nameB = names[1];
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
  const QString plot = ComparedCsv(first.data, {&second.data}, 2300, 0);
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
  EXPECT_EQ(QString::fromUtf8(written.readAll()), ComparedCsv(first.data, {&second.data}, 2100, 0));

  // The compared run lacks the trunk's first layer; --compare alone has no command.
  std::tie(code, err) = corvane({QStringLiteral("--export-csv"), dir.filePath(QStringLiteral("x.csv")),
                                 QStringLiteral("--option"), QStringLiteral("2300"), QStringLiteral("--compare"),
                                 b.Dir(), qEnvironmentVariable("CORVANE_SAMPLE_RUN")});
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(err.contains("has no option 2300 to compare")) << err.constData();
  std::tie(code, err) = corvane({QStringLiteral("--compare"), b.Dir(), a.Dir(), QStringLiteral("--info")});
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(err.contains("corvane: --compare goes with --export-csv, --figure or --screenshot --view science.\n"))
      << err.constData();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("both.csv")});
}

// "A - B" at the times both runs hold, never interpolated: steps of 0.5 and
// of 0.3 minutes meet every 1.5; a value one run lacks leaves none.
TEST(Compare, TheDifferenceStandsOnlyWhereBothRunsHoldAValue) {
  auto points = [](double step, int n, float from, float rise) {
    std::vector<CChartDataSet> p;
    for (int k = 0; k < n; ++k) {
      // Times as the files' decimals read: "%.3f" of the step, then a float.
      char text[32];
      std::snprintf(text, sizeof text, "%.3f", step * k);
      p.push_back({std::strtof(text, nullptr), from + rise * static_cast<float>(k)});
    }
    return p;
  };
  const std::vector<CChartDataSet> a = points(0.5, 13, 33, 0.25f), b = points(0.3, 21, 30, 0.1f);
  const std::vector<CChartDataSet> d = DifferencePoints(a, b);
  ASSERT_EQ(d.size(), 5u) << "0, 1.5, 3, 4.5 and 6 min";
  const float expected[][2] = {{0, 3}, {1.5f, 3.25f}, {3, 3.5f}, {4.5f, 3.75f}, {6, 4}};
  for (std::size_t i = 0; i < d.size(); ++i) {
    EXPECT_FLOAT_EQ(d[i].m_fX, expected[i][0]);
    EXPECT_FLOAT_EQ(d[i].m_fY, expected[i][1]) << d[i].m_fX;
  }
  std::vector<CChartDataSet> gap = a;
  gap[3].m_fY = std::nanf("");  // 1.5 min
  EXPECT_TRUE(std::isnan(DifferencePoints(gap, b)[1].m_fY)) << "no value in one run, none in the difference";
  EXPECT_TRUE(DifferencePoints(a, {}).empty());

  // Named "NAME, A - B" in the first run's colour, without the comfort scale.
  ChartCurves both;
  both.yLabel = QStringLiteral("Comfort(0-100)");
  both.bands = BandMode::Comfort;
  both.curves.resize(2);
  both.curves[0] = {QStringLiteral("Head: Comfort, wool"),
                    QStringLiteral("Head: Comfort"),
                    QStringLiteral("Head: Comfort(0-100)"),
                    QString(),
                    QString(),
                    0,
                    3,
                    0,
                    0,
                    QStringLiteral("wool"),
                    a};
  both.curves[1] = {QStringLiteral("Head: Comfort, cotton"),
                    QStringLiteral("Head: Comfort"),
                    QStringLiteral("Head: Comfort(0-100)"),
                    QString(),
                    QString(),
                    0,
                    3,
                    1,
                    1,
                    QStringLiteral("cotton"),
                    b};
  const ChartCurves diff = DifferenceCurves(both);
  ASSERT_EQ(diff.curves.size(), 1u);
  EXPECT_EQ(diff.curves[0].name, QStringLiteral("Head: Comfort, wool - cotton"));
  EXPECT_EQ(diff.curves[0].column, QStringLiteral("Head: Comfort(0-100), wool - cotton"));
  EXPECT_EQ(diff.curves[0].colour, 3);
  EXPECT_EQ(diff.curves[0].style, 0) << "solid";
  EXPECT_EQ(diff.bands, BandMode::None);
  EXPECT_EQ(diff.yLabel, QStringLiteral("Comfort(0-100), wool - cotton"));
  EXPECT_EQ(diff.yColumn, QStringLiteral("Head: Comfort(0-100), wool - cotton"))
      << "one curve's data, named as written";
}

// The command line's difference and compared profiles: a column "NAME,
// A - B" at the shared times; both runs' profiles, each row led by its run.
TEST(Compare, TheCommandLineWritesDifferencesAndBothRunsProfiles) {
  CRunFolder a, b;
  WriteRun(a, 5, 0.5f, 33);
  WriteRun(b, 4, 1.0f, 32);
  QTemporaryDir out;
  const QString csv = out.filePath(QStringLiteral("d.csv"));
  QProcess p;
  p.start(qEnvironmentVariable("CORVANE_BIN"),
          {QStringLiteral("--export-csv"), csv, QStringLiteral("--option"), QStringLiteral("1100"),
           QStringLiteral("--compare"), b.Dir(), QStringLiteral("--difference"), a.Dir()});
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString labelA = RunLabels({a.Dir(), b.Dir()})[0], labelB = RunLabels({a.Dir(), b.Dir()})[1];
  // Skin of a at t: 33 + 0.5 t; of b: 32 + 0.25 t; a - b = 1 + 0.25 t at 0, 1 and 2 min.
  EXPECT_EQ(QString::fromUtf8(f.readAll()),
            QStringLiteral("Time(min),\"Head: Temperature of Skin(Degree), %1 - %2\"\n0,1\n1,1.25\n2,1.5\n")
                .arg(labelA, labelB));

  // Refusals: a difference needs a second run, and a line plot has none.
  const struct {
    QStringList args;
    const char* says = nullptr;
  } refused[] = {
      {{"--export-csv", csv, "--option", "1100", "--difference", a.Dir()},
       "corvane: --difference goes with --compare.\n"},
      {{"--export-csv", csv, "--option", "2300", "--compare", qEnvironmentVariable("CORVANE_SAMPLE_RUN"),
        "--difference", qEnvironmentVariable("CORVANE_SAMPLE_RUN")},
       "corvane: --difference goes with a chart or a thickness profile; option 2300 is a line plot.\n"},
      {{"--screenshot", out.filePath(QStringLiteral("x.png")), "--view", "science", "--option", "2300", "--compare",
        qEnvironmentVariable("CORVANE_SAMPLE_RUN"), "--difference", qEnvironmentVariable("CORVANE_SAMPLE_RUN")},
       "corvane: --difference goes with a chart or a thickness profile; option 2300 is a line plot.\n"},
      {{"--figure", out.filePath(QStringLiteral("x.pdf")), "--option", "2300", "--compare", b.Dir(),
        qEnvironmentVariable("CORVANE_SAMPLE_RUN")},
       "has no option 2300 to compare.\n"},
      {{"--export-csv", csv, "--option", "1100", "--compare", out.filePath(QStringLiteral("nowhere")), a.Dir()},
       "corvane: there is no folder \""},
      {{"--screenshot", out.filePath(QStringLiteral("x.png")), "--view", "science", "--option", "2300", "--size",
        "640x400", "--compare", b.Dir(), qEnvironmentVariable("CORVANE_SAMPLE_RUN")},
       "has no option 2300 to compare.\n"},
  };
  for (const auto& r : refused) {
    QProcess q;
    q.start(qEnvironmentVariable("CORVANE_BIN"), r.args);
    ASSERT_TRUE(q.waitForFinished(60000));
    // A folder that is not there is a path that fails (1); the rest are
    // wrong requests (2).
    EXPECT_EQ(q.exitCode(), QByteArray(r.says).startsWith("corvane: there is no folder") ? 1 : 2) << r.says;
    EXPECT_TRUE(q.readAllStandardError().contains(r.says)) << r.says;
  }

  // Two runs' thickness profiles at 30 min: the first run's rows, then the
  // second's; their difference at every position both hold.
  const QString sample = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  const QString wool = out.filePath(QStringLiteral("wool"));
  ASSERT_TRUE(QDir().mkpath(wool));
  for (const QFileInfo& fi : QDir(sample).entryInfoList(QDir::Files)) {
    ASSERT_TRUE(QFile::copy(fi.filePath(), wool + QLatin1Char('/') + fi.fileName()));
  }
  for (const bool difference : {false, true}) {
    const QString profile = out.filePath(difference ? QStringLiteral("pd.csv") : QStringLiteral("p.csv"));
    QStringList args = {QStringLiteral("--export-csv"),
                        profile,
                        QStringLiteral("--option"),
                        QStringLiteral("2300"),
                        QStringLiteral("--quantity"),
                        QStringLiteral("4"),
                        QStringLiteral("--profile-at"),
                        QStringLiteral("30"),
                        QStringLiteral("--compare"),
                        wool,
                        sample};
    if (difference) {
      args.insert(args.size() - 1, QStringLiteral("--difference"));
    }
    QProcess q;
    q.start(qEnvironmentVariable("CORVANE_BIN"), args);
    ASSERT_TRUE(q.waitForFinished(60000));
    ASSERT_EQ(q.exitCode(), 0) << q.readAllStandardError().constData();
    QFile written(profile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(written.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!difference) {
      EXPECT_EQ(rows.front(), QStringLiteral("run,Position(cm),Layer,Temperature(Degree)"));
      const auto firstRuns = rows.filter(QRegularExpression(QStringLiteral("^sample-run,")));
      const auto secondRuns = rows.filter(QRegularExpression(QStringLiteral("^wool,")));
      EXPECT_GT(firstRuns.size(), 3);
      EXPECT_EQ(firstRuns.size(), secondRuns.size());
      EXPECT_EQ(firstRuns.size() + secondRuns.size() + 1, rows.size());
    } else {
      EXPECT_EQ(rows.front(), QStringLiteral("Position(cm),Layer,\"Temperature(Degree), sample-run - wool\""));
      for (const QString& row : rows.mid(1)) {
        EXPECT_TRUE(row.endsWith(QStringLiteral(",0"))) << row.toStdString() << ": a run less itself";
      }
      EXPECT_GT(rows.size(), 4);
    }
  }
}

// Three runs (steps of 0.5 and 0.1 minutes, one starting at minute 2): a
// column each on the times of all, each its run's own values, a profile's
// rows each led by its run; what does not fit refused in the view's words.
TEST(Compare, SeveralRunsTakeAColumnEachAndWhatDoesNotFitIsRefused) {
  CRunFolder a, b, c;
  WriteRun(a, 5, 0.5f, 33.0f);
  WriteRun(b, 8, 0.1f, 34.0f);
  WriteRun(c, 4, 0.5f, 35.0f, 2.0f);
  QTemporaryDir out;
  const QString csv = out.filePath(QStringLiteral("three.csv"));
  const ProcessResult r =
      RunCorvane({"--export-csv", csv, "--option", "2100", "--compare", b.Dir(), "--compare", c.Dir(), a.Dir()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  QFile written(csv);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(written.readAll());
  LoadedRun first(a.Dir()), second(b.Dir()), third(c.Dir());
  EXPECT_EQ(text, ComparedCsv(first.data, {&second.data, &third.data}, 2100, 0));
  const std::vector<QString> names = RunLabels({a.Dir(), b.Dir(), c.Dir()});
  EXPECT_TRUE(text.startsWith(QStringLiteral("Time(min),\"Trunk: Temperature of Skin(Degree), %1\",\"Trunk: "
                                             "Temperature of Skin(Degree), %2\",\"Trunk: Temperature of "
                                             "Skin(Degree), %3\"\n")
                                  .arg(names[0], names[1], names[2])));
  int column = 1;
  for (const LoadedRun* run : {&first, &second, &third}) {
    EXPECT_EQ(Cells(text, column), Cells(ExportCsv(run->data, 2100, 0), 1)) << "column " << column;
    ++column;
  }
  EXPECT_TRUE(text.contains(QStringLiteral("\n0.7,,35.85,\n"))) << "0.7 min: the second run alone";
  EXPECT_TRUE(text.contains(QStringLiteral("\n2,34.1,,35.1\n"))) << "2 min: the first and third";

  // The sample run three times over: each profile's rows after its name.
  const QString sample = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  const QString profile = out.filePath(QStringLiteral("p.csv"));
  const ProcessResult p = RunCorvane({"--export-csv", profile, "--option", "2300", "--profile-at", "30", "--compare",
                                      sample, "--compare", sample, sample});
  ASSERT_EQ(p.exitCode, 0) << p.err.constData();
  QFile profileFile(profile);
  ASSERT_TRUE(profileFile.open(QIODevice::ReadOnly));
  const QStringList rows = QString::fromUtf8(profileFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  const std::vector<QString> same = RunLabels({sample, sample, sample});
  std::vector<QStringList> each;
  for (const QString& name : same) {
    each.push_back(rows.filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(name + ','))));
    EXPECT_GT(each.back().size(), 3) << name.toStdString();
  }
  EXPECT_EQ(each[0].size() + each[1].size() + each[2].size() + 1, rows.size());
  EXPECT_EQ(each[0].front().section(QLatin1Char(','), 1), each[2].front().section(QLatin1Char(','), 1));

  // Each to a file of its own that must not come to be.
  const QString refused = out.filePath(QStringLiteral("refused.csv"));
  QStringList eight;
  for (int i = 0; i < 8; ++i) {
    eight << "--compare" << b.Dir();
  }
  const struct {
    QStringList args;
    const char* says = nullptr;
  } refusals[] = {
      {{"--export-csv", refused, "--option", "2100", "--quantity", "0,1", "--compare", b.Dir(), "--compare", c.Dir(),
        a.Dir()},
       "corvane: Temperature of Core(Degree) not shown: a chart of more than two runs holds one quantity of one "
       "part.\n"},
      {{"--figure", out.filePath("x.pdf"), "--option", "2100", "--all-parts", "--compare", b.Dir(), "--compare",
        c.Dir(), a.Dir()},
       "corvane: All parts not shown: a chart of more than two runs holds one quantity of one part.\n"},
      {QStringList{"--figure", out.filePath("x.pdf"), "--option", "2100"} + eight + QStringList{a.Dir()},
       "corvane: --compare takes at most 7 runs beside DATA_DIR (8 in all), not 8.\nTry 'corvane --help'.\n"},
      {{"--export-csv", refused, "--option", "2100", "--difference", "--compare", b.Dir(), "--compare", c.Dir(),
        a.Dir()},
       "corvane: --difference is of two runs (A - B); it takes one --compare, not 2.\nTry 'corvane --help'.\n"},
  };
  const QStringList before = QDir(out.path()).entryList(QDir::Files);
  for (const auto& x : refusals) {
    const ProcessResult q = RunCorvane(x.args);
    EXPECT_EQ(q.exitCode, 2) << x.says;
    // Word for word, after what Qt may say of the environment.
    EXPECT_TRUE(q.err.endsWith(x.says) && q.err.count("corvane:") == 1) << q.err.constData();
  }
  EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), before) << "nothing written";
}

// A figure's title names every run it compares, and how: beside the first,
// its difference, or the first alone (the 3D plot).
TEST(Compare, AFiguresTitleNamesTheRunsItCompares) {
  LoadedRun run(qEnvironmentVariable("CORVANE_SAMPLE_RUN"));
  ASSERT_TRUE(run.ok);
  const QString a = QStringLiteral("/r/wool"), b = QStringLiteral("/r/cotton"), c = QStringLiteral("/r/silk");
  const struct {
    int option = 0;
    QStringList compared;
    bool naming = false, difference = false;
    const char* runs = nullptr;  // what the title starts with
  } cases[] = {
      {2100, {b}, true, false, "wool compared with cotton \u00B7 Trunk"},
      {2100, {b, c}, true, false, "wool compared with cotton and silk \u00B7 Trunk"},
      {2100, {b}, true, true, "wool - cotton \u00B7 Trunk"},
      {2100, {b, c}, false, false, "Trunk"},
      {2300, {b, c}, true, false, "wool alone (not cotton and silk) \u00B7 Trunk"},
  };
  for (const auto& t : cases) {
    const QString title = FigureTitleFor(run.data, a, t.option, {0}, false, t.compared, t.naming, t.difference);
    EXPECT_TRUE(title.startsWith(QString::fromUtf8(t.runs))) << title.toStdString();
  }
  EXPECT_TRUE(ProfileFigureTitle(run.data, a, 2300, 0, 2, {b, c})
                  .startsWith(QString::fromUtf8("wool compared with cotton and silk \u00B7 Trunk \u00B7 Profile at")));
}
