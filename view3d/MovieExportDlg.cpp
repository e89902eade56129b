#include "MovieExportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>

#include "MovieEncoderProcess.h"
#include "MoviePlan.h"
#include "OpenGLView.h"
#include "PlayerTime.h"
#include "SimulationData.h"

namespace {
QSpinBox* SpinBox(int lo, int hi, int value, const QString& suffix) {
  auto* box = new QSpinBox;
  box->setRange(lo, hi);
  box->setValue(value);
  box->setSuffix(suffix);
  return box;
}

MoviePlan PlanFor(const CSimulationData& data, int speed, int fps) {
  const RunTables& run = data.Run();
  return {TotalSeconds(run.m_nSamples, run.m_fSampleInterval), run.SecondsPerSample(), speed, fps};
}
}  // namespace

QString MovieLengthText(int totalSeconds, int secondsPerStep, int speed, int fps) {
  const MoviePlan plan(totalSeconds, secondsPerStep, speed, fps);
  const std::int64_t frames = plan.FrameCount();
  const std::int64_t seconds = (frames - 1 + fps - 1) / fps;
  return QStringLiteral("%1 frames, %2:%3 of movie")
      .arg(frames)
      .arg(seconds / 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

CMovieExportDlg::CMovieExportDlg(const CSimulationData& data, const MovieSettings& initial, QWidget* parent)
    : QDialog(parent), m_data(data) {
  setWindowTitle(QStringLiteral("Export Movie"));
  auto* form = new QFormLayout;
  m_view = new QComboBox;
  m_view->addItem(QStringLiteral("Static 3D"), static_cast<int>(ViewMode::Static));
  m_view->addItem(QStringLiteral("Dynamic 3D"), static_cast<int>(ViewMode::Dynamic));
  m_view->addItem(QStringLiteral("Space Suit"), static_cast<int>(ViewMode::SpaceSuit));
  m_view->setCurrentIndex(std::max(0, m_view->findData(static_cast<int>(initial.mode))));
  form->addRow(QStringLiteral("View:"), m_view);
  m_speed = SpinBox(1, 1'000'000, initial.speed, QStringLiteral("x"));
  m_speed->setToolTip(QStringLiteral("Simulated seconds a second of movie"));
  form->addRow(QStringLiteral("Speed:"), m_speed);
  m_fps = SpinBox(1, 120, initial.fps, QStringLiteral(" frames/s"));
  form->addRow(QStringLiteral("Frame rate:"), m_fps);
  // Even sizes only: the encoder's colour layout halves both.
  m_width = SpinBox(16, 8192, EvenMovieSize(initial.size).width(), QStringLiteral(" px"));
  m_height = SpinBox(16, 8192, EvenMovieSize(initial.size).height(), QStringLiteral(" px"));
  m_width->setSingleStep(2);
  m_height->setSingleStep(2);
  auto* size = new QHBoxLayout;
  size->addWidget(m_width);
  size->addWidget(new QLabel(QStringLiteral("x")));
  size->addWidget(m_height);
  form->addRow(QStringLiteral("Size:"), size);
  m_outlined = new QCheckBox(QStringLiteral("Outlined labels"));
  m_outlined->setChecked(initial.outlinedLabels);
  form->addRow(QString(), m_outlined);
  m_length = new QLabel;
  form->addRow(QStringLiteral("Length:"), m_length);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export..."));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  setLayout(form);
  connect(m_speed, &QSpinBox::valueChanged, this, &CMovieExportDlg::ShowLength);
  connect(m_fps, &QSpinBox::valueChanged, this, &CMovieExportDlg::ShowLength);
  ShowLength();
}

void CMovieExportDlg::ShowLength() {
  const RunTables& run = m_data.Run();
  const MoviePlan plan = PlanFor(m_data, m_speed->value(), m_fps->value());
  m_length->setText(plan.FrameCount() > kMaxMovieFrames
                        ? QStringLiteral("too long: choose a higher speed")
                        : MovieLengthText(TotalSeconds(run.m_nSamples, run.m_fSampleInterval), run.SecondsPerSample(),
                                          m_speed->value(), m_fps->value()));
}

MovieSettings CMovieExportDlg::Settings() const {
  MovieSettings s;
  s.mode = static_cast<ViewMode>(m_view->currentData().toInt());
  s.speed = m_speed->value();
  s.fps = m_fps->value();
  s.size = EvenMovieSize(QSize(m_width->value(), m_height->value()));
  s.outlinedLabels = m_outlined->isChecked();
  return s;
}

MovieResult ExportMovieWithProgress(QWidget* parent, CSimulationData& data, const QString& moduleDir,
                                    const StaticModelFiles& files, const MovieSettings& settings, const QString& file,
                                    const QString& encoderProgram, QString* error, int eventsEveryMs) {
  const MoviePlan plan = PlanFor(data, settings.speed, settings.fps);
  if (plan.FrameCount() > kMaxMovieFrames) {
    *error = QStringLiteral("At %1x the movie would have %2 frames; choose a higher speed.")
                 .arg(settings.speed)
                 .arg(plan.FrameCount());
    return MovieResult::Failed;
  }
  CMovieEncoderProcess encoder(encoderProgram);
  if (encoder.Open(file, settings.size, settings.fps, error) != IMovieSink::OpenResult::Ok) {
    return MovieResult::Failed;
  }
  // The movie moves the views' clock; it goes back where the user left it.
  CViewState& state = data.State();
  const int step = state.Step(), seconds = state.StepSeconds();
  const bool outlined = state.OutlinedLabels();
  state.SetOutlinedLabels(settings.outlinedLabels);

  QProgressDialog progress(QStringLiteral("Exporting the movie..."), QStringLiteral("Cancel"), 0, 1000, parent);
  progress.setWindowTitle(QStringLiteral("Export Movie"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setValue(0);
  MovieResult result = MovieResult::Failed;
  {
    COpenGLView view;
    view.SetData(&data);
    view.SetModuleDir(moduleDir);
    view.SetMode(settings.mode);
    view.ResetCamera();
    view.resize(settings.size);
    if (!LoadSceneModelsNow(view, settings.mode, files)) {
      *error = QStringLiteral("The scene's models could not all be read from \"%1\".").arg(moduleDir);
    } else {
      QElapsedTimer sinceEvents;
      sinceEvents.start();
      result = RecordMovie(
          view, plan, encoder,
          [&progress, &sinceEvents, eventsEveryMs](std::int64_t done, std::int64_t total) {
            if (done == 1 || done == total || sinceEvents.elapsed() >= eventsEveryMs) {
              progress.setLabelText(QStringLiteral("Exporting the movie: frame %1 of %2").arg(done).arg(total));
              progress.setValue(static_cast<int>(done * 999 / total));
              QCoreApplication::processEvents();
              sinceEvents.restart();
            }
            return !progress.wasCanceled();
          },
          error);
    }
  }
  progress.reset();
  state.SetOutlinedLabels(outlined);
  state.SeekStep(step, seconds);
  return result;
}
