#include "ScientificDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QTimerEvent>
#include <cstdio>
#include <limits>
#include <map>

#include "CaptionTables.h"
#include "ChartCurves.h"
#include "ChartLegend.h"
#include "ChartUnits.h"
#include "DataCsv.h"
#include "ImageFile.h"
#include "Profile.h"
#include "RunComparison.h"
#include "RunDifference.h"
#include "SaveImageDialog.h"
#include "ScienceLogic.h"
#include "SimulationData.h"
#include "WholeFile.h"

namespace {
const char* const kPictures[kBodyPartCount] = {"part_head.png", "part_trunk.png", "part_arm.png",
                                               "part_hand.png", "part_leg.png",   "part_foot.png"};
}  // namespace

namespace {
// A body part's picture, read once for the program: a batch builds a view
// for every figure, and decoding six PNGs each time was a sixth of its work.
const QImage& PanelPicture(const QString& path) {
  static std::map<QString, QImage> pictures;
  auto it = pictures.find(path);
  if (it == pictures.end()) {
    it = pictures.emplace(path, QImage(path)).first;
  }
  return it->second;
}
}  // namespace

CScientificDlg::CScientificDlg(CSimulationData* data, const QString& moduleDir, QWidget* parent)
    : CMyDialog(parent), m_pData(data) {
  setMouseTracking(true);
  resize(DialogUnitsToPixels(0, 0, 664, 432).size());
  const QRect plotArea = DialogUnitsToPixels(136, 6, 524, 328);
  m_chart = new CMyChart(this);
  m_chart->setGeometry(plotArea);
  m_profileChart = new CProfileChart(this);
  m_profileChart->setGeometry(plotArea);
  m_profileChart->hide();
  m_chart->SetDataSource([this](QChar separator) { return ChartText(separator); });
  m_profileChart->SetDataSource([this](QChar separator) { return ProfileText(separator); });
  connect(&m_pData->State(), &CViewState::clockChanged, this, &CScientificDlg::OnClockMoved);

  // The option column: each part's body properties, comfort, layers and
  // fibres, the panels one under the other.
  for (int i = 0; i < kBodyPartCount; ++i) {
    auto* panel = new CMyPanel(this);
    for (const PanelOption& option : PanelOptions(*m_pData, i)) {
      panel->AddOption(option.text, option.id);
    }
    panel->CreatePanel(QString::fromLatin1(kBodyPartNames[i]), PanelPicture(moduleDir + QLatin1String(kPictures[i])),
                       this, 10, m_nColumnHeight);
    m_nColumnHeight += panel->Height();
    connect(panel, &CMyPanel::optionSelect, this, &CScientificDlg::OnOptionSelect, Qt::DirectConnection);
    connect(panel, &CMyPanel::mouseMovedOver, this, [this](QPoint p) { OnMouseMove(p.x(), p.y()); });
    m_panels[static_cast<std::size_t>(i)] = panel;
  }
  m_nColumnHeight += 10;

  m_pPropertyPanel = new CPropertyPanel(this);
  // As wide as the page leaves it right of its place, so that the third
  // column's captions have their room.
  m_pPropertyPanel->setGeometry(240, 540, std::max(700, width() - 240 - 2), 150);
  m_pPropertyPanel->show();
  connect(m_pPropertyPanel, &CPropertyPanel::propertySelect, this, &CScientificDlg::OnPropertySelect,
          Qt::DirectConnection);
  connect(m_pPropertyPanel, &CPropertyPanel::propertyAdd, this, &CScientificDlg::OnPropertyAdd, Qt::DirectConnection);
  connect(m_pPropertyPanel, &CPropertyPanel::allPartsToggled, this, &CScientificDlg::OnAllParts, Qt::DirectConnection);
  connect(m_pPropertyPanel, &CPropertyPanel::profileToggled, this, &CScientificDlg::OnProfile, Qt::DirectConnection);
  connect(m_pPropertyPanel, &CPropertyPanel::differenceToggled, this, &CScientificDlg::OnDifference,
          Qt::DirectConnection);

  m_plotArea = plotArea;
  // Over the plot's top left while two runs are compared: the plot draws
  // the first alone, and says so.
  m_pPlotRun = new QLabel(this);
  m_pPlotRun->setObjectName(QStringLiteral("plotRun"));
  m_pPlotRun->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; padding: 2px; }"));
  m_pPlotRun->hide();

  m_panels[0]->Select(0);
  OnOptionSelect(EncodeOption(Head, OptionKind::Body, 0));
}

void CScientificDlg::OnOptionSelect(int id) {
  if (id == m_nOption) {
    return;
  }
  const OptionId chosen = DecodeOption(id);
  if (m_nOption > 1000) {
    const int previous = DecodeOption(m_nOption).part;
    if (previous != chosen.part && previous >= 0 && previous < kBodyPartCount) {
      m_panels[static_cast<std::size_t>(previous)]->ClearSelection();
    }
  }
  m_pPropertyPanel->hide();
  if (IsOptionKind(chosen.kind)) {
    m_pPropertyPanel->SetProperty(0);
    m_pPropertyPanel->ShowPropertyNames(chosen.kind);
    SlideInPropertyPanel();
  }
  m_nOption = id;
  OnPropertySelect(0);
}

void CScientificDlg::SlideInPropertyPanel() {
  const QPoint home(240, 540);
  m_pPropertyPanel->move(home.x() - m_pPropertyPanel->width(), home.y());
  m_pPropertyPanel->show();
  auto* slide = new QPropertyAnimation(m_pPropertyPanel, "pos", m_pPropertyPanel);
  slide->setDuration(100);
  slide->setStartValue(m_pPropertyPanel->pos());
  slide->setEndValue(home);
  slide->start(QAbstractAnimation::DeleteWhenStopped);
  m_slide = slide;
}

void CScientificDlg::OnClockMoved() {
  // The time of the step the 3D views draw, in minutes as the axis reads;
  // no cursor stands on the chart until the player has moved.
  const RunTables& run = m_pData->Run();
  const int step = std::max(0, m_pData->State().DrawnStep());
  const BodyPropertyRow* row = run.BodyRowAt(step, 0);
  m_chart->SetCursorTime(row ? row->m_fTime : static_cast<float>(step) * run.m_fSampleInterval);
  m_chart->update();
  m_nProfileStep = -1;
  if (m_profileChart->isVisibleTo(this)) {
    FillProfile();
  }
}

COpenGLView* CScientificDlg::PlotView() {
  if (m_plotView) {
    return m_plotView;
  }
  m_plotView = new COpenGLView(this);
  m_plotView->setGeometry(m_plotArea);
  m_plotView->SetMode(ViewMode::Plot);
  m_plotView->ResetCamera();
  m_plotView->hide();
  m_plotView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_plotView, &QWidget::customContextMenuRequested, this, &CScientificDlg::ShowPlotMenu);
  return m_plotView;
}

void CScientificDlg::ShowPlotMenu(QPoint at) {
  // The chart's data commands, word for word, then the plot's picture.
  QMenu menu(m_plotView);
  menu.addAction(QStringLiteral("Copy Data"), this, &CScientificDlg::CopyPlotData);
  menu.addAction(QStringLiteral("Save Data as CSV..."), this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Data"), QStringLiteral("plot.csv"),
                                                      QStringLiteral("CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !SavePlotData(path, &error)) {
      QMessageBox::warning(this, QStringLiteral("Save Data"), QStringLiteral("Cannot write %1.\n%2").arg(path, error));
    }
  });
  menu.addAction(QStringLiteral("Save Image as PNG..."), this, [this] {
    AskAndSaveImage(this, QStringLiteral("plot.png"), [this](const QString& path) { return SavePlotImage(path); });
  });
  menu.exec(m_plotView->mapToGlobal(at));
}

QString CScientificDlg::PlotDataText() const {
  // Every run's rows while runs are compared, as the command line writes them.
  const int q = m_selection.Quantities().front();
  return m_compared.empty() ? ExportCsv(*m_pData, m_nOption, q) : ComparedCsv(*m_pData, m_compared, m_nOption, q);
}

QString CScientificDlg::PlotRunText() const { return m_pPlotRun->isHidden() ? QString() : m_pPlotRun->text(); }

void CScientificDlg::UpdatePlotRun(bool plotShown) {
  if (!plotShown || m_compared.empty()) {
    m_pPlotRun->hide();
    return;
  }
  const std::vector<QString> names = RunNames();
  m_pPlotRun->setText(QStringLiteral("The plot draws %1 alone; its data holds %2.").arg(names.front(), RunList(names)));
  m_pPlotRun->adjustSize();
  m_pPlotRun->move(m_plotArea.topLeft() + QPoint(6, 4));
  m_pPlotRun->show();
  m_pPlotRun->raise();
}

void CScientificDlg::CopyPlotData() const { QApplication::clipboard()->setText(PlotDataText()); }

bool CScientificDlg::SavePlotData(const QString& path, QString* error) const {
  QString reason;
  return WriteWholeFile(path, PlotDataText().toUtf8(), error ? error : &reason);
}

QImage CScientificDlg::Picture() {
  m_chart->SetOverlays(false);
  m_profileChart->SetOverlays(false);
  QImage image = grab().toImage().convertToFormat(QImage::Format_RGB32);
  m_chart->SetOverlays(true);
  m_profileChart->SetOverlays(true);
  return image;
}

bool CScientificDlg::SavePlotImage(const QString& path) {
  if (!m_plotView) {
    return false;
  }
  return WritePng(m_plotView->grabFramebuffer(), path);
}

void CScientificDlg::Settle() {
  if (m_slide) {
    m_slide->stop();
  }
  m_pPropertyPanel->move(240, 540);
}

void CScientificDlg::OnPropertySelect(int q) {
  const OptionId o = DecodeOption(m_nOption);
  m_selection.Choose(o.part, o.kind, q);
  m_pPropertyPanel->SetStatus(QString());
  ShowSelection();
}

void CScientificDlg::OnPropertyAdd(int q) {
  m_pPropertyPanel->SetStatus(m_selection.Toggle(q));
  ShowSelection();
}

void CScientificDlg::OnAllParts(bool on) {
  const QString refusal = m_selection.SetAllParts(on);
  m_pPropertyPanel->SetStatus(refusal);
  m_pPropertyPanel->AllParts()->setChecked(m_selection.AllParts());
  ShowSelection();
}

void CScientificDlg::OnProfile(bool on) {
  if (on != m_bProfile) {
    m_bProfile = on;
    m_profileChart->ResetView();  // a new profile shows all the layers
  }
  m_pPropertyPanel->Profile()->setChecked(on);
  ShowSelection();
}

CMyChart* CScientificDlg::ShownChart() const {
  if (!m_chart->isHidden()) {
    return m_chart;
  }
  return m_profileChart->isHidden() ? nullptr : m_profileChart;
}

void CScientificDlg::ShowProfileAt(int step) {
  m_nProfileStep = step;
  OnProfile(true);
}

void CScientificDlg::ShowSelection() {
  const OptionId o = DecodeOption(m_nOption);
  m_pPropertyPanel->MarkShown(m_selection.Quantities());
  m_chart->ClearAll();
  const bool chart = IsChartKind(o.kind);
  const bool profile = o.kind == OptionKind::Fabric && m_bProfile;
  m_chart->setVisible(chart);
  m_profileChart->setVisible(profile);
  if (!chart && !profile) {
    PlotView()->show();
  }
  if ((chart || profile) && m_plotView) {
    m_plotView->hide();
  }
  if (chart) {
    FillChart();
  } else if (profile) {
    m_profileRange = ProfileValueRange(m_pData->Run(), o.part, m_selection.Quantities().front());
    FillProfile();
  } else {
    const int q = m_selection.Quantities().front();
    const QByteArray title = PropertyName(o.kind, q).toUtf8();
    m_plotView->SetAxisTitles(QStringLiteral("Thickness(cm)"), QStringLiteral("Time(min)"), QString::fromUtf8(title));
    std::vector<PlotCurve> curves;
    if (o.kind == OptionKind::Fabric) {
      curves = FabricCurves(*m_pData, o.part, o.index, q);
    } else if (o.index >= 0 && static_cast<std::size_t>(o.index) < m_pData->Run().m_fibers.size()) {
      curves = FiberCurves(m_pData->Run().m_fibers[static_cast<std::size_t>(o.index)], q);
    }
    m_plotView->SetCurves(std::move(curves), "no data");
  }
  UpdatePlotRun(!chart && !profile);
  // The difference has a meaning for a chart and a profile, not the 3D plot.
  m_pPropertyPanel->ShowDifference(m_compared.size() == 1 && (chart || profile));
  m_chart->update();
  if (m_plotView) {
    m_plotView->RenderScene();
  }
}

QString CScientificDlg::ChartText(QChar separator) const {
  ChartCurves chart = BuildChartCurves(*m_pData, m_compared, m_selection, true);
  if (m_bDifference && m_compared.size() == 1) {
    chart = DifferenceCurves(chart);
  }
  return ChartCurvesText(chart, separator);
}

void CScientificDlg::FillChart() {
  ChartCurves chart = BuildChartCurves(*m_pData, m_compared, m_selection);
  if (m_bDifference && m_compared.size() == 1) {
    chart = DifferenceCurves(chart);
  }
  m_chart->SetXLabel(chart.xLabel);
  m_chart->SetYLabel(chart.yLabel);
  m_chart->SetY2Label(chart.y2Label);
  m_chart->SetYColumn(chart.yColumn);
  m_chart->SetTitle(chart.title);
  m_chart->SetBandMode(chart.bands);
  for (std::size_t i = 0; i < chart.curves.size(); ++i) {
    const ChartCurve& c = chart.curves[i];
    SeriesLook look;
    look.m_strName = c.name;
    look.m_strUnit = c.unit;
    look.m_strColumn = c.column;
    look.m_nAxis = c.axis;
    look.m_nColour = c.colour;
    look.m_nStyle = c.style;
    look.m_nRun = c.runIndex;
    look.m_strRun = c.run;
    if (i == 0) {
      m_chart->SetFirstLook(look);
    } else {
      m_chart->AddSeries(look);
    }
    for (const CChartDataSet& p : c.points) {
      m_chart->AddPoint(static_cast<float>(p.m_fX), static_cast<float>(p.m_fY));  // the store's floats, drawn
    }
  }
}

void CScientificDlg::OnDifference(bool on) {
  m_bDifference = on && m_compared.size() == 1;
  m_pPropertyPanel->Difference()->setChecked(m_bDifference);
  if (m_bDifference) {
    m_chart->ResetView();
  }
  ShowSelection();
}

QString CScientificDlg::ComparisonRefusal(int runs, const QString& what) const {
  if (runs > kMaxRuns) {
    return QStringLiteral("%1 not compared: a chart compares at most %2 runs.").arg(what).arg(kMaxRuns);
  }
  CCurveSelection trial = m_selection;
  return trial.SetRunCount(runs, what);
}

QString CScientificDlg::SetComparison(const std::vector<const CSimulationData*>& others) {
  const QString what = others.empty() ? QString() : QDir(others.back()->Run().m_strDataDir).dirName();
  const int runs = 1 + static_cast<int>(others.size());
  if (QString refusal = ComparisonRefusal(runs, what); !refusal.isEmpty()) {
    m_pPropertyPanel->SetStatus(refusal);
    return refusal;
  }
  m_selection.SetRunCount(runs, what);
  m_pPropertyPanel->AllParts()->setChecked(m_selection.AllParts());
  m_pPropertyPanel->SetStatus(QString());  // an earlier refusal no longer holds
  m_compared = others;
  m_bDifference = m_bDifference && others.size() == 1;
  m_pPropertyPanel->Difference()->setChecked(m_bDifference);
  m_pPropertyPanel->ShowDifference(others.size() == 1 && m_nOption &&
                                   (IsChartKind(DecodeOption(m_nOption).kind) || m_bProfile));
  if (m_nOption) {
    ShowSelection();
  }
  return {};
}

std::vector<QString> CScientificDlg::RunNames() const { return RunLabels(*m_pData, m_compared); }

QString CScientificDlg::ProfileText(QChar separator) const {
  const ProfileInput in = BuildProfiles(true);
  return ProfilesText(in.profile, in.compared, m_profileChart->YColumn(), separator);
}

void CScientificDlg::FillProfile() {
  const ProfileInput in = BuildProfiles(false);
  const OptionId o = DecodeOption(m_nOption);
  const int q = m_selection.Quantities().front();
  m_profileChart->SetProfile(in.profile, QString::fromLatin1(kBodyPartNames[o.part]),
                             PropertyName(OptionKind::Fabric, q), in.range, in.compared);
}

CScientificDlg::ProfileInput CScientificDlg::BuildProfiles(bool exact) const {
  const OptionId o = DecodeOption(m_nOption);
  const int q = m_selection.Quantities().front();
  const RunTables& run = m_pData->Run();
  const int step = m_nProfileStep >= 0 ? m_nProfileStep : ProfileStepAt(run, m_pData->State().DrawnStep());
  auto exactOf = [&](const CSimulationData& d) { return exact ? ExactFabricOf(d.Exact(), d.Run(), o.part) : nullptr; };
  const FabricProfile profile = FabricProfileAt(run, o.part, step, q, exactOf(*m_pData));
  // Each other run's profile at its own step nearest the first's time (none
  // where it has no step there, keeping its place, colour and style).
  std::optional<ComparedProfile> compared;
  std::optional<ValueRange> range = m_profileRange;
  if (!m_compared.empty() && !std::isnan(profile.time)) {
    const std::vector<QString> names = RunNames();
    compared = ComparedProfile{names.front(), {}, m_bDifference};
    for (std::size_t i = 0; i < m_compared.size(); ++i) {
      const RunTables& other = m_compared[i]->Run();
      const std::optional<int> near = NearestFabricStep(other, o.part, profile.time);
      FabricProfile p = near ? FabricProfileAt(other, o.part, *near, q, exactOf(*m_compared[i])) : FabricProfile{};
      if (!near) {
        p.time = std::numeric_limits<float>::quiet_NaN();
      }
      compared->others.push_back({std::move(p), names[i + 1]});
      // One scale for every run through the whole of each.
      if (const std::optional<ValueRange> r = ProfileValueRange(other, o.part, q); r && range) {
        range = ValueRange{std::min(range->lo, r->lo), std::max(range->hi, r->hi)};
      }
    }
  }
  return {profile, compared, range};
}

void CScientificDlg::OnMouseMove(int x, int y) {
  const int h = height();
  if (x < 200 && h < m_nColumnHeight && 0 < y && y < h) {
    m_nScrollTarget = ::ScrollTarget(m_nColumnHeight, h, y);
    if (m_nScrollTarget != m_nPanelScroll && !m_glide.isActive()) {
      m_glide.start(10, this);
    }
  }
}

void CScientificDlg::OnTimer() {
  if (m_nPanelScroll == m_nScrollTarget) {
    m_glide.stop();  // nothing left to glide: an idle page costs nothing
    return;
  }
  m_nPanelScroll = GlideStep(m_nPanelScroll, m_nScrollTarget);
  const bool up = m_nPanelScroll > m_nScrollTarget;
  for (int k = 0; k < kBodyPartCount; ++k) {
    m_panels[static_cast<std::size_t>(up ? kBodyPartCount - 1 - k : k)]->OffsetPanel(0, -m_nPanelScroll);
  }
  if (m_nPanelScroll == m_nScrollTarget) {
    m_glide.stop();
  }
}

void CScientificDlg::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  OnMouseMove(p.x(), p.y());
  CMyDialog::mouseMoveEvent(event);
}

void CScientificDlg::keyPressEvent(QKeyEvent* event) {
  // Home shows the whole of what is shown: the chart's run, the plot's view.
  if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier && isVisible()) {
    if (!m_chart->isHidden()) {
      m_chart->ResetView();
    } else if (!m_profileChart->isHidden()) {
      m_profileChart->ResetView();
    } else if (m_plotView) {
      m_plotView->ResetCamera();
    }
    return;
  }
  CMyDialog::keyPressEvent(event);
}

void CScientificDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_glide.timerId()) {
    OnTimer();
  } else {
    CMyDialog::timerEvent(event);
  }
}
