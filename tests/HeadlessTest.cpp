// Pictures without a display: every picture command runs with DISPLAY unset
// and no X server to be found (an empty PATH), and draws what it draws under
// Xvfb. Where EGL gives no context, the command says what to install.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "CorvaneProcess.h"

namespace {
using Result = ProcessResult;

// The environment of a machine without a display: no DISPLAY, no platform
// chosen, and a PATH on which no xvfb-run or Xvfb is found.
QProcessEnvironment NoDisplay(const QString& emptyPath) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"}) {
    env.remove(QLatin1String(v));
  }
  env.insert(QStringLiteral("PATH"), emptyPath);
  return env;
}

Result Corvane(const QStringList& args, const QProcessEnvironment& env) { return RunCorvane(args, env); }

// The share of pixels that differ at all between two pictures of one size.
double DifferingShare(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  long differ = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      differ += p[col] != q[col];
    }
  }
  return static_cast<double>(differ) / (static_cast<double>(x.width()) * x.height());
}

// The number of distinct colours: a scene drawn is more than a black field.
int Colours(const QImage& image) {
  QSet<QRgb> seen;
  const QImage x = image.convertToFormat(QImage::Format_RGB32);
  for (int row = 0; row < x.height(); row += 3) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    for (int col = 0; col < x.width(); col += 3) {
      seen.insert(p[col]);
    }
  }
  return static_cast<int>(seen.size());
}
}  // namespace

// Each view and figure kind with a 3D scene, drawn without a display, equals
// the same drawn under Xvfb. At most 1% of the pixels may differ (text set on
// another platform may hint differently); this Mesa draws them equal.
TEST(Headless, EveryPictureCommandDrawsWithoutADisplayAsUnderXvfb) {
  QTemporaryDir dir, emptyPath;
  const QString run = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  const struct {
    const char* file = nullptr;
    QStringList args;
  } cases[] = {
      {"static.png", {"--screenshot", "%", "--view", "static", "--size", "320x240", "--step", "2"}},
      {"space.png", {"--screenshot", "%", "--view", "space", "--content", "sweat"}},
      {"dynamic.png", {"--screenshot", "%", "--view", "dynamic", "--frame", "3", "--window"}},
      {"plot.png",
       {"--screenshot", "%", "--view", "science", "--option", "2300", "--quantity", "4", "--size", "1001x661"}},
      {"chart.png", {"--screenshot", "%", "--view", "science", "--option", "2100", "--quantity", "1"}},
      {"plot-figure.png", {"--figure", "%", "--option", "2300", "--quantity", "4", "--width-mm", "85", "--dpi", "150"}},
  };
  const bool display = !qEnvironmentVariable("DISPLAY").isEmpty();
  for (const auto& c : cases) {
    const QString headless = dir.filePath(QStringLiteral("headless-") + QLatin1String(c.file));
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("%"), headless);
    args << run;
    QProcessEnvironment env = NoDisplay(emptyPath.path());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // as a batch job may have it
    const Result r = Corvane(args, env);
    ASSERT_EQ(r.exitCode, 0) << c.file << ": " << r.err.constData();
    EXPECT_EQ(r.err, QByteArray()) << c.file << ": nothing to say of a picture drawn";
    const QImage drawn(headless);
    ASSERT_FALSE(drawn.isNull()) << c.file;
    EXPECT_GT(Colours(drawn), 20) << c.file << ": a scene, not an empty field";
    if (!display) {
      continue;  // nothing to compare with here; test.sh runs under Xvfb
    }
    const QString windowed = dir.filePath(QStringLiteral("xvfb-") + QLatin1String(c.file));
    args = c.args;
    args.replaceInStrings(QStringLiteral("%"), windowed);
    args << run;
    ASSERT_EQ(Corvane(args, QProcessEnvironment::systemEnvironment()).exitCode, 0) << c.file;
    const QImage reference(windowed);
    ASSERT_EQ(drawn.size(), reference.size()) << c.file;
    EXPECT_LE(DifferingShare(drawn, reference), 0.01) << c.file;
  }
  if (!display) {
    GTEST_SKIP() << "drawn without a display; no Xvfb picture to compare with (run under xvfb-run)";
  }
}

// A movie needs no display either: every frame is drawn by the view's own
// context.
TEST(Headless, AMovieWithoutADisplay) {
  QTemporaryDir dir, emptyPath;
  const QString movie = dir.filePath(QStringLiteral("walk.mp4"));
  const Result r = Corvane({"--movie", movie, "--view", "dynamic", "--speed", "600", "--fps", "5", "--size", "96x72",
                            qEnvironmentVariable("CORVANE_SAMPLE_RUN")},
                           NoDisplay(emptyPath.path()));
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  EXPECT_TRUE(r.err.contains("corvane: movie frame 47 of 47 (100%)\n")) << r.err.constData();
  EXPECT_GT(QFileInfo(movie).size(), 1000);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("walk.mp4")});
}

// Where EGL gives no context the command says what to install and exits
// with 1, never a crash nor a black picture; the viewer itself still needs a
// display and says so.
TEST(Headless, WithoutEglTheCommandSaysWhatToInstall) {
  QTemporaryDir dir, emptyPath;
  QProcessEnvironment env = NoDisplay(emptyPath.path());
  // The EGL loader finds no driver at all.
  env.insert(QStringLiteral("__EGL_VENDOR_LIBRARY_FILENAMES"), dir.filePath(QStringLiteral("none.json")));
  const QString run = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  for (const QStringList& view : {QStringList{"--view", "static", "--size", "320x240"}, QStringList{"--view", "space"},
                                  QStringList{"--view", "science", "--option", "2300", "--quantity", "4"}}) {
    const QString file = dir.filePath(QStringLiteral("no.png"));
    const Result r = Corvane(QStringList{"--screenshot", file} + view + QStringList{run}, env);
    EXPECT_EQ(r.exitCode, 1) << view.join(' ').toStdString() << ": " << r.err.constData();
    EXPECT_TRUE(
        r.err.contains("corvane: the scene could not be rendered: EGL has no surfaceless platform (install "
                       "Mesa's EGL: libegl-mesa0).\n"))
        << r.err.constData();
    EXPECT_FALSE(QFileInfo::exists(file)) << view.join(' ').toStdString();
  }
  const Result viewer = Corvane({run}, env);
  EXPECT_EQ(viewer.exitCode, 1);
  EXPECT_TRUE(
      viewer.err.contains("corvane: there is no display to show the viewer on (DISPLAY is not set).\n"
                          "  On a machine without one, 'corvane --info DATA_DIR' prints a run's summary, and\n"
                          "  'corvane --screenshot FILE --view VIEW DATA_DIR' renders a view.\n"))
      << viewer.err.constData();
}

// A batch needs no display either.
TEST(Headless, ABatchWithoutADisplay) {
  QTemporaryDir dir, emptyPath;
  QFile batch(dir.filePath(QStringLiteral("b.toml")));
  ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
  batch.write(QByteArray("[[output]]\nscreenshot = \"s.png\"\nview = \"space\"\nrun = \"") +
              QFile::encodeName(qEnvironmentVariable("CORVANE_SAMPLE_RUN")) +
              "\"\n\n[[output]]\nfigure = \"p.png\"\noption = 2300\nquantity = 4\nrun = \"" +
              QFile::encodeName(qEnvironmentVariable("CORVANE_SAMPLE_RUN")) + "\"\n");
  batch.close();
  const Result r = Corvane({"--batch", batch.fileName()}, NoDisplay(emptyPath.path()));
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  for (const char* file : {"s.png", "p.png"}) {
    EXPECT_GT(Colours(QImage(dir.filePath(QLatin1String(file)))), 20) << file;
  }
}
