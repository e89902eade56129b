#pragma once
// What the views of a run show and where its player stands: the quantity,
// the fabric layer, the cross-section, solid or wire drawing, the clock (a
// step and the seconds played within it), the speed and whether it plays.
// This object is the one place that holds them: views change them through
// its methods, which keep them within the run, and redraw on its signals.

#include <QObject>

#include "Rows.h"

struct RunTables;

class CViewState : public QObject {
  Q_OBJECT

 public:
  explicit CViewState(const RunTables& run) : m_run(run) {}

  ContentKind Content() const { return m_nContentKind; }
  int SelectedLayer() const { return m_nSelectedLayer; }
  // 0 none, 1 head ... 6 foot.
  int SectionPart() const { return m_nSectionPart; }
  bool WireMode() const { return m_bWireMode; }
  // Whether the legends' text is ringed in black, to read on any room colour.
  bool OutlinedLabels() const { return m_bOutlinedLabels; }
  int Step() const { return m_nStep; }
  int StepSeconds() const { return m_nStepAccum; }
  int Speed() const { return m_nSpeed; }
  bool Playing() const { return m_bPlaying; }
  // The step the views draw: the clock's, except at the end of the run
  // (step N, past the last sample), where the last stays drawn; -1 in a run
  // without samples.
  int DrawnStep() const;

  void SetContent(ContentKind kind);
  // 0 the body, k the fabric layer k; a negative layer is refused.
  bool SelectLayer(int layer);
  // 0 none, 1 ... 6 the part; anything else is refused.
  bool SetSectionPart(int part);
  void SetWireMode(bool wire);
  void SetOutlinedLabels(bool outlined);
  // The clock at `step` (clamped to 0 ... N) and `seconds` into it (clamped
  // to the step's length; none at N).
  void SeekStep(int step, int seconds = 0);
  // One tick of the player: the speed's seconds on. At the end of the run
  // the clock stays at N and the player stops.
  void Advance();
  // Simulated seconds per tick, at least 1.
  void SetSpeed(int secondsPerTick);
  void SetPlaying(bool playing);
  // Everything as a run's views open: temperature, the body, no section,
  // solid, the start, speed 1, stopped. The outlined labels are the user's
  // taste, not the run's, and stay.
  void Restart();

 signals:
  void contentChanged(ContentKind kind);
  void layerChanged(int layer);
  void sectionPartChanged(int part);
  void wireModeChanged(bool wire);
  void outlinedLabelsChanged(bool outlined);
  void clockChanged(int step, int seconds);
  void speedChanged(int secondsPerTick);
  void playingChanged(bool playing);
  // After any of the above: for views that only redraw.
  void changed();

 private:
  // Sets `member` to `value` and, when that is a change, tells it by
  // `signal` and by changed().
  template <class T>
  void Change(T& member, T value, void (CViewState::*signal)(T)) {
    if (member != value) {
      member = value;
      emit(this->*signal)(value);
      emit changed();
    }
  }

  const RunTables& m_run;
  ContentKind m_nContentKind = ContentTemperature;
  int m_nSelectedLayer = 0;
  int m_nSectionPart = 0;
  bool m_bWireMode = false;
  bool m_bOutlinedLabels = false;
  int m_nStep = 0;
  int m_nStepAccum = 0;
  int m_nSpeed = 1;
  bool m_bPlaying = false;
};
