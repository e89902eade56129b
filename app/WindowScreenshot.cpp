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

// The options as the view state the dialog's controls follow, the time as
// a drag of the slider ends.
void SetUp3D(CVisiualize3DDlg& d, CViewState& state, const ScreenshotOptions& o) {
  state.SetContent(o.content);
  d.OnLayer(o.layer);
  state.SetSectionPart(o.section);
  const CSimulationData& data = *d.View()->Data();
  d.OnSliderPosition(PositionSeconds(o.step, data.Run().m_fSampleInterval, 0));
  d.View()->SetFrame(o.frame);
  state.SetOutlinedLabels(o.outlinedLabels);
}
}  // namespace

namespace {
// Gives the runs lent to the window back to the cache once the window has
// gone, before the application would free them.
class CLentRuns {
 public:
  CLentRuns(CRunCache& runs, CCorvaneApp& app, const ScreenshotOptions& o) : m_runs(runs), m_app(app), m_o(o) {}
  ~CLentRuns() {
    std::vector<std::unique_ptr<CSimulationData>> compared = m_app.TakeCompared();
    for (std::size_t i = 0; i < compared.size() && i < static_cast<std::size_t>(m_o.compareDirs.size()); ++i) {
      m_runs.Return(m_o.compareDirs[static_cast<qsizetype>(i)], std::move(compared[i]));
    }
    m_runs.Return(m_o.dataDir, m_app.TakeData());
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
  app.SetModuleDir(moduleDir);
  app.SetMessageSink(&CStderrMessageSink::Instance());
  const CLentRuns lent(runs, app, o);
  app.Adopt(runs.Lend(o.dataDir));
  if (!app.Data()) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(o.dataDir));
    return 1;
  }
  if (const int unfit = ScreenshotFitsRun(o, *app.Data())) {
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
      const QString refusal = main.Scientific()->ComparisonRefusal(app.ComparedCount() + 2, QDir(dir).dirName());
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
      if (const int unfit = ComparedRunFits(dir, o.option, *app.Compared().back())) {
        return unfit;
      }
    }
    SelectScienceOption(*main.Scientific(), o.option, o.quantity);
    SelectScienceProfile(*main.Scientific(), *app.Data(), o);
    if (o.difference) {
      main.Scientific()->OnDifference(true);
    }
    main.Scientific()->Settle();
  } else {
    CVisiualize3DDlg* d = main.Ensure3D();
    // Without a service to ask, the static view shows the program's own
    // models, as it does when the service cannot be reached.
    if (o.mode == ViewMode::Static && o.modelService.isEmpty()) {
      LoadBodyModel(d->View(), moduleDir + QStringLiteral("model.obj"));
      LoadGarmentModel(d->View(), moduleDir + QStringLiteral("cloth.obj"));
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
    d->View()->JoinLoaders();
    SetUp3D(*d, app.Data()->State(), o);
  }
  QCoreApplication::processEvents();  // the workers' queued messages and the layout
  if (o.mode != ViewMode::Plot && !main.View3D()->View()->SceneModelsRead()) {
    std::fprintf(stderr, "corvane: the scene's models could not all be read from \"%s\".\n", qPrintable(moduleDir));
    return 1;
  }
  // A picture holds no overlay, whatever the pointer happens to be over.
  if (main.Scientific()) {
    main.Scientific()->Chart()->SetOverlays(false);
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
