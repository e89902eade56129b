// `corvane --batch`: a paper's outputs from one TOML file, each run loaded
// once; every output checked before any is made; a failing output said while
// the others go on; the same files every time.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {
struct Result {
  int exitCode = -1;
  QByteArray err;
};

Result Batch(const QString& file) {
  QProcess p;
  p.start(qEnvironmentVariable("CORVANE_BIN"), {QStringLiteral("--batch"), file});
  EXPECT_TRUE(p.waitForFinished(240000));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
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
        "[1/5] out/skin.pdf\n[2/5] out/skin.csv\n[3/5] out/profile.svg\n"
        "[4/5] out/static.png\n[5/5] out/core.png\n";
    QByteArray lines;
    for (const QByteArray& line : r.err.split('\n')) {
      if (line.startsWith('[')) {
        lines += line + '\n';
      }
    }
    EXPECT_EQ(lines, progress);
    EXPECT_TRUE(r.err.endsWith("corvane: paper.toml: 5 of 5 outputs written, 2 runs loaded.\n")) << r.err.constData();
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
    EXPECT_EQ(first.size(), 5u);
  }
  // The batch writes what the command line writes.
  QProcess single;
  single.start(qEnvironmentVariable("CORVANE_BIN"),
               {"--export-csv", d.filePath(QStringLiteral("single.csv")), "--option", "2100", "--quantity", "0,1",
                "--compare", d.filePath(QStringLiteral("cotton")), d.filePath(QStringLiteral("wool"))});
  ASSERT_TRUE(single.waitForFinished(120000));
  EXPECT_EQ(Read(d.filePath(QStringLiteral("single.csv"))), first[QStringLiteral("skin.csv")]);
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
    const char* said;
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
       "corvane: b.toml: output 2 names both csv and figure; an output is one of figure, csv, screenshot or movie.\n"},
      {"[[output]]\nrun = \"wool\"\n",
       "corvane: b.toml: output 2 names no file to write: one of figure, csv, screenshot or movie.\n"},
      {"[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 1100\n",
       "corvane: b.toml: output 2 (csv = \"a.csv\"): another output writes this file too.\n"},
      {"[[output]]\nfigure = \"no/b.pdf\"\nrun = \"wool\"\noption = 2100\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"figure\": there is no folder \"%/no\" to write it in.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nall-parts = 1\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"all-parts\": true or false.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\ncompare = [\"wool\", \"wool\"]\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"compare\": one run folder to compare with.\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nquantity = [0, \"one\"]\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"quantity\": a quantity from 0, or a list of them "
       "([0, 1]).\n"},
      {"[[output]]\nfigure = \"b.pdf\"\nrun = \"wool\"\noption = 2100\nquantity = -1\n",
       "corvane: b.toml: output 2 (figure = \"b.pdf\"), key \"quantity\": a quantity from 0, or a list of them "
       "([0, 1]).\n"},
      {"title = \"My paper\"\n", "corvane: b.toml: unknown key \"title\"; a batch file holds [[output]] tables.\n"},
      {"[[output]\n", "corvane: b.toml is no TOML file: "},
  };
  for (const auto& c : cases) {
    const QString file = d.filePath(QStringLiteral("b.toml"));
    Write(file, c.entry.startsWith("title") || c.entry.startsWith("[[output]\n") ? c.entry + good : good + c.entry);
    const Result r = Batch(file);
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
  Write(d.filePath(QStringLiteral("b.toml")),
        "[[output]]\ncsv = \"a.csv\"\nrun = \"wool\"\noption = 2100\n\n"
        "[[output]]\ncsv = \"lacking.csv\"\nrun = \"wool\"\noption = 4300\n\n"
        "[[output]]\ncsv = \"c.csv\"\nrun = \"wool\"\noption = 1100\n");
  const Result r = Batch(d.filePath(QStringLiteral("b.toml")));
  EXPECT_EQ(r.exitCode, 1) << r.err.constData();
  EXPECT_TRUE(
      r.err.contains("corvane: the run has no option 4300 to choose.\n"
                     "corvane: b.toml: output 2 (csv = \"lacking.csv\") failed.\n"))
      << r.err.constData();
  EXPECT_TRUE(r.err.endsWith("corvane: b.toml: 2 of 3 outputs written, 1 run loaded; failed: lacking.csv.\n"))
      << r.err.constData();
  EXPECT_TRUE(QFile::exists(d.filePath(QStringLiteral("a.csv"))));
  EXPECT_TRUE(QFile::exists(d.filePath(QStringLiteral("c.csv"))));
  EXPECT_FALSE(QFile::exists(d.filePath(QStringLiteral("lacking.csv"))));
}
