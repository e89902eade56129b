// Figures for papers: the format by extension, the size in millimetres, the
// title line, and corvane --figure writing each format.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "Figure.h"

namespace {
struct Outcome {
  int exitCode = -1;
  QByteArray err;
};
Outcome Corvane(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("CORVANE_BIN"), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), p.readAllStandardError()};
}
QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QString SampleRun() { return qEnvironmentVariable("CORVANE_SAMPLE_RUN"); }
}  // namespace

TEST(Figure, FormatSizeAndTitle) {
  const struct {
    const char* name = nullptr;
    std::optional<FigureFormat> format;
  } names[] = {{"a.png", FigureFormat::Png}, {"b.SVG", FigureFormat::Svg}, {"c.d/fig.Pdf", FigureFormat::Pdf},
               {"a.jpg", std::nullopt},      {"pdf", std::nullopt},        {"a.pdf.txt", std::nullopt}};
  for (const auto& n : names) {
    EXPECT_EQ(FigureFormatOf(QLatin1String(n.name)), n.format) << n.name;
  }
  // A journal's single column (85 mm) and double column (170 mm).
  const struct {
    double mm = 0;
    int dpi = 0;
    QSize pixels;  // empty: refused
  } sizes[] = {{85, 300, {1004, 628}}, {170, 600, {4016, 2510}}, {10, 50, {20, 13}}, {1000, 96, {3780, 2363}},
               {9.9, 300, {}},         {1000.1, 96, {}},         {170, 49, {}},      {170, 2401, {}},
               {1000, 2400, {}}};
  for (const auto& s : sizes) {
    const std::optional<FigureSize> size = FigureSizeFromMillimetres(s.mm, s.dpi);
    EXPECT_EQ(size.has_value(), !s.pixels.isEmpty()) << s.mm << " mm at " << s.dpi;
    if (size) {
      EXPECT_EQ(size->pixels, s.pixels) << s.mm << " mm at " << s.dpi;
      EXPECT_EQ(size->dpi, s.dpi);
    }
  }
  EXPECT_EQ(FigureTitle(QStringLiteral("run7"), QStringLiteral("Trunk"), QStringLiteral("1st Layer Fabric"),
                        QStringLiteral("Temperature(Degree)")),
            QStringLiteral("run7 \u00B7 Trunk \u00B7 1st Layer Fabric \u00B7 Temperature(Degree)"));
  EXPECT_EQ(FigureTitle(QStringLiteral("run7"), QString(), QString(), QStringLiteral("Q")),
            QStringLiteral("run7 \u00B7 Q"));
}

TEST(Figure, TheCommandWritesEachFormat) {
  QTemporaryDir dir;
  const QString title =
      QStringLiteral("sample-run \u00B7 Trunk \u00B7 Body Property \u00B7 Temperature of Core(Degree)");
  // The chart as a vector drawing: its title line in the file's own text.
  const QString svg = dir.filePath(QStringLiteral("core.svg"));
  Outcome r = Corvane({QStringLiteral("--figure"), svg, QStringLiteral("--option"), QStringLiteral("2100"),
                       QStringLiteral("--quantity"), QStringLiteral("1"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QByteArray text = Read(svg);
  EXPECT_TRUE(text.contains("<title>" + title.toUtf8() + "</title>"));
  EXPECT_TRUE(text.contains("<path")) << "lines, not a picture";
  EXPECT_FALSE(text.contains("<image")) << "a chart is all vector";

  // Several quantities: the title names each; every part: the legend each curve.
  const QString both = dir.filePath(QStringLiteral("both.svg")), all = dir.filePath(QStringLiteral("all.svg"));
  r = Corvane({QStringLiteral("--figure"), both, QStringLiteral("--option"), QStringLiteral("2100"),
               QStringLiteral("--quantity"), QStringLiteral("0,1"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  EXPECT_TRUE(
      Read(both).contains("<title>sample-run \u00B7 Trunk \u00B7 Body Property \u00B7 Temperature of "
                          "Skin(Degree), Temperature of Core(Degree)</title>"));
  r = Corvane({QStringLiteral("--figure"), all, QStringLiteral("--option"), QStringLiteral("2100"),
               QStringLiteral("--quantity"), QStringLiteral("1"), QStringLiteral("--all-parts"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QByteArray allText = Read(all);
  EXPECT_TRUE(allText.contains(
      "<title>sample-run \u00B7 All parts \u00B7 Body Property \u00B7 Temperature of Core(Degree)</title>"));
  EXPECT_TRUE(allText.contains(">Foot</text>")) << "the legend's last entry, the quantity being the title's";
  QFile::remove(both);
  QFile::remove(all);

  // A thickness profile: the step nearest the minute asked, named in the title.
  const QString profile = dir.filePath(QStringLiteral("profile.svg"));
  r = Corvane({QStringLiteral("--figure"), profile, QStringLiteral("--option"), QStringLiteral("2300"),
               QStringLiteral("--quantity"), QStringLiteral("4"), QStringLiteral("--profile-at"),
               QStringLiteral("30.4"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  EXPECT_TRUE(Read(profile).contains(
      "<title>sample-run \u00B7 Trunk \u00B7 Profile at 30 min \u00B7 Temperature(Degree)</title>"))
      << Read(profile).left(600).constData();
  QFile::remove(profile);

  const QString pdf = dir.filePath(QStringLiteral("core.pdf"));
  r = Corvane({QStringLiteral("--figure"), pdf, QStringLiteral("--option"), QStringLiteral("2100"),
               QStringLiteral("--quantity"), QStringLiteral("1"), QStringLiteral("--width-mm"), QStringLiteral("85"),
               QStringLiteral("--dpi"), QStringLiteral("300"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QByteArray pdfBytes = Read(pdf);
  EXPECT_TRUE(pdfBytes.startsWith("%PDF-"));
  // 85 mm at 300 dpi: 1004 x 628 pixels, a page of 240.96 x 150.72 points
  // (whole points in a PDF's page size).
  EXPECT_TRUE(pdfBytes.contains("/MediaBox [0 0 241.000000 151.000000]"));

  // The line plot as PNG, at the size asked and with the title line above it.
  const QString png = dir.filePath(QStringLiteral("layer.png"));
  r = Corvane({QStringLiteral("--figure"), png, QStringLiteral("--option"), QStringLiteral("2300"),
               QStringLiteral("--size"), QStringLiteral("640x400"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QImage picture(png);
  EXPECT_EQ(picture.size(), QSize(640, 400));
  int red = 0, blue = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = picture.width() * 3 / 5 + 8; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      red += c.red() > 200 && c.blue() < 60 && c.green() < 60;
      blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
    }
  }
  EXPECT_GT(red, 20) << "the colour bar's top";
  EXPECT_GT(blue, 20) << "the colour bar's bottom";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file left";
}

TEST(Figure, BadRequestsExitWithTwoAndWriteNothing) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("f.pdf"));
  const struct {
    QStringList args;
    const char* says = nullptr;
  } cases[] = {
      {{QStringLiteral("--figure"), dir.filePath(QStringLiteral("f.jpg")), QStringLiteral("--option"),
        QStringLiteral("2100")},
       "a figure is a .png, .svg or .pdf file"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("1300")},
       "the run has no option 1300"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"),
        QStringLiteral("--quantity"), QStringLiteral("99")},
       "has no quantity 99"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"),
        QStringLiteral("--width-mm"), QStringLiteral("85")},
       "--width-mm takes 10 to 1000 millimetres and --dpi 50 to 2400, together"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"),
        QStringLiteral("--width-mm"), QStringLiteral("1000"), QStringLiteral("--dpi"), QStringLiteral("2400")},
       "corvane: 1000 mm at 2400 dpi is 94488 pixels wide; a figure is at most 20000 pixels a side.\n"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"), QStringLiteral("--size"),
        QStringLiteral("640x400"), QStringLiteral("--dpi"), QStringLiteral("300")},
       "--size and --width-mm do not go together"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"), QStringLiteral("--step"),
        QStringLiteral("3")},
       "--step does not go with --figure"},
      {{QStringLiteral("--dpi"), QStringLiteral("300")}, "--dpi goes with --figure"},
      {{QStringLiteral("--all-parts")}, "--all-parts goes with --figure"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2300"),
        QStringLiteral("--all-parts"), QStringLiteral("--profile-at"), QStringLiteral("3")},
       "corvane: --profile-at draws one quantity; it does not go with --all-parts or several quantities.\n"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2300"),
        QStringLiteral("--quantity"), QStringLiteral("0,1")},
       "option 2300 is a line plot of one quantity of one part"},
      // Skin and core temperature in degrees, then a pressure: a third unit.
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"),
        QStringLiteral("--quantity"), QStringLiteral("0,1,2,3,4,5,6,7,8")},
       "the chart already has two units"},
      {{QStringLiteral("--figure"), out, QStringLiteral("--option"), QStringLiteral("2100"),
        QStringLiteral("--quantity"), QStringLiteral("0,1"), QStringLiteral("--all-parts")},
       "All parts not shown: a chart holds at most 8 curves."},
  };
  for (const auto& c : cases) {
    const Outcome r = Corvane(c.args + QStringList{SampleRun()});
    EXPECT_EQ(r.exitCode, 2) << c.says;
    EXPECT_TRUE(r.err.contains(c.says)) << r.err.constData();
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

namespace {
// The words of a PDF page with their boxes in points, as poppler reads them.
struct Word {
  QString text;
  QRectF box;
};
std::vector<Word> PdfWords(const QString& pdf, QSizeF* page) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(p.waitForFinished(60000)) << "pdftotext (poppler-utils) runs";
  const QString xml = QString::fromUtf8(p.readAllStandardOutput());
  const QRegularExpression pageRe(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
  const QRegularExpressionMatch pm = pageRe.match(xml);
  EXPECT_TRUE(pm.hasMatch()) << xml.left(400).toStdString();
  *page = QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
  std::vector<Word> words;
  const QRegularExpression wordRe(QStringLiteral(
      "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
  for (auto it = wordRe.globalMatch(xml); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
  }
  return words;
}
}  // namespace

// A journal's column and page at 150 to 600 dpi, with a long run name and
// the legend of every part: every word on the page, tick labels 6 to 8
// points high, the title 9 to 10, and each curve one path of fractional
// coordinates; a PNG carries its dpi.
TEST(Figure, AJournalsFigureReadsWholeAtItsSizes) {
  QTemporaryDir dir;
  const QString run = dir.filePath(QStringLiteral("wool_base_layer_at_35C_and_40pct_relative_humidity_2026-11-30"));
  ASSERT_TRUE(QDir().mkpath(run));
  for (const QFileInfo& f : QDir(SampleRun()).entryInfoList(QDir::Files)) {
    ASSERT_TRUE(QFile::copy(f.filePath(), run + QLatin1Char('/') + f.fileName()));
  }
  // Liberation Sans: a line is 1.117 of the font's size.
  constexpr double kLine = 1.117;
  const struct {
    const char* mm;
    const char* dpi;
  } sizes[] = {{"85", "300"}, {"85", "150"}, {"170", "600"}};
  for (const auto& [mm, dpi] : sizes) {
    const QString pdf = dir.filePath(QStringLiteral("f%1_%2.pdf").arg(QLatin1String(mm), QLatin1String(dpi)));
    const Outcome r = Corvane({QStringLiteral("--figure"), pdf, QStringLiteral("--option"), QStringLiteral("1100"),
                               QStringLiteral("--all-parts"), QStringLiteral("--width-mm"), QLatin1String(mm),
                               QStringLiteral("--dpi"), QLatin1String(dpi), run});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QSizeF page;
    const std::vector<Word> words = PdfWords(pdf, &page);
    EXPECT_NEAR(page.width(), QString::fromLatin1(mm).toDouble() / 25.4 * 72, 1.0);
    ASSERT_GT(words.size(), 20u);
    const QRectF inside(QPointF(0, 0), page);
    bool ticks = false;
    for (const Word& w : words) {
      EXPECT_TRUE(inside.contains(w.box)) << mm << " mm at " << dpi << " dpi: \"" << w.text.toStdString() << "\"";
      bool number = false;
      w.text.toDouble(&number);
      if (number && w.box.width() < w.box.height() * 4) {
        ticks = true;
        EXPECT_GE(w.box.height() / kLine, 6 - 0.2) << w.text.toStdString();
        EXPECT_LE(w.box.height() / kLine, 8 + 0.2) << w.text.toStdString();
      }
    }
    EXPECT_TRUE(ticks);
    EXPECT_EQ(words.front().text, QFileInfo(run).fileName().left(words.front().text.size())) << "the title first";
    EXPECT_GE(words.front().box.height() / kLine, 9 - 0.2);
    EXPECT_LE(words.front().box.height() / kLine, 10 + 0.2);
    for (const char* part : {"Head", "Trunk", "Arm", "Hand", "Leg", "Foot"}) {
      EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const Word& w) { return w.text == QLatin1String(part); }))
          << part << " in the legend";
    }
  }
  // The line plot's column too: its scale and the axes' names at 6 to 8
  // points, whole, on the page.
  const QString plot = dir.filePath(QStringLiteral("plot.pdf"));
  const Outcome drawn = Corvane({QStringLiteral("--figure"), plot, QStringLiteral("--option"), QStringLiteral("2300"),
                                 QStringLiteral("--width-mm"), QStringLiteral("85"), QStringLiteral("--dpi"),
                                 QStringLiteral("300"), run});
  ASSERT_EQ(drawn.exitCode, 0) << drawn.err.constData();
  QSizeF page;
  const std::vector<Word> words = PdfWords(plot, &page);
  for (const char* name : {"Thickness(cm)", "Time(min)", "Concentration(kg*m^3)"}) {
    // The last of its name: the column's, the title's standing first.
    const auto w =
        std::find_if(words.rbegin(), words.rend(), [&](const Word& x) { return x.text == QLatin1String(name); });
    ASSERT_NE(w, words.rend()) << name;
    EXPECT_TRUE(QRectF(QPointF(0, 0), page).contains(w->box)) << name;
    EXPECT_GE(w->box.height() / kLine, 6 - 0.2) << name;
    EXPECT_LE(w->box.height() / kLine, 8 + 0.2) << name;
  }

  // SVG: a path a curve, at fractional coordinates; PNG: its dpi.
  const QString svg = dir.filePath(QStringLiteral("f.svg")), png = dir.filePath(QStringLiteral("f.png"));
  for (const QString& file : {svg, png}) {
    const Outcome r = Corvane({QStringLiteral("--figure"), file, QStringLiteral("--option"), QStringLiteral("1100"),
                               QStringLiteral("--all-parts"), QStringLiteral("--width-mm"), QStringLiteral("85"),
                               QStringLiteral("--dpi"), QStringLiteral("300"), run});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  }
  const QString text = QString::fromUtf8(Read(svg));
  int curves = 0;
  const QRegularExpression pathRe(QStringLiteral("<path[^>]* d=\"([^\"]*)\""));
  for (auto it = pathRe.globalMatch(text); it.hasNext();) {
    const QString d = it.next().captured(1);
    const auto points = d.count(QLatin1Char('L'));
    if (points > 50) {
      ++curves;
      EXPECT_TRUE(d.contains(QRegularExpression(QStringLiteral("[0-9]\\.[0-9]+,[0-9]+\\.[0-9]")))) << "fractional";
    }
  }
  EXPECT_EQ(curves, 6) << "one path for each part's curve";
  const QImage picture(png);
  EXPECT_EQ(picture.size(), QSize(1004, 628));
  EXPECT_EQ(picture.dotsPerMeterX(), 11811) << "300 dpi in the file";
}

// A figure that cannot be drawn (no OpenGL for the line plot) leaves the
// file that was there before as it was.
TEST(Figure, AFigureThatCannotBeDrawnLeavesNoFile) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("plot.pdf"));
  QFile before(pdf);
  ASSERT_TRUE(before.open(QIODevice::WriteOnly));
  before.write("the earlier figure");
  before.close();
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
  env.remove(QStringLiteral("QT_FATAL_WARNINGS"));
  p.setProcessEnvironment(env);
  p.start(qEnvironmentVariable("CORVANE_BIN"),
          {QStringLiteral("--figure"), pdf, QStringLiteral("--option"), QStringLiteral("2300"), SampleRun()});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_TRUE(
      p.readAllStandardError().contains("corvane: the line plot could not be drawn (no OpenGL 2.1 context).\n"));
  EXPECT_EQ(Read(pdf), "the earlier figure");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plot.pdf")});
}

// A full disk: a small file system of its own (a tmpfs in a private mount
// namespace, as root, as CI runs) left with 8 KB free. Each format's write
// fails part-way: exit 1, the reason said, the earlier file byte for byte,
// and no temporary file left.
TEST(Figure, AFullDiskKeepsTheEarlierFile) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "a file system of the test's own needs root (CI runs as root)";
  }
  {
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("true")});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
      GTEST_SKIP() << "no mount namespace of the test's own here";
    }
  }
  QTemporaryDir dir;
  const QString disk = dir.filePath(QStringLiteral("disk"));
  ASSERT_TRUE(QDir().mkpath(disk));
  const struct {
    const char* name = nullptr;
    QStringList args;
  } cases[] = {
      {"f.pdf", {"--figure", "%1", "--option", "1100", "--all-parts"}},
      {"f.svg", {"--figure", "%1", "--option", "1100", "--all-parts"}},
      {"f.png", {"--figure", "%1", "--option", "1100", "--width-mm", "170", "--dpi", "600"}},
      {"f.csv", {"--export-csv", "%1", "--option", "2300"}},
  };
  for (const auto& c : cases) {
    const QString target = disk + QLatin1Char('/') + QLatin1String(c.name);
    QStringList args;
    for (const QString& a : c.args) {
      args << (a == QLatin1String("%1") ? target : a);
    }
    args << SampleRun();
    QString command = QStringLiteral("\"$CORVANE_BIN\"");
    for (const QString& a : args) {
      command += QStringLiteral(" '%1'").arg(a);
    }
    const QString script = QStringLiteral(
                               "mount -t tmpfs -o size=256k tmpfs '%1' || exit 77\n"
                               "printf 'the earlier file' > '%2'\n"
                               "head -c 1048576 /dev/zero > '%1/fill' 2>/dev/null\n"
                               "truncate -s -8192 '%1/fill'\n"
                               "%3\n"
                               "echo \"exit=$?\"\n"
                               "echo '---'; cat '%2'; echo; echo '---'; ls -A '%1'\n")
                               .arg(disk, target, command);
    QProcess p;
    p.start(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script});
    ASSERT_TRUE(p.waitForFinished(120000));
    if (p.exitCode() == 77) {
      GTEST_SKIP() << "no tmpfs can be mounted here: " << p.readAllStandardError().constData();
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    const QStringList parts = out.split(QStringLiteral("---\n"));
    ASSERT_EQ(parts.size(), 3) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(parts[0].contains(QStringLiteral("exit=1"))) << c.name << ": " << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("corvane: cannot write %1: No space left on device.\n").arg(target)))
        << err.toStdString();
    EXPECT_EQ(parts[1], QStringLiteral("the earlier file\n")) << c.name;
    EXPECT_EQ(parts[2].split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QLatin1String(c.name), QStringLiteral("fill")}))
        << c.name << ": no temporary file left";
  }
}
