// `corvane --screenshot` as the user sees the program: the real main window,
// the view chosen from its View menu, the options set through the view's own
// controls, and the picture taken of the page (or of the whole window).

#include "WindowScreenshot.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPainter>
#include <cstdio>

#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "OpenGLView.h"
#include "PlayerTime.h"
#include "RunCache.h"
#include "SceneLoader.h"
#include "ScientificDlg.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"
#include "Visualize3DDlg.h"

namespace {
// A window manager draws the title; without one, the picture gets a plain
// title bar of its own so that the title is seen.
QImage WithTitleBar(const QImage& window, const QString& title) {
  const int bar = 28;
  QImage out(window.width(), window.height() + bar, QImage::Format_RGB32);
  out.fill(QColor(60, 63, 70));
  QPainter p(&out);
  p.drawImage(0, bar, window);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, out.width(), bar), Qt::AlignCenter, title);
  return out;
}

void SetUp3D(CVisiualize3DDlg& d, const ScreenshotOptions& o) {
  if (o.content) {
    d.m_content[static_cast<std::size_t>(o.content)]->setChecked(true);
    d.OnContent(o.content);
  }
  d.m_listLayers->setCurrentRow(o.layer);
  if (o.section) {
    d.m_sectionParts[static_cast<std::size_t>(o.section - 1)]->setChecked(true);
    d.OnSectionPart(o.section - 1);
    d.m_crossSection->setChecked(true);
  }
  const CSimulationData& data = *d.m_view->Data();
  d.m_sliderTime->setValue(PositionSeconds(o.step, data.Run().m_fSampleInterval, 0));
  d.OnSliderPosition(d.m_sliderTime->value());
  d.m_view->m_nFrame = o.frame;
  d.m_outlinedLabels->setChecked(o.outlinedLabels);  // the user's way: the check box
}
}  // namespace

namespace {
// Gives the runs lent to the window back to the cache once the window has
// gone, before the application would free them.
class CLentRuns {
 public:
  CLentRuns(CRunCache& runs, CCorvaneApp& app, const ScreenshotOptions& o) : m_runs(runs), m_app(app), m_o(o) {}
  ~CLentRuns() {
    for (std::size_t i = 0; i < m_app.m_compared.size() && i < static_cast<std::size_t>(m_o.compareDirs.size()); ++i) {
      m_runs.Return(m_o.compareDirs[static_cast<qsizetype>(i)], std::move(m_app.m_compared[i]));
    }
    m_runs.Return(m_o.dataDir, std::move(m_app.m_pData));
  }
  CLentRuns(const CLentRuns&) = delete;
  CLentRuns& operator=(const CLentRuns&) = delete;

 private:
  CRunCache& m_runs;
  CCorvaneApp& m_app;
  const ScreenshotOptions& m_o;
};
}  // namespace

int RunWindowScreenshot(const ScreenshotOptions& o, const QString& moduleDir, CRunCache& runs) {
  CCorvaneApp app;
  app.m_strModuleDir = moduleDir;
  app.m_pSink = &CStderrMessageSink::Instance();
  const CLentRuns lent(runs, app, o);
  app.m_pData = runs.Lend(o.dataDir);
  if (!app.m_pData) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.dataDir));
    return 1;
  }
  if (const int unfit = ScreenshotFitsRun(o, *app.m_pData)) {
    return unfit;
  }
  if (!o.modelService.isEmpty()) {
    qputenv("CORVANE_MODEL_SERVICE", o.modelService.toUtf8());
  }

  CCorvaneDlg main(app);
  main.show();
  if (o.mode == ViewMode::Plot) {
    main.OnViewScientific();
    // Each other run as File > Compare With Run... shows it (a run compared
    // with itself is loaded a second time, as the menu would).
    for (const QString& dir : o.compareDirs) {
      // Asked before the run is lent, so that a refused one stays the cache's.
      const QString refusal =
          main.m_pScientific->ComparisonRefusal(static_cast<int>(app.m_compared.size()) + 2, QDir(dir).dirName());
      if (!refusal.isEmpty()) {
        std::fprintf(stderr, "corvane: %s\n", qPrintable(refusal));
        return 2;
      }
      std::unique_ptr<CSimulationData> other = runs.Lend(dir);
      const bool shown = other ? main.AdoptComparison(std::move(other)) : main.CompareWith(dir);
      if (!shown) {
        std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(dir));
        return 1;
      }
      if (const int unfit = ComparedRunFits(dir, o.option, *app.m_compared.back())) {
        return unfit;
      }
    }
    SelectScienceOption(*main.m_pScientific, o.option, o.quantity);
    SelectScienceProfile(*main.m_pScientific, *app.m_pData, o);
    if (o.difference) {
      main.m_pScientific->OnDifference(true);
    }
    main.m_pScientific->Settle();
  } else {
    CVisiualize3DDlg* d = main.Ensure3D();
    // Without a service to ask, the static view shows the program's own
    // models, as it does when the service cannot be reached.
    if (o.mode == ViewMode::Static && o.modelService.isEmpty()) {
      LoadBodyModel(d->m_view, moduleDir + QStringLiteral("model.obj"));
      LoadGarmentModel(d->m_view, moduleDir + QStringLiteral("cloth.obj"));
    }
    if (o.mode == ViewMode::Static) {
      main.OnViewStatic3D();
    }
    if (o.mode == ViewMode::Dynamic) {
      main.OnViewDynamic3D();
    }
    if (o.mode == ViewMode::SpaceSuit) {
      main.OnViewSpaceSuit();
    }
    d->WaitForDownload();
    d->m_view->m_animationJob.Join();
    SetUp3D(*d, o);
  }
  QCoreApplication::processEvents();  // the workers' queued messages and the layout
  if (o.mode != ViewMode::Plot && !main.m_p3D->m_view->SceneModelsRead()) {
    std::fprintf(stderr, "corvane: the scene's models could not all be read from \"%s\".\n", qPrintable(moduleDir));
    return 1;
  }
  // A picture holds no overlay, whatever the pointer happens to be over.
  if (main.m_pScientific) {
    main.m_pScientific->m_chart->m_bOverlays = false;
  }
  QWidget* shown = o.window ? static_cast<QWidget*>(&main) : main.ShownView();
  QImage image = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // A scene that could not be drawn leaves its place black: no picture.
  for (const COpenGLView* view : shown->findChildren<COpenGLView*>()) {
    if (view->isVisible() && !view->GlError().isEmpty()) {
      std::fprintf(stderr, "corvane: the scene could not be rendered: %s.\n", qPrintable(view->GlError()));
      return 1;
    }
  }
  if (o.window) {
    image = WithTitleBar(image, main.windowTitle());
  }
  return SavePicture(image, o.file) ? 0 : 1;
}
