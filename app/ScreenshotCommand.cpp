#include "ScreenshotCommand.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <cstdio>

#include "ImageFile.h"
#include "ModelDownload.h"
#include "ModuleDir.h"
#include "OpenGLView.h"
#include "RunCache.h"
#include "SceneSetup.h"
#include "ScientificDlg.h"
#include "SimulationData.h"
#include "WindowScreenshot.h"

namespace {
// The scientific view alone at the size asked for, after choosing the option
// and the quantity, drawn into a picture.
QImage RenderScience(CSimulationData& data, const std::vector<const CSimulationData*>& compared,
                     const ScreenshotOptions& o, const QString& moduleDir) {
  CScientificDlg view(&data, moduleDir);
  view.resize(o.size);
  view.SetComparison(compared);
  SelectScienceOption(view, o.option, o.quantity);
  SelectScienceProfile(view, data, o);
  if (o.difference) {
    view.OnDifference(true);
  }
  view.Settle();
  view.show();
  QCoreApplication::processEvents();
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
}  // namespace

int RunScreenshotCommand(const ScreenshotOptions& o, CRunCache* runs) {
  const QString moduleDir = ModuleDir();
  for (const QString& dir : QStringList{o.dataDir} + o.compareDirs) {
    if (IsScreenshotInput(o.file, dir, moduleDir)) {
      std::fprintf(stderr, "corvane: \"%s\" is one of the files the screenshot reads; it is not overwritten.\n",
                   qPrintable(o.file));
      return 2;
    }
  }
  for (const QString& dir : o.compareDirs) {
    if (!QFileInfo(dir).isDir()) {
      std::fprintf(stderr, "corvane: there is no folder \"%s\" to compare.\n", qPrintable(dir));
      return 1;
    }
  }
  CRunCache own;
  CRunCache& cache = runs ? *runs : own;
  if (!o.sizeGiven) {
    return RunWindowScreenshot(o, moduleDir, cache);
  }
  IMessageSink& sink = CStderrMessageSink::Instance();
  CSimulationData* run = cache.Get(o.dataDir);
  if (!run) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.dataDir));
    return 1;
  }
  CSimulationData& data = *run;
  if (const int unfit = ScreenshotFitsRun(o, data)) {
    return unfit;
  }
  if (o.mode == ViewMode::Plot) {
    std::vector<const CSimulationData*> compared;
    if (const int failed = LoadComparedRuns(o.compareDirs, o.option, cache, &compared)) {
      return failed;
    }
    return SavePicture(RenderScience(data, compared, o, moduleDir), o.file) ? 0 : 1;
  }
  data.State().SeekStep(o.step);
  COpenGLView view;
  SetUpSceneView(view, data, sink, moduleDir, o);
  view.SetFrame(o.frame);
  const QString dir = view.ModuleDir();
  StaticModelFiles files = ProgramModelFiles(dir);
  if (o.mode == ViewMode::Static && !o.modelService.isEmpty()) {
    // The run's own body and garment, as the static view shows them; what
    // fails is said on standard error, and the program's own models stand in.
    DownloadSettings settings;
    settings.serviceUrl = o.modelService;
    settings.moduleDir = dir;
    settings.downloadFolder = DownloadFolderFor(dir);
    CModelDownload download(settings);
    download.onMessage = [](const QString& caption, const QString& text) {
      CStderrMessageSink::Instance().Message(caption, text, MessageIcon::Error);
    };
    const DownloadResult r = download.Run(data.Run().m_strModelId, data.Run().m_garmentIds);
    files = {r.bodyPath, r.garmentPath};
  }
  if (!LoadSceneModelsNow(view, o.mode, files)) {
    std::fprintf(stderr, "corvane: the scene's models could not all be read from \"%s\".\n", qPrintable(dir));
    return 1;
  }
  const QImage image = view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "corvane: the scene could not be rendered: %s.\n", qPrintable(view.GlError()));
    return 1;
  }
  return SavePicture(image, o.file) ? 0 : 1;
}
