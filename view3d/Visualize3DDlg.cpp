#include "Visualize3DDlg.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>

#include "ImageFile.h"
#include "LoadCancel.h"
#include "PlayerTime.h"
#include "Probe.h"
#include "SaveImageDialog.h"
#include "SceneLoader.h"
#include "SimulationData.h"
#include "ThreadName.h"

namespace {
QRect Du(int x, int y, int width, int height) { return DialogUnitsToPixels(x, y, width, height); }

}  // namespace

CVisiualize3DDlg::CVisiualize3DDlg(CSimulationData* data, const QString& moduleDir, QWidget* parent)
    : CMyDialog(parent), m_pData(data), m_strModuleDir(moduleDir) {
  resize(Du(0, 0, 657, 430).size());
  // A frame with its title around a set of radios; the radios stay the
  // dialog's own children at their places, drawn over it.
  auto group = [this](const QString& title, QRect r) {
    auto* box = new QGroupBox(title, this);
    box->setGeometry(r);
    box->lower();
  };
  group(QStringLiteral("Visualization Content"), Du(15, 10, 82, 75));
  const char* contents[3] = {"Temperature", "Humidity", "Sweating Rate"};
  const int contentRects[3][4] = {{26, 26, 57, 10}, {27, 44, 43, 10}, {27, 63, 63, 10}};
  for (int i = 0; i < 3; ++i) {
    m_content[static_cast<std::size_t>(i)] = new QRadioButton(QLatin1String(contents[i]), this);
    m_content[static_cast<std::size_t>(i)]->setGeometry(
        Du(contentRects[i][0], contentRects[i][1], contentRects[i][2], contentRects[i][3]));
    m_content[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("content%1").arg(i));
    m_contentGroup.addButton(m_content[static_cast<std::size_t>(i)], i);
  }
  connect(&m_contentGroup, &QButtonGroup::idClicked, this, &CVisiualize3DDlg::OnContent);

  (new QLabel(QStringLiteral("Body/Fabric layers\uFF1A"), this))->setGeometry(Du(17, 96, 68, 8));
  m_listLayers = new QListWidget(this);
  m_listLayers->setObjectName(QStringLiteral("layers"));
  m_listLayers->setGeometry(Du(16, 113, 74, 62));
  (new QLabel(QStringLiteral("Speed\uFF1A"), this))->setGeometry(Du(19, 181, 29, 8));
  // Simulated seconds a tick of the player's one-second timer; + and - step
  // through them. The keys stay the dialog's: the box takes no focus.
  m_speed = new QComboBox(this);
  m_speed->setObjectName(QStringLiteral("speed"));
  for (const int speed : kPlayerSpeeds) {
    m_speed->addItem(SpeedLabel(speed), speed);
  }
  m_speed->setGeometry(Du(46, 178, 42, 13));
  m_speed->setFocusPolicy(Qt::NoFocus);
  connect(m_speed, &QComboBox::activated, this,
          [this](int index) { m_pData->State().SetSpeed(m_speed->itemData(index).toInt()); });

  // The legends' text ringed in black, to read on a room of its own colour.
  m_outlinedLabels = new QCheckBox(QStringLiteral("Outlined labels"), this);
  m_outlinedLabels->setObjectName(QStringLiteral("outlinedLabels"));
  m_outlinedLabels->setGeometry(Du(17, 198, 77, 10));
  m_outlinedLabels->setFocusPolicy(Qt::NoFocus);
  connect(m_outlinedLabels, &QCheckBox::toggled, this, [this](bool on) { m_pData->State().SetOutlinedLabels(on); });

  group(QStringLiteral("Display Model"), Du(14, 218, 81, 57));
  m_displayMode[0] = new QRadioButton(QStringLiteral("Solid Mode"), this);
  m_displayMode[0]->setGeometry(Du(28, 237, 50, 10));
  m_displayMode[1] = new QRadioButton(QStringLiteral("Wire Mode"), this);
  m_displayMode[1]->setGeometry(Du(28, 257, 50, 10));
  m_displayMode[0]->setObjectName(QStringLiteral("solid"));
  m_displayMode[1]->setObjectName(QStringLiteral("wire"));
  m_displayGroup.addButton(m_displayMode[0], 0);
  m_displayGroup.addButton(m_displayMode[1], 1);
  connect(&m_displayGroup, &QButtonGroup::idClicked, this, &CVisiualize3DDlg::OnDisplayMode);

  m_crossSection = new QCheckBox(QStringLiteral("Show cross section"), this);
  m_crossSection->setObjectName(QStringLiteral("crossSection"));
  m_crossSection->setGeometry(Du(17, 282, 77, 10));
  connect(m_crossSection, &QCheckBox::toggled, this, &CVisiualize3DDlg::OnShowCrossSection);
  const char* parts[6] = {"HEAD", "TRUNK", "ARM", "HAND", "LEG", "FOOT"};
  const int partY[6] = {294, 306, 317, 328, 339, 351};
  for (int i = 0; i < 6; ++i) {
    auto* r = new QRadioButton(QLatin1String(parts[i]), this);
    r->setObjectName(QStringLiteral("section%1").arg(i));
    r->setGeometry(Du(29, partY[i], 50, 10));
    r->hide();
    m_sectionGroup.addButton(r, i);
    m_sectionParts[static_cast<std::size_t>(i)] = r;
  }
  m_sectionParts[0]->setChecked(true);
  connect(&m_sectionGroup, &QButtonGroup::idClicked, this, &CVisiualize3DDlg::OnSectionPart);

  m_sliderTime = new QSlider(Qt::Horizontal, this);
  m_sliderTime->setObjectName(QStringLiteral("time"));
  m_sliderTime->setGeometry(Du(106, 398, 486, 14));
  m_sliderTime->setTickPosition(QSlider::NoTicks);
  // The arrow keys step the player a whole step (the dialog's keys), never a
  // second of the slider's own.
  m_sliderTime->setFocusPolicy(Qt::NoFocus);
  m_timeLabel = new QLabel(QStringLiteral("00:00 / 00:00"), this);
  m_timeLabel->setObjectName(QStringLiteral("timeLabel"));
  m_timeLabel->setGeometry(Du(604, 400, 52, 8));
  m_startStop = new QPushButton(QStringLiteral("Start"), this);
  m_startStop->setObjectName(QStringLiteral("startStop"));
  m_startStop->setGeometry(Du(70, 394, 29, 18));
  m_startStop->setFocusPolicy(Qt::NoFocus);
  connect(m_startStop, &QPushButton::clicked, this, &CVisiualize3DDlg::OnStartStop);
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("status"));
  m_status->setGeometry(Du(7, 414, 86, 8));
  m_status->setWordWrap(true);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("progress"));
  m_progress->setTextVisible(false);
  m_progress->setGeometry(m_status->geometry().right() + 4, m_status->geometry().top() + 3, 60, 6);
  m_progress->hide();

  m_probePanel = new QFrame(this);
  m_probePanel->setObjectName(QStringLiteral("probe"));
  m_probePanel->setFrameShape(QFrame::StyledPanel);
  m_probePanel->setAutoFillBackground(true);
  m_probeTitle = new QLabel(m_probePanel);
  m_probeTitle->setObjectName(QStringLiteral("probeTitle"));
  m_probe = new QTableWidget(0, 2, m_probePanel);
  m_probe->setObjectName(QStringLiteral("probeTable"));
  m_probe->horizontalHeader()->hide();
  m_probe->verticalHeader()->hide();
  m_probe->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_probe->setFocusPolicy(Qt::NoFocus);
  m_probeCopy = new QPushButton(QStringLiteral("Copy"), m_probePanel);
  m_probeCopy->setObjectName(QStringLiteral("probeCopy"));
  m_probeCopy->setFocusPolicy(Qt::NoFocus);
  connect(m_probeCopy, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(ProbeTsv(*m_pData, m_nProbedPart)); });
  auto* closeProbe = new QPushButton(QStringLiteral("Close"), m_probePanel);
  closeProbe->setObjectName(QStringLiteral("closeProbe"));
  closeProbe->setFocusPolicy(Qt::NoFocus);
  connect(closeProbe, &QPushButton::clicked, this, [this] {
    m_nProbedPart = -1;
    ShowProbe();
  });
  m_probePanel->hide();

  m_view = new COpenGLView(this);
  m_view->setGeometry(Du(107, 0, 549, 390));
  m_view->SetData(m_pData);
  m_view->SetModuleDir(m_strModuleDir);
  m_view->SetMode(ViewMode::Static);
  m_view->ResetCamera();
  connect(m_view, &COpenGLView::clicked, this, &CVisiualize3DDlg::OnViewClicked);

  // The slider turns into a step when its value changes: a drag and a move
  // by UpdateTimeDisplay end the same way. Changes within one turn of the
  // event loop cost one colour update and one redraw.
  m_sliderTime->setRange(0, SliderMaximum(m_pData->Run().m_nSamples, m_pData->Run().m_fSampleInterval));
  const CViewState* state = &m_pData->State();
  connect(state, &CViewState::clockChanged, this, &CVisiualize3DDlg::UpdateTimeDisplay);
  connect(state, &CViewState::playingChanged, this, &CVisiualize3DDlg::ShowPlaying);
  connect(state, &CViewState::contentChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::layerChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::sectionPartChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::wireModeChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::speedChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::outlinedLabelsChanged, this, &CVisiualize3DDlg::ShowControls);
  connect(state, &CViewState::changed, this, &CVisiualize3DDlg::ShowProbe);
  connect(m_sliderTime, &QSlider::valueChanged, this, [this](int p) {
    const bool scheduled = m_nPendingPosition >= 0;
    m_nPendingPosition = p;
    if (!scheduled) {
      QTimer::singleShot(0, this, &CVisiualize3DDlg::ApplyPendingPosition);
    }
  });
  UpdateTimeDisplay();

  const int layers = m_pData->Run().MostLayers();
  m_listLayers->addItem(QStringLiteral("Human Body"));
  for (int l = 1; l <= layers; ++l) {
    m_listLayers->addItem(QStringLiteral("Layer %1").arg(l));
  }
  connect(m_listLayers, &QListWidget::currentRowChanged, this, &CVisiualize3DDlg::OnLayer);
  // Space is the player's, whichever control holds the focus: a check box
  // or a radio button clicked last would take it as a click.
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
    b->installEventFilter(this);
  }
  ShowControls();
  ShowPlaying(state->Playing());
}

bool CVisiualize3DDlg::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress, release = event->type() == QEvent::KeyRelease;
  if ((press || release) && qobject_cast<QAbstractButton*>(watched)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
      if (press && !key->isAutoRepeat()) {
        OnStartStop();
      }
      return true;
    }
  }
  return CMyDialog::eventFilter(watched, event);
}

CVisiualize3DDlg::~CVisiualize3DDlg() {
  // The download ends before the dialog and its view go: no detached thread.
  if (m_download) {
    m_download->Cancel();
  }
  WaitForDownload();
}

void CVisiualize3DDlg::ShowScene(ViewMode mode, const QString& serviceUrl) {
  m_view->SetMode(mode);
  if (mode == ViewMode::Static && !m_view->BodyModel()) {
    // The download folder is made here, when a download needs it: showing
    // another scene leaves nothing on disk.
    DownloadSettings settings;
    settings.serviceUrl = serviceUrl;
    settings.moduleDir = m_strModuleDir;
    settings.downloadFolder = DownloadFolderFor(m_strModuleDir);
    StartDownload(settings);  // one at a time: a second command while it runs starts nothing
  } else if (mode == ViewMode::Dynamic && !m_view->AnimationModel()) {
    LoadAnimationModel(m_view, m_strModuleDir + QStringLiteral("op.obj"));
  } else if (mode == ViewMode::SpaceSuit && !m_view->SpaceSuitModel()) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    LoadSpaceSuitScene(m_view);
    QGuiApplication::restoreOverrideCursor();
  }
  m_view->RenderScene();
}

void CVisiualize3DDlg::WaitForDownload() {
  if (m_worker.joinable()) {
    m_worker.join();
  }
}

void CVisiualize3DDlg::UpdateTimeDisplay() {
  const CViewState& state = m_pData->State();
  const RunTables& run = m_pData->Run();
  const int position = PositionSeconds(state.Step(), run.m_fSampleInterval, state.StepSeconds());
  {
    // The clock is the truth here: the slider follows it without turning
    // its position back into a step.
    const QSignalBlocker quiet(m_sliderTime);
    m_sliderTime->setValue(position);
  }
  m_timeLabel->setText(TimeLabel(TotalSeconds(run.m_nSamples, run.m_fSampleInterval), position));
}

void CVisiualize3DDlg::ShowPlaying(bool playing) {
  m_startStop->setText(playing ? QStringLiteral("Stop") : QStringLiteral("Start"));
}

void CVisiualize3DDlg::ShowControls() {
  // The controls show the view state; setting them here is no user's
  // choice, so their signals stay quiet.
  const CViewState& state = m_pData->State();
  if (QAbstractButton* b = m_contentGroup.button(state.Content())) {
    const QSignalBlocker quiet(m_contentGroup);
    b->setChecked(true);
  }
  {
    const QSignalBlocker quiet(m_listLayers);
    m_listLayers->setCurrentRow(std::min(state.SelectedLayer(), m_listLayers->count() - 1));
  }
  {
    const QSignalBlocker quiet(m_displayGroup);
    m_displayMode[state.WireMode() ? 1 : 0]->setChecked(true);
  }
  {
    // A speed set from elsewhere that the box does not list shows as the
    // slower one it lies above.
    const QSignalBlocker quiet(m_speed);
    m_speed->setCurrentIndex(std::max(0, m_speed->findData(StepSpeed(state.Speed(), 0))));
  }
  {
    const QSignalBlocker quiet(m_outlinedLabels);
    m_outlinedLabels->setChecked(state.OutlinedLabels());
  }
  const int section = state.SectionPart();
  {
    const QSignalBlocker quiet(m_crossSection);
    m_crossSection->setChecked(section != 0);
  }
  if (section != 0) {
    const QSignalBlocker quiet(m_sectionGroup);
    m_sectionParts[static_cast<std::size_t>(section - 1)]->setChecked(true);
  }
  for (QRadioButton* r : m_sectionParts) {
    r->setVisible(section != 0);
  }
}

void CVisiualize3DDlg::ShowProbe() {
  if (m_nProbedPart < 0) {
    m_probePanel->hide();
    return;
  }
  m_probeTitle->setText(ProbeTitle(*m_pData, m_nProbedPart));
  const std::vector<ProbeRow> rows = ProbeRows(*m_pData, m_nProbedPart);
  m_probe->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ProbeRow& row = rows[static_cast<std::size_t>(r)];
    for (const auto& [column, text] : {std::pair{0, row.name}, std::pair{1, row.value}}) {
      QTableWidgetItem* item = m_probe->item(r, column);
      if (!item) {
        item = new QTableWidgetItem;
        m_probe->setItem(r, column, item);
      }
      item->setText(text);
    }
  }
  LayoutProbe();
  m_probePanel->show();
  m_probePanel->raise();
}

void CVisiualize3DDlg::LayoutProbe() {
  // In the view's upper right corner, as tall as its rows.
  const int rowHeight = m_probe->verticalHeader()->defaultSectionSize();
  const int width = 200;
  const int tableHeight = rowHeight * m_probe->rowCount() + 4;
  const int height = std::min(20 + tableHeight + 30, std::max(80, m_view->height() - 12));
  m_probePanel->setGeometry(m_view->geometry().right() - width - 6, m_view->y() + 6, width, height);
  m_probeTitle->setGeometry(6, 2, width - 12, 18);
  m_probe->setGeometry(4, 20, width - 8, height - 20 - 30);
  m_probe->setColumnWidth(0, 70);
  m_probe->setColumnWidth(1, width - 8 - 70 - 4);
  m_probeCopy->setGeometry(4, height - 28, 60, 24);
  if (auto* close = m_probePanel->findChild<QPushButton*>(QStringLiteral("closeProbe"))) {
    close->setGeometry(width - 64, height - 28, 60, 24);
  }
}

void CVisiualize3DDlg::SetClock(int step, int seconds) { m_pData->State().SeekStep(step, seconds); }

void CVisiualize3DDlg::ApplyPendingPosition() {
  const int p = m_nPendingPosition;
  m_nPendingPosition = -1;
  if (p >= 0) {
    OnSliderPosition(p);
  }
}

void CVisiualize3DDlg::OnSliderPosition(int position) {
  const ClockPosition at = ClockAtPosition(position, m_pData->Run().m_fSampleInterval);
  SetClock(at.step, at.seconds);
}

void CVisiualize3DDlg::OnStartStop() {
  CViewState& state = m_pData->State();
  state.SetPlaying(!state.Playing());
}

void CVisiualize3DDlg::OnContent(int kind) {
  if (const std::optional<ContentKind> content = ContentKindOf(kind)) {
    m_pData->State().SetContent(*content);
  }
}

void CVisiualize3DDlg::OnDisplayMode(int mode) { m_pData->State().SetWireMode(mode == 1); }

void CVisiualize3DDlg::OnLayer(int layer) {
  if (layer >= 0) {
    m_pData->State().SelectLayer(layer);
  }
}

void CVisiualize3DDlg::OnShowCrossSection(bool on) {
  const int radio = std::max(0, m_sectionGroup.checkedId());
  m_pData->State().SetSectionPart(on ? radio + 1 : 0);
}

void CVisiualize3DDlg::OnSectionPart(int part) {
  if (m_crossSection->isChecked()) {
    m_pData->State().SetSectionPart(part + 1);
  }
}

void CVisiualize3DDlg::SetStatus(const QString& text) {
  m_status->setText(text);
  LayoutStatus();
}

void CVisiualize3DDlg::LayoutStatus() {
  // The status line takes the free width of the left column, up to the
  // Start button, and as many lines upwards as its text needs: a probe
  // readout or a download message is read whole, never cut.
  const int left = Du(7, 414, 86, 8).x(), right = m_startStop->x() - 4;
  const int width = std::max(Du(7, 414, 86, 8).width(), right - left);
  const int lineHeight = Du(7, 414, 86, 8).height();
  const int height = std::max(lineHeight, m_status->heightForWidth(width));
  const int bottom = std::min(Du(7, 414, 86, 8).bottom(), this->height() - 2);
  m_status->setGeometry(left, bottom - height + 1, width, height);
  m_progress->setGeometry(left, m_status->y() - 9, std::min(width, 60), 6);
}

void CVisiualize3DDlg::OnViewClicked(QPoint at) {
  const int part = m_view->PickPart(at);
  if (part < 0) {
    return;
  }
  SetStatus(ProbeText(*m_pData, part, m_pData->State().SelectedLayer()));
  m_nProbedPart = part;
  ShowProbe();
}

bool CVisiualize3DDlg::SaveImage(const QString& path) {
  return WritePng(m_view->grabFramebuffer().convertToFormat(QImage::Format_RGB32), path);
}

void CVisiualize3DDlg::StepBy(int steps) { SetClock(m_pData->State().Step() + steps, 0); }

void CVisiualize3DDlg::keyPressEvent(QKeyEvent* event) {
  // A hidden view takes no keys: they belong to the view on show.
  if (!isVisible()) {
    event->ignore();
    return;
  }
  if (event->matches(QKeySequence::Save)) {
    AskAndSaveImage(this, QStringLiteral("view.png"), [this](const QString& path) { return SaveImage(path); });
    return;
  }
  switch (event->key()) {
    case Qt::Key_Space:
      return OnStartStop();
    case Qt::Key_Left:
      return StepBy(-1);
    case Qt::Key_Right:
      return StepBy(1);
    case Qt::Key_Home:
      // Home is the camera's; with Ctrl, the run's start (End its end).
      if (event->modifiers() & Qt::ControlModifier) {
        return SetClock(0, 0);
      }
      return m_view->ResetCamera();
    case Qt::Key_End:
      return SetClock(m_pData->Run().m_nSamples, 0);
    case Qt::Key_F:
      return m_view->TurnTo(COpenGLView::Facing::Front);
    case Qt::Key_B:
      return m_view->TurnTo(COpenGLView::Facing::Back);
    case Qt::Key_L:
      return m_view->TurnTo(COpenGLView::Facing::Left);
    case Qt::Key_R:
      return m_view->TurnTo(COpenGLView::Facing::Right);
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // + without Shift
      return m_pData->State().SetSpeed(StepSpeed(m_pData->State().Speed(), 1));
    case Qt::Key_Minus:
      return m_pData->State().SetSpeed(StepSpeed(m_pData->State().Speed(), -1));
    default:
      CMyDialog::keyPressEvent(event);
  }
}

void CVisiualize3DDlg::resizeEvent(QResizeEvent* event) {
  CMyDialog::resizeEvent(event);
  const int w = width(), h = height();
  m_view->setGeometry(160, 0, w - 162, h - 50);
  m_sliderTime->setGeometry(195, h - 30, w - 295, 20);
  m_startStop->setGeometry(155, h - 35, 40, 30);
  m_timeLabel->setGeometry(w - 100, h - 30, 100, 30);
  // The status line stays on the page when the page is shorter than the
  // dialog's template (as in the main window): the download speaks there.
  LayoutStatus();
  LayoutProbe();
}

bool CVisiualize3DDlg::StartDownload(const DownloadSettings& settings) {
  if (m_downloadRunning) {
    return false;  // one at a time
  }
  WaitForDownload();
  m_downloadRunning = true;
  m_download = std::make_unique<CModelDownload>(settings);
  QPointer<CVisiualize3DDlg> self(this);
  auto onGui = [self](auto f) {
    QMetaObject::invokeMethod(
        self.data(),
        [self, f] {
          if (self) {
            f(*self);
          }
        },
        Qt::QueuedConnection);
  };
  m_download->onStatus = [onGui](const QString& s) { onGui([s](CVisiualize3DDlg& d) { d.SetStatus(s); }); };
  m_download->onProgress = [onGui](qint64 got, qint64 total) {
    onGui([got, total](CVisiualize3DDlg& d) {
      d.m_progress->setVisible(total > 0 && got < total);
      d.m_progress->setRange(0, 1000);
      d.m_progress->setValue(total > 0 ? static_cast<int>(got * 1000 / total) : 0);
    });
  };
  m_download->onMessage = [onGui](const QString& caption, const QString& text) {
    onGui([caption, text](CVisiualize3DDlg& d) {
      if (IMessageSink* sink = d.m_view->MessageSink()) {
        sink->Message(caption, text, MessageIcon::Error);
      }
    });
  };
  const QString modelId = m_pData->Run().m_strModelId;
  const QStringList garments = m_pData->Run().m_garmentIds;
  COpenGLView* view = m_view;
  m_worker = std::thread([this, modelId, garments, view, onGui] {
    NameThisThread("corvane-models");
    const DownloadResult r = m_download->Run(modelId, garments);
    onGui([r](CVisiualize3DDlg& d) {
      d.m_bDownloaded = r.downloaded;
      d.m_strModelPath = r.bodyPath;
      d.m_strGarmentPath = r.garmentPath;
      d.m_progress->hide();
    });
    // The parse runs here, off the GUI thread; the view gets each model whole.
    // A cancelled download stops the parse too, at its next stretch of lines.
    const CLoadCancelScope cancellable(m_download->CancelFlag());
    if (!view->BodyModel()) {
      LoadBodyModel(view, r.bodyPath);
      if (!view->GarmentModel()) {
        LoadGarmentModel(view, r.garmentPath);
      }
    }
    m_downloadRunning = false;
  });
  return true;
}
