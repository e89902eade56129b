#include "ViewState.h"

#include <algorithm>
#include <climits>

#include "RunTables.h"

int CViewState::DrawnStep() const { return std::min(m_nStep, m_run.m_nSamples - 1); }

void CViewState::SetContent(ContentKind kind) { Change(m_nContentKind, kind, &CViewState::contentChanged); }

bool CViewState::SelectLayer(int layer) {
  if (layer < 0) {
    return false;
  }
  Change(m_nSelectedLayer, layer, &CViewState::layerChanged);
  return true;
}

bool CViewState::SetSectionPart(int part) {
  if (part < 0 || part > kBodyPartCount) {
    return false;
  }
  Change(m_nSectionPart, part, &CViewState::sectionPartChanged);
  return true;
}

void CViewState::SetWireMode(bool wire) { Change(m_bWireMode, wire, &CViewState::wireModeChanged); }

void CViewState::SetOutlinedLabels(bool outlined) {
  Change(m_bOutlinedLabels, outlined, &CViewState::outlinedLabelsChanged);
}

void CViewState::SeekStep(int step, int seconds) {
  const int samples = std::max(0, m_run.m_nSamples);
  m_nStep = std::clamp(step, 0, samples);
  m_nStepAccum = m_nStep >= samples ? 0 : std::clamp(seconds, 0, m_run.SecondsPerSample() - 1);
  // Always told, also when nothing moved: a seek is an answer the views show.
  emit clockChanged(m_nStep, m_nStepAccum);
  emit changed();
}

void CViewState::Advance() {
  const int samples = std::max(0, m_run.m_nSamples);
  if (m_nStep < samples) {
    const int perStep = m_run.SecondsPerSample();
    // In 64 bits: a speed near INT_MAX must not wrap the clock.
    const long long seconds = static_cast<long long>(m_nStepAccum) + m_nSpeed;
    const long long step = m_nStep + seconds / perStep;
    m_nStep = static_cast<int>(std::min<long long>(step, samples));
    m_nStepAccum = m_nStep >= samples ? 0 : static_cast<int>(seconds % perStep);
  }
  if (m_nStep >= samples && m_bPlaying) {
    m_bPlaying = false;
    emit playingChanged(false);
  }
  emit clockChanged(m_nStep, m_nStepAccum);
  emit changed();
}

void CViewState::SetSpeed(int secondsPerTick) {
  Change(m_nSpeed, std::max(1, secondsPerTick), &CViewState::speedChanged);
}

void CViewState::SetPlaying(bool playing) { Change(m_bPlaying, playing, &CViewState::playingChanged); }

void CViewState::Restart() {
  SetPlaying(false);
  SetContent(ContentTemperature);
  SelectLayer(0);
  SetSectionPart(0);
  SetWireMode(false);
  SetSpeed(1);
  m_nStep = 0;
  m_nStepAccum = 0;
  emit clockChanged(0, 0);
  emit changed();
}
