#pragma once
// The main window: a fixed page under a menu bar, holding one view at a time:
// the scientific view, or the one 3D dialog in its static, dynamic or
// space-suit mode. Switching views never stops the player, resets the clock
// or reloads a model. The File menu opens another run (also by dropping a
// folder on the window), re-opens a recent one, saves a picture of the shown
// view, and quits.

#include <QDialog>
#include <QIcon>
#include <memory>

#include "ViewMode.h"

class CCorvaneApp;
class CSimulationData;
class CScientificDlg;
class CVisiualize3DDlg;
class QMenu;
class QMenuBar;

class CCorvaneDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCorvaneDlg(CCorvaneApp& app, QWidget* parent = nullptr);
  ~CCorvaneDlg() override;

  void OnViewScientific();
  void OnViewStatic3D();
  void OnViewDynamic3D();
  void OnViewSpaceSuit();
  void OnAbout();
  // File > Open Run...: the folder dialog, then OpenRun.
  void OnOpenRun();
  // Loads `dir`; on success the views are made anew on it (the old run's
  // workers ended first) and the scientific view shows. False, with the old
  // run still shown, when the load failed or was cancelled.
  bool OpenRun(const QString& dir);
  // File > Compare With Run...: the folder dialog, then CompareWith.
  void OnCompareWithRun();
  // Loads `dir` as a further run (the same loader, with its progress and
  // Cancel, into a store of its own) and shows it beside the others; false
  // when it failed, was cancelled or was refused (the status line says
  // why), the comparison as it was.
  bool CompareWith(const QString& dir);
  // Shows `run`, already loaded, beside the others; false when the view
  // refuses it (up to seven, one quantity of one part past two runs).
  bool AdoptComparison(std::unique_ptr<CSimulationData> run);
  // File > Close Comparison: every compared run goes.
  void OnCloseComparison();
  // File > Save Image...: asks where, then SaveImage.
  void OnSaveImage();
  // File > Export Figure...: the chart or plot shown, as PDF, SVG or PNG.
  void OnExportFigure();
  // File > Export Movie...: the form, the file, then the movie with progress.
  void OnExportMovie();
  // The shown view as a PNG; false when not written.
  bool SaveImage(const QString& path);
  // The 3D dialog, made on first need (hidden until a 3D command shows it).
  CVisiualize3DDlg* Ensure3D();
  // The view on show: the scientific view or the 3D dialog.
  QWidget* ShownView() const;
  // The recent runs as the Open Recent menu lists them.
  QStringList RecentRuns() const;

  // The views, each null until first shown (the 3D dialog until Ensure3D).
  CScientificDlg* Scientific() const { return m_pScientific; }
  CVisiualize3DDlg* View3D() const { return m_p3D; }
  QMenuBar* MenuBar() const { return m_pMenuBar; }
  // The page under the menu bar that the views fill.
  QWidget* Page() const { return m_pClient; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateScientific();
  void Show3D(ViewMode mode);
  void DestroyViews();
  void UpdateRecentMenu();
  // The window's title: the shown view's, and the compared runs' folders.
  void ShowTitle(const char* title);
  // The comparison's menu entries and the title, as the compared runs are.
  void UpdateComparisonMenu();
  // Why the run named `name` could not join the compared runs (empty when
  // it could), and where the user reads it.
  QString ComparisonRefusal(const QString& name) const;
  void SayRefusal(const QString& refusal);

  CCorvaneApp& m_app;
  CScientificDlg* m_pScientific = nullptr;
  CVisiualize3DDlg* m_p3D = nullptr;
  QIcon m_hIcon;
  QMenuBar* m_pMenuBar = nullptr;
  QWidget* m_pClient = nullptr;  // the page under the menu bar that the views fill
  QMenu* m_pRecentMenu = nullptr;
  QAction* m_pCompareWithRun = nullptr;
  QAction* m_pCloseComparison = nullptr;
  const char* m_pszTitle = nullptr;
  bool m_bCloseWhenLoaded = false;
};
