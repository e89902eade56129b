#include "CorvaneDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QOpenGLWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "AboutDlg.h"
#include "CorvaneApp.h"
#include "DataDirectory.h"
#include "FigureCommand.h"
#include "FigureSizeDlg.h"
#include "HeadlessGl.h"
#include "ImageFile.h"
#include "ModelDownload.h"
#include "ModuleDir.h"
#include "MovieExportDlg.h"
#include "MyDialog.h"
#include "Profile.h"
#include "RecentRuns.h"
#include "RunComparison.h"
#include "SaveImageDialog.h"
#include "SceneLoader.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"
#include "Visualize3DDlg.h"

namespace {
const char kTitle[] = "Corvane";
const char kScientificTitle[] = "Scientific  Visualization - Corvane";
const char kStaticTitle[] = "Static 3D Visualization - Corvane";
const char kDynamicTitle[] = "Dynamic 3D Visualization  - Corvane";
const char kSpaceSuitTitle[] = "Moon Space Suit - Corvane";
}  // namespace

CCorvaneDlg::CCorvaneDlg(CCorvaneApp& app, QWidget* parent) : QDialog(parent), m_app(app) {
  ShowTitle(kTitle);
  m_hIcon = QIcon(m_app.ModuleDir() + QStringLiteral("corvane-48.png"));
  setWindowIcon(m_hIcon);
  setAcceptDrops(true);
  m_app.SetMessageParent(this);  // the views' messages come up over this window
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  m_pMenuBar = new QMenuBar(this);
  QMenu* file = m_pMenuBar->addMenu(QStringLiteral("File"));
  file->addAction(QStringLiteral("Open Run..."), QKeySequence::Open, this, &CCorvaneDlg::OnOpenRun);
  m_pRecentMenu = file->addMenu(QStringLiteral("Open Recent"));
  m_pCompareWithRun = file->addAction(QStringLiteral("Compare With Run..."), this, &CCorvaneDlg::OnCompareWithRun);
  m_pCloseComparison = file->addAction(QStringLiteral("Close Comparison"), this, &CCorvaneDlg::OnCloseComparison);
  m_pCloseComparison->setEnabled(false);
  file->addAction(QStringLiteral("Save Image..."), QKeySequence::Save, this, &CCorvaneDlg::OnSaveImage);
  file->addAction(QStringLiteral("Export Figure..."), this, &CCorvaneDlg::OnExportFigure);
  file->addAction(QStringLiteral("Export Movie..."), this, &CCorvaneDlg::OnExportMovie);
  file->addSeparator();
  file->addAction(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
  QMenu* view = m_pMenuBar->addMenu(QStringLiteral("View"));
  view->addAction(QStringLiteral("Scientific  Visualization(&1)"), this, &CCorvaneDlg::OnViewScientific);
  view->addAction(QStringLiteral("Static 3D Visualization(&2) "), this, &CCorvaneDlg::OnViewStatic3D);
  view->addAction(QStringLiteral("Dynamic 3D Visualization(&3)"), this, &CCorvaneDlg::OnViewDynamic3D);
  view->addAction(QStringLiteral("Space Suit"), this, &CCorvaneDlg::OnViewSpaceSuit);
  QMenu* help = m_pMenuBar->addMenu(QStringLiteral("Help"));
  help->addAction(QStringLiteral("&About Corvane..."), this, &CCorvaneDlg::OnAbout);
  UpdateRecentMenu();

  m_pClient = new QWidget(this);
  m_pClient->setFixedSize(DialogUnitsToPixels(0, 0, 667, 407).size());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(m_pMenuBar);
  layout->addWidget(m_pClient);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed window, as its pages are laid out

  // The window is made for GL views from the start: the first 3D view or
  // line plot then joins it as it is, where it would otherwise make the
  // system window anew (a black flash, and the window jumps). A GL widget
  // that is never shown creates no context. Without a display the views
  // draw through a context of their own, and the window holds no GL widget.
  if (!UseHeadlessGl()) {
    auto* glSurface = new QOpenGLWidget(this);
    glSurface->setObjectName(QStringLiteral("corvane-gl-surface"));
    glSurface->hide();
  }

  CreateScientific();
  m_pScientific->show();
  m_pScientific->setFocus(Qt::OtherFocusReason);
}

CCorvaneDlg::~CCorvaneDlg() { DestroyViews(); }

void CCorvaneDlg::CreateScientific() {
  m_pScientific = new CScientificDlg(m_app.Data(), m_app.ModuleDir(), m_pClient);
  m_pScientific->setFocusPolicy(Qt::StrongFocus);
  m_pScientific->setGeometry(m_pClient->rect());
  m_pScientific->SetComparison(m_app.Compared());
}

CVisiualize3DDlg* CCorvaneDlg::Ensure3D() {
  if (m_p3D) {
    return m_p3D;
  }
  m_p3D = new CVisiualize3DDlg(m_app.Data(), m_app.ModuleDir(), m_pClient);
  m_p3D->setFocusPolicy(Qt::StrongFocus);
  m_p3D->setGeometry(m_pClient->rect());
  m_p3D->View()->SetMessageSink(m_app.Sink());
  m_p3D->hide();
  return m_p3D;
}

void CCorvaneDlg::DestroyViews() {
  // The 3D dialog ends its download and its view its loader before they go.
  delete m_p3D;
  m_p3D = nullptr;
  delete m_pScientific;
  m_pScientific = nullptr;
}

void CCorvaneDlg::OnViewScientific() {
  if (m_p3D) {
    m_p3D->hide();
  }
  if (!m_pScientific) {
    CreateScientific();
  }
  m_pScientific->show();
  // Keys act on the view the user sees: the focus goes with it.
  m_pScientific->setFocus(Qt::OtherFocusReason);
  ShowTitle(kScientificTitle);
}

void CCorvaneDlg::Show3D(ViewMode mode) {
  if (m_pScientific) {
    m_pScientific->hide();
  }
  Ensure3D();
  m_p3D->ShowScene(mode, ModelServiceUrl(QString()));
  m_p3D->show();
  m_p3D->setFocus(Qt::OtherFocusReason);
}

void CCorvaneDlg::OnViewStatic3D() {
  Show3D(ViewMode::Static);
  ShowTitle(kStaticTitle);
}

void CCorvaneDlg::OnViewDynamic3D() {
  Show3D(ViewMode::Dynamic);
  ShowTitle(kDynamicTitle);
}

void CCorvaneDlg::OnViewSpaceSuit() {
  Show3D(ViewMode::SpaceSuit);
  ShowTitle(kSpaceSuitTitle);
}

void CCorvaneDlg::OnAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CCorvaneDlg::ShowTitle(const char* title) {
  m_pszTitle = title;
  QString shown = QLatin1String(title);
  if (!m_app.Compared().empty()) {
    std::vector<QString> names;
    for (const CSimulationData* r : m_app.Compared()) {
      names.push_back(QDir(r->Run().m_strDataDir).dirName());
    }
    shown += QStringLiteral(" - Compared with: %1").arg(RunList(names));
  }
  setWindowTitle(shown);
}

void CCorvaneDlg::OnCompareWithRun() {
  if (m_app.Loader().Loading()) {
    return;
  }
  if (const std::optional<QString> dir = m_app.Shell().ChooseFolder(false); dir && !dir->isEmpty()) {
    CompareWith(*dir);
  }
}

bool CCorvaneDlg::CompareWith(const QString& dir) {
  if (m_app.Loader().Loading()) {
    return false;
  }
  // What the chart has no room for is said before a long load, not after.
  if (const QString refusal = ComparisonRefusal(QDir(dir).dirName()); !refusal.isEmpty()) {
    SayRefusal(refusal);
    return false;
  }
  m_app.SetMessageParent(this);
  std::unique_ptr<CSimulationData> loaded = m_app.Loader().Load(dir, this, m_app.Sink());
  if (!loaded) {
    return false;
  }
  return AdoptComparison(std::move(loaded));
}

bool CCorvaneDlg::AdoptComparison(std::unique_ptr<CSimulationData> loaded) {
  loaded->SetMessageSink(m_app.Sink());
  std::vector<const CSimulationData*> runs = m_app.Compared();
  runs.push_back(loaded.get());
  // The view says no (in its status line) to what its chart has no room
  // for; the run refused goes again.
  if (m_pScientific) {
    if (const QString refusal = m_pScientific->SetComparison(runs); !refusal.isEmpty()) {
      SayRefusal(refusal);
      return false;
    }
  }
  m_app.AddCompared(std::move(loaded));
  UpdateComparisonMenu();
  return true;
}

void CCorvaneDlg::OnCloseComparison() {
  // The views let go of the runs before they go.
  if (m_pScientific) {
    m_pScientific->SetComparison({});
  }
  m_app.CloseComparison();
  UpdateComparisonMenu();
}

QString CCorvaneDlg::ComparisonRefusal(const QString& name) const {
  return m_pScientific ? m_pScientific->ComparisonRefusal(m_app.ComparedCount() + 2, name) : QString();
}

void CCorvaneDlg::SayRefusal(const QString& refusal) {
  // The scientific view's status line says it; a 3D view on show hides
  // that line, so a box says it there.
  if (m_pScientific) {
    m_pScientific->PropertyPanel()->SetStatus(refusal);
  }
  if (m_pScientific && m_pScientific->isHidden()) {
    QMessageBox::information(this, QStringLiteral("Compare With Run"), refusal);
  }
}

void CCorvaneDlg::UpdateComparisonMenu() {
  m_pCompareWithRun->setEnabled(m_app.ComparedCount() < kMaxRuns - 1);
  m_pCloseComparison->setEnabled(!m_app.Compared().empty());
  ShowTitle(m_pszTitle ? m_pszTitle : kTitle);
}

void CCorvaneDlg::OnOpenRun() {
  if (m_app.Loader().Loading()) {
    return;
  }
  if (const std::optional<QString> dir = m_app.Shell().ChooseFolder(false); dir && !dir->isEmpty()) {
    OpenRun(*dir);
  }
}

bool CCorvaneDlg::OpenRun(const QString& dir) {
  if (m_app.Loader().Loading()) {
    return false;
  }
  const bool opened = m_app.OpenRun(dir, this, [this] { DestroyViews(); });
  if (opened) {
    CreateScientific();
    m_pScientific->show();
    ShowTitle(kTitle);
  }
  // Later: the action that asked for this run may be one of the menu's own.
  QMetaObject::invokeMethod(this, &CCorvaneDlg::UpdateRecentMenu, Qt::QueuedConnection);
  if (m_bCloseWhenLoaded) {
    close();
  }
  return opened;
}

QWidget* CCorvaneDlg::ShownView() const {
  if (m_p3D && !m_p3D->isHidden()) {
    return m_p3D;
  }
  return m_pScientific;
}

bool CCorvaneDlg::SaveImage(const QString& path) {
  if (ShownView() == m_p3D) {
    return m_p3D->SaveImage(path);
  }
  return WritePng(m_pScientific->Picture(), path);
}

void CCorvaneDlg::OnSaveImage() {
  AskAndSaveImage(this, QStringLiteral("view.png"), [this](const QString& path) { return SaveImage(path); });
}

void CCorvaneDlg::OnExportFigure() {
  const QString caption = QStringLiteral("Export Figure");
  if (ShownView() != m_pScientific || !m_pScientific || !m_pScientific->Option()) {
    QMessageBox::information(this, caption,
                             QStringLiteral("A figure is made of the scientific view's chart or plot: choose an "
                                            "option there first."));
    return;
  }
  QString file =
      QFileDialog::getSaveFileName(this, caption, QStringLiteral("figure.pdf"),
                                   QStringLiteral("PDF document (*.pdf);;SVG drawing (*.svg);;PNG image (*.png)"));
  if (file.isEmpty()) {
    return;
  }
  if (!FigureFormatOf(file)) {
    file += QStringLiteral(".pdf");
  }
  CScientificDlg& view = *m_pScientific;
  if (IsScreenshotInput(file, m_app.Data()->Run().m_strDataDir, m_app.ModuleDir())) {
    QMessageBox::warning(this, caption,
                         QStringLiteral("\"%1\" is one of the files the figure reads; choose another name.").arg(file));
    return;
  }
  // The size as the command line takes it; the chart's (or plot's) size on
  // the screen until another is chosen, and then the last choice.
  const QWidget* shown =
      view.ShownChart() ? static_cast<QWidget*>(view.ShownChart()) : static_cast<QWidget*>(view.PlotView());
  CFigureSizeDlg ask(LoadFigureSizeChoice(shown->size()), this);
  if (ask.exec() != QDialog::Accepted) {
    return;
  }
  const std::optional<FigureSize> chosen = FigureSizeOf(ask.Choice());
  if (!chosen) {
    QMessageBox::warning(this, caption, QStringLiteral("A figure is 10 to 1000 mm wide at 50 to 2400 dpi."));
    return;
  }
  SaveFigureSizeChoice(ask.Choice());
  const FigureSize size = *chosen;
  const CSimulationData& data = *m_app.Data();
  QStringList compared;
  for (const CSimulationData* r : m_app.Compared()) {
    compared << r->Run().m_strDataDir;
  }
  const bool difference = view.DifferenceShown();
  QString title = FigureTitleFor(data, data.Run().m_strDataDir, view.Option(), view.Selection().Quantities(),
                                 view.Selection().AllParts(), compared, true, difference);
  if (view.ProfileShown()) {
    // The profile at the step the player's clock stands on.
    title = ProfileFigureTitle(data, data.Run().m_strDataDir, view.Option(), view.Selection().Quantities().front(),
                               ProfileStepAt(data.Run(), data.State().DrawnStep()), compared, difference);
  }
  QString error;
  const QString drawn =
      view.ProfileShown() || m_app.Compared().empty() || !view.ShownChart()
          ? title
          : FigureTitleFor(data, data.Run().m_strDataDir, view.Option(), view.Selection().Quantities(),
                           view.Selection().AllParts(), compared, false, difference);
  if (!WriteViewFigure(view, file, size, title, &error, drawn)) {
    QMessageBox::warning(this, caption, QStringLiteral("The figure could not be made: %1.").arg(error));
  }
}

void CCorvaneDlg::OnExportMovie() {
  CSimulationData& data = *m_app.Data();
  const QString caption = QStringLiteral("Export Movie");
  if (data.Run().m_nSamples <= 0) {
    QMessageBox::information(this, caption, QStringLiteral("The run has no time steps to play."));
    return;
  }
  // The form opens on what is shown: the 3D view in front, or the static one.
  MovieSettings settings;
  if (m_p3D && !m_p3D->isHidden()) {
    settings.mode = m_p3D->View()->Mode();
    settings.size = m_p3D->View()->size();
  }
  settings.outlinedLabels = data.State().OutlinedLabels();
  CMovieExportDlg form(data, settings, this);
  if (form.exec() != QDialog::Accepted) {
    return;
  }
  settings = form.Settings();
  QString file =
      QFileDialog::getSaveFileName(this, caption, QStringLiteral("run.mp4"), QStringLiteral("MP4 movie (*.mp4)"));
  if (file.isEmpty()) {
    return;
  }
  if (!file.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive)) {
    file += QStringLiteral(".mp4");
  }
  if (IsScreenshotInput(file, data.Run().m_strDataDir, m_app.ModuleDir())) {
    QMessageBox::warning(this, caption,
                         QStringLiteral("\"%1\" is one of the files the movie reads; choose another name.").arg(file));
    return;
  }
  // The static view's own models when it has shown them, else the program's.
  StaticModelFiles files = ProgramModelFiles(m_app.ModuleDir());
  if (m_p3D && !m_p3D->ModelPath().isEmpty()) {
    files = {m_p3D->ModelPath(), m_p3D->GarmentPath()};
  }
  QString error;
  if (ExportMovieWithProgress(this, data, m_app.ModuleDir(), files, settings, file, MovieEncoderProgram(), &error) ==
      MovieResult::Failed) {
    QMessageBox::warning(this, caption, QStringLiteral("The movie could not be made: %1").arg(error));
  }
}

QStringList CCorvaneDlg::RecentRuns() const {
  QStringList runs;
  for (const QAction* a : m_pRecentMenu->actions()) {
    runs << a->data().toString();
  }
  return runs;
}

void CCorvaneDlg::UpdateRecentMenu() {
  m_pRecentMenu->clear();
  for (const QString& dir : LoadRecentRuns()) {
    // A "&" in a folder's name is shown, not taken for a shortcut.
    QString shown = QDir::toNativeSeparators(dir);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* a = m_pRecentMenu->addAction(shown, this, [this, dir] { OpenRun(dir); });
    a->setData(dir);
  }
  m_pRecentMenu->setEnabled(!m_pRecentMenu->isEmpty());
}

void CCorvaneDlg::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape belong to the views; the window closes by its close
  // button and File > Quit only.
  if (IsDialogCloseKey(*event)) {
    event->accept();
  } else {
    QDialog::keyPressEvent(event);
  }
}

void CCorvaneDlg::closeEvent(QCloseEvent* event) {
  if (m_app.Loader().Loading()) {
    // A run is loading under this window: abandon it, then close.
    m_bCloseWhenLoaded = true;
    m_app.Loader().Cancel();
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void CCorvaneDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_app.Loader().Loading() && !DroppedFolder(event->mimeData()->urls()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void CCorvaneDlg::dropEvent(QDropEvent* event) {
  const QString dir = DroppedFolder(event->mimeData()->urls());
  if (dir.isEmpty() || m_app.Loader().Loading()) {
    return;
  }
  event->acceptProposedAction();
  // The drop ends first (the file manager is not kept waiting), then the run loads.
  QTimer::singleShot(0, this, [this, dir] { OpenRun(dir); });
}
