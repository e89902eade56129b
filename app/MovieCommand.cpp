#include "MovieCommand.h"

#include <QFileInfo>
#include <cstdio>

#include "MessageSink.h"
#include "ModuleDir.h"
#include "MovieEncoderProcess.h"
#include "MoviePlan.h"
#include "MovieRecorder.h"
#include "OpenGLView.h"
#include "PlayerTime.h"
#include "RunCache.h"
#include "SceneSetup.h"
#include "SimulationData.h"

bool ParseMovieValue(const QString& option, const QString& value, MovieOptions& o, QString& error) {
  bool ok = false;
  if (option == QLatin1String("speed")) {
    const int v = value.toInt(&ok);
    ok = ok && v >= 1;
    if (ok) {
      o.speed = v;
    }
  } else if (option == QLatin1String("fps")) {
    const int v = value.toInt(&ok);
    ok = ok && v >= 1 && v <= 120;
    if (ok) {
      o.fps = v;
    }
  } else if (option == QLatin1String("view")) {
    ok = ParseScreenshotValue(option, value, o.scene, error) && o.scene.mode != ViewMode::Plot;
  } else {
    ok = ParseScreenshotValue(option, value, o.scene, error);
    if (ok && option == QLatin1String("size")) {
      o.scene.size = EvenMovieSize(o.scene.size);
    }
  }
  if (!ok) {
    error = QStringLiteral("bad value \"%1\" for --%2").arg(value, option);
  }
  return ok;
}

namespace {
// A progress line at every tenth of the movie, and at its end.
bool TellProgress(std::int64_t done, std::int64_t total) {
  if (done == total || (done * 10 / total) != ((done - 1) * 10 / total)) {
    std::fprintf(stderr, "corvane: movie frame %lld of %lld (%lld%%)\n", static_cast<long long>(done),
                 static_cast<long long>(total), static_cast<long long>(done * 100 / total));
  }
  return true;
}
}  // namespace

int RunMovieCommand(const MovieOptions& o, CRunCache* runs) {
  const ScreenshotOptions& s = o.scene;
  const QString moduleDir = ModuleDir();
  if (IsScreenshotInput(s.file, s.dataDir, moduleDir)) {
    std::fprintf(stderr, "corvane: \"%s\" is one of the files the movie reads; it is not overwritten.\n",
                 qPrintable(s.file));
    return 2;
  }
  if (QFileInfo(s.file).suffix().compare(QLatin1String("mp4"), Qt::CaseInsensitive) != 0) {
    std::fprintf(stderr, "corvane: a movie is written as MP4; name it FILE.mp4, not \"%s\".\n", qPrintable(s.file));
    return 2;
  }
  IMessageSink& sink = CStderrMessageSink::Instance();
  CRunCache own;
  CSimulationData* loaded = (runs ? runs : &own)->Get(s.dataDir);
  if (!loaded) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(s.dataDir));
    return 1;
  }
  CSimulationData& data = *loaded;
  if (const int unfit = ScreenshotFitsRun(s, data)) {
    return unfit;
  }
  const RunTables& run = data.Run();
  const MoviePlan plan(TotalSeconds(run.m_nSamples, run.m_fSampleInterval), run.SecondsPerSample(), o.speed, o.fps);
  if (plan.FrameCount() > kMaxMovieFrames) {
    std::fprintf(stderr, "corvane: at %dx the movie would have %lld frames, more than %lld; choose a higher --speed.\n",
                 o.speed, static_cast<long long>(plan.FrameCount()), static_cast<long long>(kMaxMovieFrames));
    return 2;
  }
  CMovieEncoderProcess encoder(MovieEncoderProgram());
  QString error;
  switch (encoder.Open(s.file, s.size, o.fps, &error)) {
    case IMovieSink::OpenResult::Ok:
      break;
    case IMovieSink::OpenResult::SizeRefused:
      std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
      return 2;
    case IMovieSink::OpenResult::CannotWrite:
      std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
      return 1;
  }

  COpenGLView view;
  SetUpSceneView(view, data, sink, moduleDir, s);
  if (!LoadSceneModelsNow(view, s.mode, ProgramModelFiles(view.ModuleDir()))) {
    std::fprintf(stderr, "corvane: the scene's models could not all be read from \"%s\".\n",
                 qPrintable(view.ModuleDir()));
    return 1;
  }
  if (RecordMovie(view, plan, encoder, TellProgress, &error) != MovieResult::Done) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
