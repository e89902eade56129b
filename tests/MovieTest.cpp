// Movies of a run: the frame arithmetic, the options, the encoder's file
// (read back with the video libraries), the command line and the export
// with its progress dialog.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <cerrno>
#include <climits>
#include <functional>

#include "MovieCommand.h"
#include "MovieEncoder.h"
#include "MovieEncoderProcess.h"
#include "MovieExportDlg.h"
#include "MoviePlan.h"
#include "MovieProbe.h"
#include "MovieRecorder.h"
#include "OpenGLView.h"
#include "PlayerTime.h"
#include "RunFolder.h"
#include "SceneSetup.h"
#include "SimulationData.h"

namespace {
QString SampleRun() { return qEnvironmentVariable("CORVANE_SAMPLE_RUN"); }
QString ModelDir() { return qEnvironmentVariable("CORVANE_MODEL_DIR") + QLatin1Char('/'); }
// The encoder program, built beside the viewer.
QString Encoder() { return ModelDir() + QStringLiteral("corvane-encode"); }

struct Result {
  int exitCode = -1;
  QByteArray err;
};
Result Corvane(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("CORVANE_BIN"), args);
  EXPECT_TRUE(p.waitForFinished(120000));
  return {p.exitCode(), p.readAllStandardError()};
}

// Files in `dir` other than `keep`: what a movie left behind.
QStringList Leftovers(const QTemporaryDir& dir, const QStringList& keep = {}) {
  QStringList left = QDir(dir.path()).entryList(QDir::Files);
  for (const QString& k : keep) {
    left.removeAll(k);
  }
  return left;
}

QImage Filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// The mean difference of the channels over `area` of two pictures.
double MeanDifference(const QImage& a, const QImage& b, QRect area) {
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
    }
  }
  return sum / (3.0 * area.width() * area.height());
}

// Calls `seen` with each object that gets an event of `type`, while it lives.
class CEventWatch : public QObject {
 public:
  CEventWatch(QEvent::Type type, std::function<void(QObject*)> seen) : m_type(type), m_seen(std::move(seen)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == m_type) {
      m_seen(watched);
    }
    return false;
  }

 private:
  QEvent::Type m_type;
  std::function<void(QObject*)> m_seen;
};
}  // namespace

TEST(MoviePlan, FramesCoverTheRunFromStartToEnd) {
  struct Case {
    int total = 0, perStep = 0, speed = 0, fps = 0;
    std::int64_t frames = 0;
    std::int64_t index = 0;
    MovieFrame at;
  };
  const Case cases[] = {
      // The sample run (181 steps of 0.5 min) at the default 60x, 30 frames a second.
      {5430, 30, 60, 30, 2716, 1, {2, 0, 2, 0}},
      {5430, 30, 60, 30, 2716, 3, {6, 0, 6, 1}},
      {5430, 30, 60, 30, 2716, 2715, {5430, 181, 0, 905}},
      {5430, 30, 600, 30, 273, 271, {5420, 180, 20, 90}},
      {5430, 30, 600, 30, 273, 272, {5430, 181, 0, 90}},
      // Steps of 0.1 min (6 s), in real time at one frame a second.
      {18, 6, 1, 1, 19, 7, {7, 1, 1, 70}},
      // A speed that does not divide the frame rate: the last frame still shows the end.
      {12, 6, 7, 3, 7, 5, {11, 1, 5, 16}},
      {12, 6, 7, 3, 7, 6, {12, 2, 0, 20}},
      // A run without time: one frame at its start.
      {0, 30, 60, 30, 1, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const MoviePlan plan(c.total, c.perStep, c.speed, c.fps);
    SCOPED_TRACE(testing::Message() << c.total << " s at " << c.speed << "x, " << c.fps << " fps, frame " << c.index);
    EXPECT_EQ(plan.FrameCount(), c.frames);
    const MovieFrame f = plan.Frame(c.index);
    EXPECT_EQ(f.position, c.at.position);
    EXPECT_EQ(f.step, c.at.step);
    EXPECT_EQ(f.seconds, c.at.seconds);
    EXPECT_EQ(f.ticks, c.at.ticks);
  }
  // The longest run the clock holds, in real time at 120 frames a second,
  // counts its frames without overflow, and is too long to make.
  const MoviePlan longest(INT_MAX, 1, 1, 120);
  EXPECT_EQ(longest.FrameCount(), static_cast<std::int64_t>(INT_MAX) * 120 + 1);
  EXPECT_GT(longest.FrameCount(), kMaxMovieFrames);
}

TEST(MoviePlan, TheWalkingBodyStepsAsThePlayersTimerStepsIt) {
  // The movie's arithmetic against the view's own timer, tick by tick.
  CSimulationData data;
  COpenGLView view;
  view.SetData(&data);
  view.SetMode(ViewMode::Dynamic);
  data.State().SetPlaying(true);
  for (const int start : {0, 1, 5, 12}) {
    view.SetFrame(start);
    for (int ticks = 0; ticks <= 30; ++ticks) {
      ASSERT_EQ(WalkFrameAfter(start, ticks, view.FrameCount()), view.Frame())
          << "from frame " << start << " after " << ticks << " ticks";
      view.OnTimer(0);
    }
  }
  data.State().SetPlaying(false);
  EXPECT_EQ(WalkFrameAfter(7, 1'000'000'000'000LL, 13), 1 + (6 + 1'000'000'000'000LL % 12) % 12);
}

TEST(MovieOptions, ValuesAreCheckedAndOddSizesRoundedUp) {
  struct Case {
    const char* option;
    const char* value;
    bool ok;
  };
  const Case cases[] = {
      {"speed", "60", true},   {"speed", "1", true},       {"speed", "0", false},      {"speed", "-10", false},
      {"speed", "1.5", false}, {"speed", "fast", false},   {"fps", "1", true},         {"fps", "120", true},
      {"fps", "0", false},     {"fps", "121", false},      {"view", "static", true},   {"view", "dynamic", true},
      {"view", "space", true}, {"view", "science", false}, {"view", "walk", false},    {"size", "640x480", true},
      {"size", "8x8", false},  {"layer", "2", true},       {"section", "trunk", true}, {"content", "sweat", true},
  };
  for (const Case& c : cases) {
    MovieOptions o;
    QString error;
    EXPECT_EQ(ParseMovieValue(QLatin1String(c.option), QLatin1String(c.value), o, error), c.ok)
        << c.option << " " << c.value;
    if (!c.ok) {
      EXPECT_EQ(error,
                QStringLiteral("bad value \"%1\" for --%2").arg(QLatin1String(c.value), QLatin1String(c.option)));
    }
  }
  MovieOptions o;
  QString error;
  ASSERT_TRUE(ParseMovieValue(QStringLiteral("size"), QStringLiteral("1001x661"), o, error));
  EXPECT_EQ(o.scene.size, QSize(1002, 662));
  ASSERT_TRUE(ParseMovieValue(QStringLiteral("speed"), QStringLiteral("600"), o, error));
  ASSERT_TRUE(ParseMovieValue(QStringLiteral("fps"), QStringLiteral("24"), o, error));
  EXPECT_EQ(o.speed, 600);
  EXPECT_EQ(o.fps, 24);
  EXPECT_EQ(EvenMovieSize(QSize(16, 17)), QSize(16, 18));
}

// The time line stands in the middle of the frame's bottom, as wide as its
// text: a section legend's caption at the bottom left stays in sight.
TEST(MovieFrames, TheTimeLineLeavesTheBottomCornersSeen) {
  QImage frame(1000, 660, QImage::Format_RGB32);
  frame.fill(QColor(0, 0, 255));
  const QImage before = frame;
  BurnInTime(frame, QStringLiteral("90:30 / 45:00"));
  const int bottom = frame.height() - 4;
  for (const int x : {5, 200, 795, 994}) {
    EXPECT_EQ(frame.pixelColor(x, bottom), before.pixelColor(x, bottom)) << x << ": a corner of the scene";
  }
  EXPECT_NE(frame.pixelColor(500, bottom), before.pixelColor(500, bottom)) << "the band in the middle";
  int text = 0;
  for (int x = 0; x < frame.width(); ++x) {
    for (int y = frame.height() - 40; y < frame.height(); ++y) {
      text += frame.pixelColor(x, y).red() > 200;
    }
  }
  EXPECT_GT(text, 50) << "the time in white";
}

TEST(MovieEncoder, WritesAnH264Mp4ThatReadsBack) {
  QTemporaryDir dir;
  // A colon in the name is a file's name, not a protocol of the video libraries.
  const QString file = dir.filePath(QStringLiteral("run:1.mp4"));
  CMovieEncoder encoder;
  QString error;
  ASSERT_EQ(encoder.Open(file, QSize(64, 48), 25, &error), CMovieEncoder::OpenResult::Ok) << qPrintable(error);
  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black};  // frame 7 is blue
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(encoder.AddFrame(Filled(QSize(64, 48), colours[i % 5]), &error)) << qPrintable(error);
  }
  EXPECT_FALSE(QFile::exists(file)) << "the movie takes its name only when complete";
  ASSERT_TRUE(encoder.Finish(&error)) << qPrintable(error);
  EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("run:1.mp4")});
  const MovieFacts facts = ProbeMovie(file);
  ASSERT_TRUE(facts.opened);
  EXPECT_EQ(facts.codec, QStringLiteral("h264"));
  EXPECT_TRUE(facts.container.contains(QStringLiteral("mp4")));
  EXPECT_EQ(QSize(facts.width, facts.height), QSize(64, 48));
  EXPECT_DOUBLE_EQ(facts.fps, 25);
  EXPECT_EQ(facts.frames, 10);
  const QImage eighth = DecodeMovieFrame(file, 7);
  ASSERT_FALSE(eighth.isNull());
  const QColor middle = eighth.pixelColor(32, 24);
  EXPECT_GT(middle.blue(), 200);
  EXPECT_LT(middle.red(), 40);
}

TEST(MovieEncoder, WhatIsNotFinishedLeavesNothing) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("old.mp4"));
  {
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older movie");
  }
  QString error;
  {
    CMovieEncoder encoder;
    ASSERT_EQ(encoder.Open(file, QSize(32, 32), 30, &error), CMovieEncoder::OpenResult::Ok) << qPrintable(error);
    ASSERT_TRUE(encoder.AddFrame(Filled(QSize(32, 32), Qt::red), &error));
  }  // abandoned
  EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("old.mp4")});
  QFile old(file);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("an older movie"));

  CMovieEncoder encoder;
  EXPECT_EQ(encoder.Open(dir.filePath(QStringLiteral("odd.mp4")), QSize(33, 32), 30, &error),
            CMovieEncoder::OpenResult::SizeRefused);
  EXPECT_TRUE(error.contains(QStringLiteral("33x32"))) << qPrintable(error);
  EXPECT_EQ(encoder.Open(dir.filePath(QStringLiteral("no/such/folder/a.mp4")), QSize(32, 32), 30, &error),
            CMovieEncoder::OpenResult::CannotWrite);
  EXPECT_TRUE(error.startsWith(QStringLiteral("cannot write"))) << qPrintable(error);
  EXPECT_FALSE(encoder.AddFrame(Filled(QSize(32, 32), Qt::red), &error));
  EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("old.mp4")});
}

// The viewer's own encoder runs in a program of its own: what it says comes
// back as the sink's results, and a movie left unfinished leaves no file.
TEST(MovieEncoder, TheEncoderProgramAnswersAsTheEncoderDoes) {
  QTemporaryDir dir;
  QString error;
  {
    CMovieEncoderProcess encoder(Encoder());
    EXPECT_EQ(encoder.Open(dir.filePath(QStringLiteral("odd.mp4")), QSize(33, 32), 30, &error),
              IMovieSink::OpenResult::SizeRefused);
    EXPECT_TRUE(error.contains(QStringLiteral("33x32"))) << qPrintable(error);
    ASSERT_EQ(encoder.Open(dir.filePath(QStringLiteral("left.mp4")), QSize(32, 32), 30, &error),
              IMovieSink::OpenResult::Ok)
        << qPrintable(error);
    ASSERT_TRUE(encoder.AddFrame(Filled(QSize(64, 64), Qt::red), &error)) << "scaled to the movie's size";
  }  // abandoned
  EXPECT_EQ(Leftovers(dir), QStringList());
  CMovieEncoderProcess encoder(Encoder());
  const QString file = dir.filePath(QStringLiteral("two.mp4"));
  ASSERT_EQ(encoder.Open(file, QSize(32, 32), 30, &error), IMovieSink::OpenResult::Ok) << qPrintable(error);
  ASSERT_TRUE(encoder.AddFrame(Filled(QSize(32, 32), Qt::red), &error));
  ASSERT_TRUE(encoder.AddFrame(Filled(QSize(32, 32), Qt::blue), &error));
  ASSERT_TRUE(encoder.Finish(&error)) << qPrintable(error);
  EXPECT_EQ(ProbeMovie(file).frames, 2);
  CMovieEncoderProcess missing(dir.filePath(QStringLiteral("no-such-encoder")));
  EXPECT_EQ(missing.Open(dir.filePath(QStringLiteral("x.mp4")), QSize(32, 32), 30, &error),
            IMovieSink::OpenResult::CannotWrite);
  EXPECT_TRUE(error.startsWith(QStringLiteral("cannot start the movie encoder"))) << qPrintable(error);
  EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("two.mp4")});
}

// The encoder program started by hand, "ok" read: its part file exists.
struct EncoderRun {
  QProcess process;
  EncoderRun(const QString& file, QSize size) {
    process.start(Encoder(), {file, QString::number(size.width()), QString::number(size.height()), "30"});
    EXPECT_TRUE(process.waitForReadyRead(60000));
    EXPECT_EQ(process.readLine(), QByteArray("ok\n"));
  }
  void Finish(QSize size) {
    process.write("F");
    process.write(QByteArray(qsizetype{size.width()} * size.height() * 4, '\x40'));
    process.write("E");
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
  }
  void Stop(int sig) {
    ::kill(static_cast<pid_t>(process.processId()), sig);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
  }
};

QStringList Parts(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
}

// Nothing named .part survives a movie that is stopped: the encoder removes
// its own on SIGINT, SIGTERM or SIGHUP; killed outright, the viewer that
// survives it removes it, or else the next movie to that name. A part file
// that a living encoder writes is never taken, whoever cleans up.
TEST(MovieEncoder, AStoppedEncoderLeavesNoPartFile) {
  QTemporaryDir dir;
  const QSize size(32, 32);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    EncoderRun run(dir.filePath(QStringLiteral("stopped.mp4")), size);
    EXPECT_EQ(Parts(dir).size(), 1) << sig;
    run.Stop(sig);
    EXPECT_EQ(Leftovers(dir), QStringList()) << "signal " << sig;
  }
  {
    // A signal the viewer ignores (nohup, a background job) stops no movie.
    QProcess ignoring;
    ignoring.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    ignoring.start(Encoder(), {dir.filePath(QStringLiteral("kept.mp4")), "32", "32", "30"});
    ASSERT_TRUE(ignoring.waitForReadyRead(60000));
    ::kill(static_cast<pid_t>(ignoring.processId()), SIGHUP);
    ignoring.write("F");
    ignoring.write(QByteArray(qsizetype{32} * 32 * 4, '\x40'));
    ignoring.write("E");
    ignoring.closeWriteChannel();
    ASSERT_TRUE(ignoring.waitForFinished(60000));
    EXPECT_EQ(ignoring.exitCode(), 0) << ignoring.readAllStandardError().constData();
    EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("kept.mp4")});
    QFile::remove(dir.filePath(QStringLiteral("kept.mp4")));
  }
  {
    // Killed outright under the viewer's sink: the sink removes the part.
    QString error;
    CMovieEncoderProcess encoder(Encoder());
    ASSERT_EQ(encoder.Open(dir.filePath(QStringLiteral("killed.mp4")), size, 30, &error), IMovieSink::OpenResult::Ok)
        << qPrintable(error);
    ASSERT_TRUE(encoder.AddFrame(Filled(size, Qt::red), &error));
    EXPECT_EQ(Parts(dir).size(), 1);
    ::kill(encoder.Pid(), SIGKILL);
    EXPECT_FALSE(encoder.Finish(&error));
    EXPECT_EQ(Leftovers(dir), QStringList());
  }
  // Two movies to one name at once: neither takes the other's part file.
  const QString same = dir.filePath(QStringLiteral("same.mp4"));
  EncoderRun first(same, size);
  {
    EncoderRun second(same, size);
    EXPECT_EQ(Parts(dir).size(), 2);
    second.Finish(size);
  }
  EXPECT_EQ(Parts(dir).size(), 1) << "the first's part file stays while it writes";
  first.Stop(SIGKILL);
  EXPECT_EQ(Parts(dir).size(), 1) << "killed outright, it could not clean up";
  {
    EncoderRun next(same, size);
    EXPECT_EQ(Parts(dir).size(), 1) << "the next movie to that name removed the killed one's";
    next.process.closeWriteChannel();  // abandoned
    EXPECT_TRUE(next.process.waitForFinished(60000));
  }
  EXPECT_EQ(Leftovers(dir), QStringList{QStringLiteral("same.mp4")});
}

// Ctrl+C, `timeout` or a scheduler's cancel signal the whole process group
// of `corvane --movie`: the viewer and its encoder both end, and no file
// remains.
TEST(MovieCommand, ASignalToTheProcessGroupLeavesNoFile) {
  // The encoder outlives the viewer it belongs to by a moment: as the
  // orphans' reaper, this test can wait for its end.
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  for (int sig : {SIGINT, SIGTERM}) {
    QTemporaryDir dir;
    QProcess p;
    p.setChildProcessModifier([] { ::setpgid(0, 0); });
    p.start(qEnvironmentVariable("CORVANE_BIN"),
            {QStringLiteral("--movie"), dir.filePath(QStringLiteral("long.mp4")), QStringLiteral("--view"),
             QStringLiteral("static"), QStringLiteral("--fps"), QStringLiteral("10"), QStringLiteral("--size"),
             QStringLiteral("64x48"), SampleRun()});
    // Under way once its first tenth is said; nine tenths are left to stop.
    QByteArray said;
    p.setReadChannel(QProcess::StandardError);
    while (!said.contains("movie frame") && p.waitForReadyRead(60000)) {
      said += p.readAll();
    }
    ASSERT_TRUE(said.contains("movie frame")) << said.constData();
    ASSERT_EQ(Parts(dir).size(), 1);
    ::kill(-static_cast<pid_t>(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << sig;
    // The encoder ends by the same signal; its part file goes before it does.
    int status = 0;
    while (::waitpid(-static_cast<pid_t>(p.processId()), &status, 0) > 0 || errno == EINTR) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "the encoder ends by the signal";
    }
    EXPECT_EQ(Leftovers(dir), QStringList()) << "signal " << sig;
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

TEST(MovieCommand, TheSampleRunAsAShortMovieShowsWhatAScreenshotShows) {
  QTemporaryDir dir;
  const QString movie = dir.filePath(QStringLiteral("run.mp4")), still = dir.filePath(QStringLiteral("step0.png"));
  const Result r = Corvane({QStringLiteral("--movie"), movie, QStringLiteral("--view"), QStringLiteral("static"),
                            QStringLiteral("--speed"), QStringLiteral("600"), QStringLiteral("--fps"),
                            QStringLiteral("10"), QStringLiteral("--size"), QStringLiteral("161x121"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  // 5430 simulated seconds at 600x is 9.05 s of movie: 91 frames and the end.
  EXPECT_TRUE(r.err.contains("corvane: movie frame 92 of 92 (100%)\n")) << r.err.constData();
  const MovieFacts facts = ProbeMovie(movie);
  EXPECT_EQ(facts.codec, QStringLiteral("h264"));
  EXPECT_EQ(QSize(facts.width, facts.height), QSize(162, 122)) << "odd sizes are rounded up";
  EXPECT_EQ(facts.frames, 92);
  EXPECT_DOUBLE_EQ(facts.fps, 10);

  // The first frame is the scene at the run's start, as a screenshot draws
  // it, with the time burnt in below.
  ASSERT_EQ(Corvane({QStringLiteral("--screenshot"), still, QStringLiteral("--view"), QStringLiteral("static"),
                     QStringLiteral("--size"), QStringLiteral("162x122"), SampleRun()})
                .exitCode,
            0);
  const QImage first = DecodeMovieFrame(movie, 0), shot(still);
  ASSERT_EQ(first.size(), shot.size());
  // Compared a quarter the size: the encoder's halved colour blurs the
  // room's one-pixel lines, not the scene.
  auto quarter = [](const QImage& i) {
    return i.scaled(i.size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  EXPECT_LT(MeanDifference(quarter(first), quarter(shot), QRect(0, 0, 40, 23)), 6.0);
  EXPECT_GT(MeanDifference(first, shot, QRect(0, 110, 162, 12)), 6.0) << "the time line at the bottom";
  if (::testing::Test::HasFailure()) {
    first.save(QStringLiteral("MovieCommand.first-frame.png"));
    std::fprintf(stderr, "the movie's first frame saved as MovieCommand.first-frame.png\n");
  }
  EXPECT_EQ(Leftovers(dir, {QStringLiteral("run.mp4"), QStringLiteral("step0.png")}), QStringList());
}

TEST(MovieCommand, BadInputIsRefusedWithExitTwoAndNoFile) {
  QTemporaryDir dir;
  CRunFolder longRun;
  // Two samples 20000 minutes apart: in real time, 2.4 million seconds.
  longRun.WriteMinimal();
  longRun.Write(QStringLiteral("bodyProperty.dat"), BodyRows(0) + BodyRows(20000));
  const QString out = dir.filePath(QStringLiteral("out.mp4"));
  struct Case {
    QStringList args;
    QString run;
    const char* says;
  };
  const QString configure = QDir(SampleRun()).filePath(QStringLiteral("configure.dat"));
  const Case cases[] = {
      {{QStringLiteral("--view"), QStringLiteral("science")}, SampleRun(), "bad value \"science\" for --view"},
      {{QStringLiteral("--view"), QStringLiteral("static"), QStringLiteral("--speed"), QStringLiteral("0")},
       SampleRun(),
       "bad value \"0\" for --speed"},
      {{QStringLiteral("--view"), QStringLiteral("space"), QStringLiteral("--fps"), QStringLiteral("121")},
       SampleRun(),
       "bad value \"121\" for --fps"},
      {{QStringLiteral("--view"), QStringLiteral("static"), QStringLiteral("--step"), QStringLiteral("3")},
       SampleRun(),
       "--step goes with --screenshot, not --movie"},
      {{QStringLiteral("--view"), QStringLiteral("static"), QStringLiteral("--speed"), QStringLiteral("1")},
       longRun.Dir(),
       "choose a higher --speed"},
  };
  for (const Case& c : cases) {
    const Result r = Corvane(QStringList{QStringLiteral("--movie"), out} + c.args + QStringList{c.run});
    EXPECT_EQ(r.exitCode, 2) << c.says;
    EXPECT_TRUE(r.err.contains(c.says)) << r.err.constData();
  }
  EXPECT_EQ(Leftovers(dir), QStringList());
  for (const char* movieOnly : {"--speed", "--fps"}) {
    const Result r = Corvane({QLatin1String(movieOnly), QStringLiteral("30"), SampleRun()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QByteArray(movieOnly) + " goes with --movie.")) << r.err.constData();
  }
  // A name that is not a movie's, and one of the run's own files, are never written.
  const Result avi = Corvane({QStringLiteral("--movie"), dir.filePath(QStringLiteral("out.avi")),
                              QStringLiteral("--view"), QStringLiteral("static"), SampleRun()});
  EXPECT_EQ(avi.exitCode, 2);
  EXPECT_TRUE(avi.err.contains("name it FILE.mp4")) << avi.err.constData();
  QFile original(configure);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray before = original.readAll();
  const Result input =
      Corvane({QStringLiteral("--movie"), configure, QStringLiteral("--view"), QStringLiteral("static"), SampleRun()});
  EXPECT_EQ(input.exitCode, 2);
  EXPECT_TRUE(input.err.contains("is one of the files the movie reads")) << input.err.constData();
  original.seek(0);
  EXPECT_EQ(original.readAll(), before);
  EXPECT_EQ(Leftovers(dir), QStringList());
}

TEST(MovieExport, CancelLeavesNoFileAndTheClockWhereItWas) {
  QTemporaryDir dir;
  CSimulationData data;
  ASSERT_TRUE(data.Load(SampleRun()));
  data.State().SeekStep(3, 5);
  MovieSettings settings;
  settings.speed = 60;  // 2716 frames: far more than are drawn before Cancel
  settings.size = QSize(96, 64);
  const QString file = dir.filePath(QStringLiteral("run.mp4"));
  // Cancel is pressed as the progress dialog shows, after the first frame;
  // with events after every frame it is heard at the second, however fast
  // the machine draws.
  int drawnWhenCancelled = -1;
  QString error;
  {
    const CEventWatch shown(QEvent::Show, [&](QObject* o) {
      if (auto* progress = qobject_cast<QProgressDialog*>(o)) {
        drawnWhenCancelled = progress->value();
        QMetaObject::invokeMethod(progress, &QProgressDialog::cancel, Qt::QueuedConnection);
      }
    });
    EXPECT_EQ(ExportMovieWithProgress(nullptr, data, ModelDir(), ProgramModelFiles(ModelDir()), settings, file,
                                      Encoder(), &error, 0),
              MovieResult::Cancelled)
        << qPrintable(error);
  }
  EXPECT_GE(drawnWhenCancelled, 0) << "the progress dialog was shown";
  EXPECT_EQ(Leftovers(dir), QStringList());
  EXPECT_EQ(data.State().Step(), 3);
  EXPECT_EQ(data.State().StepSeconds(), 5);

  // Finished, the movie has every frame of the plan.
  settings.speed = 1200;
  settings.fps = 5;
  settings.mode = ViewMode::Dynamic;
  ASSERT_EQ(ExportMovieWithProgress(nullptr, data, ModelDir(), ProgramModelFiles(ModelDir()), settings, file, Encoder(),
                                    &error),
            MovieResult::Done)
      << qPrintable(error);
  EXPECT_EQ(ProbeMovie(file).frames, MoviePlan(5430, 30, 1200, 5).FrameCount());
  EXPECT_EQ(MovieLengthText(5430, 30, 1200, 5), QStringLiteral("24 frames, 00:05 of movie"));
  EXPECT_EQ(MovieLengthText(5430, 30, 60, 30), QStringLiteral("2716 frames, 01:31 of movie"));
}
