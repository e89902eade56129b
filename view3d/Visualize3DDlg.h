#pragma once
// The dialog of the 3D views (static, dynamic, space suit): the OpenGL view
// and the controls that steer it: the shown quantity, the fabric layer, solid
// or wire drawing, a cross-section, the player with its time slider and
// label, and the status line of the model download.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <array>
#include <memory>
#include <thread>

#include "ModelDownload.h"
#include "MyDialog.h"
#include "OpenGLView.h"

class CSimulationData;

class CVisiualize3DDlg : public CMyDialog {
  Q_OBJECT

 public:
  CVisiualize3DDlg(CSimulationData* data, const QString& moduleDir, QWidget* parent = nullptr);
  ~CVisiualize3DDlg() override;

  // The slider and the time label from the view state's clock.
  void UpdateTimeDisplay();
  // The static view's models: fetched and loaded on a worker, one at a time;
  // false when one is under way already.
  bool StartDownload(const DownloadSettings& settings);
  bool Downloading() const { return m_downloadRunning; }
  void WaitForDownload();

  void OnStartStop();
  void OnContent(int kind);
  void OnDisplayMode(int mode);  // 0 solid, 1 wire
  void OnLayer(int layer);
  void OnShowCrossSection(bool on);
  void OnSectionPart(int part);  // 0 HEAD ... 5 FOOT
  // The slider at position p: the clock at that second, the label, the colours.
  void OnSliderPosition(int position);
  void SetStatus(const QString& text);
  // A click on the view: the part under it and its values, in the status line.
  void OnViewClicked(QPoint at);
  // The 3D view as a PNG of its size (Ctrl+S asks where); false when not written.
  bool SaveImage(const QString& path);

  // The scene `mode` on show: its models loaded first when the view has
  // none yet (the static body fetched from the service at `serviceUrl` in
  // the background, into the program's download folder; the walking body on
  // a worker; the moon scene here), then drawn.
  void ShowScene(ViewMode mode, const QString& serviceUrl);

  // The 3D view the dialog steers (a picture or a movie draws it too).
  COpenGLView* View() const { return m_view; }
  // Whether the models of the last download arrived, and where they stand
  // (empty until a download wrote them).
  bool Downloaded() const { return m_bDownloaded; }
  const QString& ModelPath() const { return m_strModelPath; }
  const QString& GarmentPath() const { return m_strGarmentPath; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyPendingPosition();
  void StepBy(int steps);
  // Asks the view state for the clock at (step, seconds); it clamps.
  void SetClock(int step, int seconds);
  void ShowPlaying(bool playing);
  // The content, layer, drawing and section controls from the view state.
  void ShowControls();
  // The probe panel from the view state and the part probed (hidden for none).
  void ShowProbe();
  void LayoutProbe();
  void LayoutStatus();

  CSimulationData* m_pData;
  QString m_strModuleDir;
  QButtonGroup m_contentGroup, m_displayGroup, m_sectionGroup;
  int m_nPendingPosition = -1;  // a slider position not applied yet
  std::unique_ptr<CModelDownload> m_download;
  std::thread m_worker;
  std::atomic<bool> m_downloadRunning{false};

  COpenGLView* m_view = nullptr;
  bool m_bDownloaded = false;
  QString m_strModelPath;
  QString m_strGarmentPath;
  QSlider* m_sliderTime = nullptr;
  QListWidget* m_listLayers = nullptr;
  QLabel* m_timeLabel = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_startStop = nullptr;
  QComboBox* m_speed = nullptr;  // the player's speed
  QCheckBox* m_outlinedLabels = nullptr;
  // The probe panel: the values of the part clicked last, at the drawn step,
  // kept up to date while the player runs.
  QFrame* m_probePanel = nullptr;
  QLabel* m_probeTitle = nullptr;
  QTableWidget* m_probe = nullptr;
  QPushButton* m_probeCopy = nullptr;
  int m_nProbedPart = -1;
  QCheckBox* m_crossSection = nullptr;
  std::array<QRadioButton*, 3> m_content{};
  std::array<QRadioButton*, 2> m_displayMode{};
  std::array<QRadioButton*, 6> m_sectionParts{};
};
