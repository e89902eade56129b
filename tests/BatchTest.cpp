// `corvane --batch`: a paper's outputs from one TOML file, each run loaded
// once; every output checked before any is made; a failing output said while
// the others go on; the same files every time.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "CorvaneProcess.h"

namespace {
using Result = ProcessResult;

Result Batch(const QString& file) { return RunCorvane({QStringLiteral("--batch"), file}); }

// A batch as a cluster's node runs it: no display (Qt's offscreen platform,
// the scenes through EGL), so that what it says of its file never waits on
// the test machine's X server.
Result HeadlessBatch(const QString& file) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"}) {
    env.remove(QLatin1String(v));
  }
  return RunCorvane({QStringLiteral("--batch"), file}, env);
}

void Write(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the sample run as `name` in `dir`, whose first Trunk row holds
// one value that is no number: its load says so once, and so counts loads.
void CopyRun(const QDir& dir, const QString& name) {
  const QDir from(qEnvironmentVariable("CORVANE_SAMPLE_RUN"));
  ASSERT_TRUE(dir.mkpath(name));
  for (const QString& f : from.entryList(QDir::Files)) {
    QByteArray text = Read(from.filePath(f));
    if (f == QLatin1String("bodyProperty.dat")) {
      const qsizetype at = text.indexOf("33.8000");
      text.replace(at, 7, "inf");
    }
    Write(dir.filePath(name + QLatin1Char('/') + f), text);
  }
}

// The text of an SVG or PDF figure without the date it was made.
QByteArray WithoutDate(QByteArray bytes) {
  for (const char* key : {"/CreationDate", "<dc:date>", "xmp:CreateDate"}) {
    for (qsizetype at = bytes.indexOf(key); at >= 0; at = bytes.indexOf(key, at + 1)) {
      const qsizetype end = bytes.indexOf('\n', at);
      bytes.remove(at, (end < 0 ? bytes.size() : end) - at);
    }
  }
  return bytes;
}

const char kPaper[] = R"(# Figures of two fabrics
[[output]]
figure = "out/skin.pdf"
run = "wool"
option = 2100
quantity = [0, 1]
width-mm = 85
dpi = 300

[[output]]
csv = "out/skin.csv"
run = "wool"
option = 2100
quantity = [0, 1]
compare = ["cotton"]

[[output]]
figure = "out/profile.svg"
run = "cotton"
option = 2300
quantity = 4
profile-at = 10.0

[[output]]
screenshot = "out/static.png"
run = "wool"
view = "static"
size = "160x120"
step = 2

[[output]]
figure = "out/core.png"
run = "cotton"
option = 2100
quantity = 1
size = "400x300"

[[output]]
figure = "out/three.svg"
run = "wool"
option = 1100
compare = ["cotton", "wool"]
)";
}  // namespace

TEST(Batch, EachRunIsLoadedOnceAndTheFilesAreTheSameEveryTime) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  CopyRun(d, QStringLiteral("wool"));
  CopyRun(d, QStringLiteral("cotton"));
  ASSERT_TRUE(d.mkdir(QStringLiteral("out")));
  Write(d.filePath(QStringLiteral("paper.toml")), kPaper);
  std::map<QString, QByteArray> first;
  for (int round = 0; round < 2; ++round) {
    const Result r = Batch(d.filePath(QStringLiteral("paper.toml")));
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    // Each run said its bad value once: it was read once for all its outputs.
    EXPECT_EQ(r.err.count("bodyProperty.dat: line 2, column 3 holds \"inf\""), 2) << r.err.constData();
    const QByteArray progress =
        "[1/6] out/skin.pdf\n[2/6] out/skin.csv\n[3/6] out/profile.svg\n"
        "[4/6] out/static.png\n[5/6] out/core.png\n[6/6] out/three.svg\n";
    QByteArray lines;
    for (const QByteArray& line : r.err.split('\n')) {
      if (line.startsWith('[')) {
        lines += line + '\n';
      }
    }
    EXPECT_EQ(lines, progress);
    EXPECT_TRUE(r.err.endsWith("corvane: paper.toml: 6 of 6 outputs written, 2 runs loaded.\n")) << r.err.constData();
    for (const QString& f : QDir(d.filePath(QStringLiteral("out"))).entryList(QDir::Files)) {
      const QByteArray bytes = Read(d.filePath(QStringLiteral("out/") + f));
      const QByteArray kept =
          f.endsWith(QLatin1String(".png")) || f.endsWith(QLatin1String(".csv")) ? bytes : WithoutDate(bytes);
      if (round == 0) {
        first[f] = kept;
      } else {
        EXPECT_EQ(kept, first[f]) << f.toStdString() << " differs from the first batch's";
      }
    }
    EXPECT_EQ(first.size(), 6u);
  }
  // The batch writes what the command line writes (though for a body
  // chart it reads no fabric file).
  QProcess single;
  single.start(qEnvironmentVariable("CORVANE_BIN"),
               {"--export-csv", d.filePath(QStringLiteral("single.csv")), "--option", "2100", "--quantity", "0,1",
                "--compare", d.filePath(QStringLiteral("cotton")), d.filePath(QStringLiteral("wool"))});
  ASSERT_TRUE(single.waitForFinished(120000));
  EXPECT_EQ(Read(d.filePath(QStringLiteral("single.csv"))), first[QStringLiteral("skin.csv")]);
  single.start(qEnvironmentVariable("CORVANE_BIN"),
               {"--figure", d.filePath(QStringLiteral("single.png")), "--option", "2100", "--quantity", "1", "--size",
                "400x300", d.filePath(QStringLiteral("cotton"))});
  ASSERT_TRUE(single.waitForFinished(120000));
  EXPECT_EQ(Read(d.filePath(QStringLiteral("single.png"))), first[QStringLiteral("core.png")]);
}

// Every output is checked before any is made: a wrong one exits with 2,
// naming the output and the key, and nothing is written.
TEST(Batch, AWrongOutputIsNamedAndNothingIsWritten) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  CopyRun(d, QStringLiteral("wool"));
  const QByteArray good = "[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 2100\n\n";
  const struct {
    QByteArray entry;
    const char* said = nullptr;
  } cases[] = {
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\ncolour = \"red\"\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"colour\": figure takes no such option (it takes option, "
       "quantity, all-parts, compare, difference, profile-at, size, width-mm, dpi).\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"silk\"\noption = 2100\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"run\": there is no folder \"%/silk\".\n"},
      {"[[output]]\nfigure = \"b.pdf\"\noption = 2100\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"run\": the run's folder in quotes is missing.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nwidth-mm = 85\ndpi = 3\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"): --width-mm takes 10 to 1000 millimetres and --dpi 50 to 2400, "
       "together.\n"},
      {"[[output]]\nscreenshot = \"b.png\"\nrun = \"wool\"\nview = \"static\"\nsize = \"800\"\n",
       "corvane: b.toml: output 2 (screenshot = \"b.png\"): bad value \"800\" for --size.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nspeed = 60\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"speed\": figure takes no such option (it takes option, "
       "quantity, all-parts, compare, difference, profile-at, size, width-mm, dpi).\n"},
      {"[[output]]\nfigure = \"b.pdf\"\ncsv = \"b.csv\"\nrun = \"wool\"\n",
       "corvane: b.toml: output 2 names both csv and figure; an output is one of figure, csv, screenshot, movie or "
       "study.\n"},
      {"[[output]]\nrun = \"wool\"\n",
       "corvane: b.toml: output 2 names no file to write: one of figure, csv, screenshot, movie or study.\n"},
      {"[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 1100\n",
       "corvane: b.toml: output 2 (csv = \"a.csv\"): another output writes this file too.\n"},
      {"[[output]]\nfigure = \"no/b.pdf\"\nrun = \"wool\"\noption = 2100\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"figure\": there is no folder \"%/no\" to write it in.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nall-parts = 1\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"all-parts\": true or false.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\ncompare = [\"wool\", \"wool\", \"wool\", "
       "\"wool\", \"wool\", \"wool\", \"wool\", \"wool\"]\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"compare\": one to 7 run folders to compare with.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\ncompare = []\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"compare\": one to 7 run folders to compare with.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nquantity = [0, \"one\"]\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"quantity\": a quantity from 0, or a list of them "
       "([0, 1]).\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nquantity = -1\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"quantity\": a quantity from 0, or a list of them "
       "([0, 1]).\n"},
      {"[[output]]\nstudy = \"no/s.csv\"\nruns = [\"wool\"]\n",
       "corvane: b.toml: output 2 (study = \"s.csv\"), key \"study\": there is no folder \"%/no\" to write it in.\n"},
      {"title = \"My paper\"\n", "corvane: b.toml: unknown key \"title\"; a batch file holds [[output]] tables.\n"},
      {"[[output]\n", "corvane: b.toml is no TOML file: "},
  };
  for (const auto& c : cases) {
    const QString file = d.filePath(QStringLiteral("b.toml"));
    Write(file, c.entry.startsWith("title") || c.entry.startsWith("[[output]\n") ? c.entry + good : good + c.entry);
    const Result r = HeadlessBatch(file);
    EXPECT_EQ(r.exitCode, 2) << c.entry.constData() << r.err.constData();
    const QByteArray said = QByteArray(c.said).replace("%", QFile::encodeName(dir.path()));
    EXPECT_TRUE(r.err.contains(said)) << "expected: " << said.constData() << "\ngot: " << r.err.constData();
    EXPECT_FALSE(r.err.contains("[1/")) << "nothing made: " << c.entry.constData();
    EXPECT_FALSE(QFile::exists(d.filePath(QStringLiteral("a.csv")))) << c.entry.constData();
  }
}

// An output that fails while the batch runs (an option this run lacks) is
// said, the others are written, and the exit is 1.
TEST(Batch, AFailingOutputIsSaidAndTheOthersGoOn) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  CopyRun(d, QStringLiteral("wool"));
  // A figure's file that is a folder fails only as it is written, after
  // the outputs that follow it were made; it is still said in its place.
  ASSERT_TRUE(d.mkdir(QStringLiteral("d.pdf")));
  Write(d.filePath(QStringLiteral("b.toml")),
        "[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 2100\n\n"
        "[[output]]\nfigure = \"d.pdf\"\nrun = \"wool\"\noption = 2100\n\n"
        "[[output]]\ncsv = \"lacking.csv\"\nrun = \"wool\"\noption = 4300\n\n"
        "[[output]]\ncsv = \"c.csv\"\nrun = \"wool\"\noption = 1100\n");
  const Result r = Batch(d.filePath(QStringLiteral("b.toml")));
  EXPECT_EQ(r.exitCode, 1) << r.err.constData();
  EXPECT_TRUE(
      r.err.contains("corvane: the run has no option 4300 to choose.\n"
                     "corvane: b.toml: output 3 (csv = \"lacking.csv\") failed.\n"))
      << r.err.constData();
  EXPECT_TRUE(r.err.contains(QStringLiteral("corvane: cannot write %1: not a regular file.\n"
                                            "corvane: b.toml: output 2 (figure = \"d.pdf\") failed.\n")
                                 .arg(d.filePath(QStringLiteral("d.pdf")))
                                 .toUtf8()))
      << r.err.constData();
  EXPECT_TRUE(r.err.endsWith("corvane: b.toml: 2 of 4 outputs written, 1 run loaded; failed: d.pdf, lacking.csv.\n"))
      << r.err.constData();
  EXPECT_TRUE(QFile::exists(d.filePath(QStringLiteral("a.csv"))));
  EXPECT_TRUE(QFile::exists(d.filePath(QStringLiteral("c.csv"))));
  EXPECT_FALSE(QFile::exists(d.filePath(QStringLiteral("lacking.csv"))));
}

namespace {
Result BatchShare(const QString& file, const QStringList& share, const QProcessEnvironment& env) {
  return RunCorvane(QStringList{QStringLiteral("--batch"), file} + share, env);
}

QStringList Progress(const QByteArray& err) {
  QStringList files;
  for (const QByteArray& line : err.split('\n')) {
    if (line.startsWith('[')) {
      files << QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
    }
  }
  return files;
}
}  // namespace

// The shares of an array job, each task a process of its own with the
// scheduler's variables set as Slurm sets them: every output is made by
// exactly one task, no run is loaded by two, and together they write what
// one process writes.
TEST(Batch, TheSharesOfAnArrayJobMakeWhatOneProcessMakes) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  for (const char* run : {"wool", "cotton", "silk", "linen"}) {
    CopyRun(d, QLatin1String(run));
  }
  const QByteArray batch =
      "[[output]]\ncsv = \"1.csv\"\nrun = \"wool\"\noption = 2100\n\n"
      "[[output]]\ncsv = \"2.csv\"\nrun = \"cotton\"\noption = 2100\ncompare = \"silk\"\n\n"
      "[[output]]\ncsv = \"3.csv\"\nrun = \"silk\"\noption = 1100\n\n"
      "[[output]]\ncsv = \"4.csv\"\nrun = \"linen\"\noption = 2100\n\n"
      "[[output]]\nscreenshot = \"5.png\"\nrun = \"wool\"\nview = \"static\"\nsize = \"96x72\"\n\n"
      "[[output]]\ncsv = \"6.csv\"\nrun = \"linen\"\noption = 1100\n";
  const QString file = d.filePath(QStringLiteral("b.toml"));
  Write(file, batch);
  ASSERT_EQ(Batch(file).exitCode, 0);
  std::map<QString, QByteArray> whole;
  for (const QString& f : QDir(dir.path()).entryList({"*.csv", "*.png"}, QDir::Files)) {
    whole[f] = Read(d.filePath(f));
    QFile::remove(d.filePath(f));
  }
  ASSERT_EQ(whole.size(), 6u);
  for (int tasks : {3, 4}) {
    QStringList made;
    int loads = 0;
    for (int k = 0; k < tasks; ++k) {
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert(QStringLiteral("SLURM_ARRAY_TASK_ID"), QString::number(7 + k));
      env.insert(QStringLiteral("SLURM_ARRAY_TASK_MIN"), QStringLiteral("7"));
      env.insert(QStringLiteral("SLURM_ARRAY_TASK_COUNT"), QString::number(tasks));
      const Result r = BatchShare(file, {QStringLiteral("--task"), QStringLiteral("auto")}, env);
      ASSERT_EQ(r.exitCode, 0) << r.err.constData();
      made << Progress(r.err);
      loads += static_cast<int>(r.err.count("holds \"inf\""));
      EXPECT_TRUE(r.err.contains(QStringLiteral("b.toml (share %1 of %2)").arg(k).arg(tasks).toUtf8()))
          << r.err.constData();
    }
    made.sort();
    EXPECT_EQ(made, (QStringList{"1.csv", "2.csv", "3.csv", "4.csv", "5.png", "6.csv"})) << tasks << " tasks";
    EXPECT_EQ(loads, 4) << "each of the four runs loaded by one task alone, " << tasks << " tasks";
    for (const auto& [f, bytes] : whole) {
      EXPECT_EQ(Read(d.filePath(f)), bytes) << f.toStdString() << ", " << tasks << " tasks";
      QFile::remove(d.filePath(f));
    }
  }
  // An array of ids a step apart (--array=0-9:3): the id 6 is the third task.
  QProcessEnvironment stepped = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : {std::pair{"SLURM_ARRAY_TASK_ID", "6"},
                                    {"SLURM_ARRAY_TASK_MIN", "0"},
                                    {"SLURM_ARRAY_TASK_MAX", "9"},
                                    {"SLURM_ARRAY_TASK_STEP", "3"},
                                    {"SLURM_ARRAY_TASK_COUNT", "4"}}) {
    stepped.insert(QLatin1String(name), QLatin1String(value));
  }
  const Result third = BatchShare(file, {QStringLiteral("--task"), QStringLiteral("auto")}, stepped);
  EXPECT_EQ(third.exitCode, 0) << third.err.constData();
  EXPECT_TRUE(third.err.contains("b.toml (share 2 of 4)")) << third.err.constData();
  // A list of ids (--array=1,4,9) is refused.
  QProcessEnvironment listed = stepped;
  for (const auto& [name, value] : {std::pair{"SLURM_ARRAY_TASK_ID", "4"},
                                    {"SLURM_ARRAY_TASK_MIN", "1"},
                                    {"SLURM_ARRAY_TASK_MAX", "9"},
                                    {"SLURM_ARRAY_TASK_COUNT", "3"}}) {
    listed.insert(QLatin1String(name), QLatin1String(value));
  }
  listed.remove(QStringLiteral("SLURM_ARRAY_TASK_STEP"));
  const Result list = BatchShare(file, {QStringLiteral("--task"), QStringLiteral("auto")}, listed);
  EXPECT_EQ(list.exitCode, 2);
  EXPECT_TRUE(
      list.err.contains("corvane: --task auto takes an array of evenly spaced ids (--array=0-7, or 0-21:3); "
                        "for another, give each task --task K --tasks N.\n"))
      << list.err.constData();
  // Shares asked for by hand, and refused when they cannot be.
  const Result second = BatchShare(file, {"--task", "1", "--tasks", "3"}, QProcessEnvironment::systemEnvironment());
  EXPECT_EQ(second.exitCode, 0) << second.err.constData();
  EXPECT_EQ(Progress(second.err).size(), 2);
  QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
  for (const char* v : {"SLURM_ARRAY_TASK_ID", "SLURM_ARRAY_TASK_MIN", "SLURM_ARRAY_TASK_COUNT"}) {
    bare.remove(QLatin1String(v));
  }
  const struct {
    QStringList share;
    const char* said = nullptr;
  } refused[] = {
      {{"--task", "3", "--tasks", "3"}, "corvane: --task takes a share from 0 to 2, or auto, not \"3\".\n"},
      {{"--task", "-1", "--tasks", "3"}, "corvane: --task takes a share from 0 to 2, or auto, not \"-1\".\n"},
      {{"--task", "0", "--tasks", "0"}, "corvane: --tasks takes the number of shares, from 1, not \"0\".\n"},
      {{"--task", "1"}, "corvane: --task K goes with --tasks N (or --task auto in a Slurm array job).\n"},
      {{"--tasks", "2"}, "corvane: --tasks N goes with --task K.\n"},
      {{"--task", "auto"},
       "corvane: --task auto is for a Slurm array job: SLURM_ARRAY_TASK_ID, SLURM_ARRAY_TASK_MIN and "
       "SLURM_ARRAY_TASK_COUNT are not set, or disagree.\n"},
  };
  for (const auto& c : refused) {
    const Result r = BatchShare(file, c.share, bare);
    EXPECT_EQ(r.exitCode, 2) << c.share.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(c.said)) << r.err.constData();
    EXPECT_TRUE(Progress(r.err).isEmpty());
  }
}

// Outputs that show a body or comfort chart alone leave the fabric and
// fibre files unread (a big run's fabric files are most of it); an output
// that shows a layer reads them.
TEST(Batch, ABodyChartReadsNoFabricFile) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  CopyRun(d, QStringLiteral("wool"));
  const QString fabric = d.filePath(QStringLiteral("wool/fabricsTrunk.dat"));
  QByteArray text = Read(fabric);
  text.insert(text.indexOf('\n') + 1, "0.0000\t0.0100\t1\tinf\t1\t1\t50\t30\t\n");
  Write(fabric, text);
  const QByteArray said = "fabricsTrunk.dat: line 2, column 4 holds \"inf\"";
  Write(d.filePath(QStringLiteral("body.toml")), "[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 2100\n");
  const Result body = Batch(d.filePath(QStringLiteral("body.toml")));
  ASSERT_EQ(body.exitCode, 0) << body.err.constData();
  EXPECT_FALSE(body.err.contains(said)) << body.err.constData();
  Write(d.filePath(QStringLiteral("layer.toml")),
        "[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 2100\n\n"
        "[[output]]\ncsv = \"b.csv\"\nrun = \"wool\"\noption = 2300\nquantity = 4\nprofile-at = 5.0\n");
  const Result layer = Batch(d.filePath(QStringLiteral("layer.toml")));
  ASSERT_EQ(layer.exitCode, 0) << layer.err.constData();
  EXPECT_EQ(layer.err.count(said), 1) << layer.err.constData();
  EXPECT_TRUE(layer.err.contains("1 run loaded")) << layer.err.constData();
}

// The batch's command line refuses what goes with other commands, and they
// refuse its options, each in its own words.
TEST(Batch, ItsOptionsGoWithItAlone) {
  QTemporaryDir dir;
  const QString run = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  const QString file = dir.filePath(QStringLiteral("b.toml"));
  Write(file, "[[output]]\ncsv = \"a.csv\"\nrun = \"x\"\n");
  const struct {
    QStringList args;
    const char* said = nullptr;
  } cases[] = {
      {{"--batch", file, "--info"},
       "corvane: --batch FILE [--task K --tasks N] takes nothing else; the file lists the outputs and their "
       "options.\n"},
      {{"--batch", file, run},
       "corvane: --batch FILE [--task K --tasks N] takes nothing else; the file lists the outputs and their "
       "options.\n"},
      {{"--figure", dir.filePath(QStringLiteral("f.png")), "--option", "1100", "--task", "0", "--tasks", "2", run},
       "corvane: --task goes with --batch.\n"},
      {{"--export-csv", dir.filePath(QStringLiteral("f.csv")), "--option", "1100", "--tasks", "2", run},
       "corvane: --tasks goes with --batch.\n"},
      {{"--study", dir.filePath(QStringLiteral("s.csv")), "--option", "1100", run},
       "corvane: --study FILE RUN... takes the runs of the study and nothing else.\n"},
      {{"--batch", file, "--batch", file}, "corvane: --batch is given more than once; it takes one value.\n"},
  };
  for (const auto& c : cases) {
    QProcess p;
    p.start(qEnvironmentVariable("CORVANE_BIN"), c.args);
    ASSERT_TRUE(p.waitForFinished(60000));
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 2) << c.args.join(' ').toStdString();
    EXPECT_TRUE(err.contains(QByteArray(c.said) + "Try 'corvane --help'.\n")) << c.args.join(' ').toStdString() << "\n"
                                                                              << err.constData();
  }
}
