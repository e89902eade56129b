// Figures for papers: the format by extension, the size in millimetres, the
// title line, and corvane --figure writing each format.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
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
  EXPECT_TRUE(text.contains("<polyline") || text.contains("<path")) << "lines, not a picture";
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
  EXPECT_TRUE(allText.contains("Foot: Temperature of Core(Degree)")) << "the legend's last entry";
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
    for (int x = picture.width() * 4 / 5; x < picture.width(); ++x) {
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
       "--profile-at draws one quantity of one run"},
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
