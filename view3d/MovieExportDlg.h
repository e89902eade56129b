#pragma once
// File > Export Movie...: what the movie shows (the view, its speed, frames a
// second, size, outlined labels) asked in a small form, the file asked next,
// then the movie recorded with a progress dialog that can cancel it. The
// quantity, layer and cross-section are the ones the views show now.

#include <QDialog>
#include <QSize>
#include <QString>

#include "MovieRecorder.h"
#include "SceneSetup.h"
#include "ViewMode.h"

class CSimulationData;
class QComboBox;
class QSpinBox;
class QCheckBox;
class QLabel;

struct MovieSettings {
  ViewMode mode = ViewMode::Static;
  int speed = 60;
  int fps = 30;
  QSize size{1000, 660};
  bool outlinedLabels = false;
};

class CMovieExportDlg : public QDialog {
  Q_OBJECT

 public:
  // Opens on `initial`; `data` gives the run's length for the length line.
  CMovieExportDlg(const CSimulationData& data, const MovieSettings& initial, QWidget* parent = nullptr);
  MovieSettings Settings() const;

 private:
  void ShowLength();

  const CSimulationData& m_data;
  QComboBox* m_view = nullptr;
  QSpinBox* m_speed = nullptr;
  QSpinBox* m_fps = nullptr;
  QSpinBox* m_width = nullptr;
  QSpinBox* m_height = nullptr;
  QCheckBox* m_outlined = nullptr;
  QLabel* m_length = nullptr;  // "2716 frames, 01:30 of movie"
};

// "N frames, MM:SS of movie" for a run of `totalSeconds` at the settings.
QString MovieLengthText(int totalSeconds, int secondsPerStep, int speed, int fps);

// Records the movie of `settings` into `file` from a view of its own (with
// the static view's `files`) and encoded by the program `encoderProgram`,
// showing progress in a dialog over `parent` whose Cancel stops it. The
// views' clock is where it was afterwards. On Failed, `error` says why.
// The window gets its events (Cancel among them) after the first frame, the
// last, and between them once `eventsEveryMs` have passed since it last did:
// often enough for Cancel, seldom enough that the page behind, which follows
// the clock, does not draw every frame again. 0: after every frame.
MovieResult ExportMovieWithProgress(QWidget* parent, CSimulationData& data, const QString& moduleDir,
                                    const StaticModelFiles& files, const MovieSettings& settings, const QString& file,
                                    const QString& encoderProgram, QString* error, int eventsEveryMs = 100);
