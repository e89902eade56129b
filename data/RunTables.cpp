#include "RunTables.h"

#include <algorithm>
#include <climits>
#include <cmath>

int SecondsPerSampleOf(float interval) {
  const double p = static_cast<double>(interval) * 60.0 + 0.5;
  // An interval below 1/120 minute (or not a number) would give zero seconds
  // per sample: the clock then moves one sample per second.
  if (!(p >= 1.0)) {
    return 1;
  }
  if (p >= static_cast<double>(INT_MAX)) {
    return INT_MAX;
  }
  return static_cast<int>(p);
}

int RunTables::SecondsPerSample() const { return SecondsPerSampleOf(m_fSampleInterval); }

int RunTables::MostLayers() const { return *std::max_element(std::begin(m_nLayers), std::end(m_nLayers)); }

int RunTables::PhaseAt(float time) const {
  int phase = 0;
  for (int i = 1; i < m_nEnvPhases && i < kMaxEnvPhases; ++i) {
    if (m_env[static_cast<std::size_t>(i)].m_fStart <= time) {
      phase = i;
    }
  }
  return phase;
}

const BodyPropertyRow* RunTables::BodyRowAt(int step, int part) const {
  if (step < 0 || step >= m_nSamples || part < 0 || part >= kBodyPartCount) {
    return nullptr;
  }
  const std::size_t index = static_cast<std::size_t>(step) * kBodyPartCount + static_cast<std::size_t>(part);
  return index < m_body.size() ? &m_body[index] : nullptr;
}

long long RunTables::FabricStepOf(int step) const {
  if (step < 0 || step >= m_nSamples || m_fFabricInterval == 0.0f) {
    return -1;
  }
  const float ratio = m_fFabricInterval / m_fSampleInterval;
  const double t = std::trunc(static_cast<double>(static_cast<float>(step) / ratio));
  return t >= 0 && t < 1e15 ? static_cast<long long>(t) : -1;
}

const FabricRow* RunTables::LayerRowAt(int step, int p, int layer) const {
  if (step < 0 || step >= m_nSamples || p < 0 || p >= kBodyPartCount) {
    return nullptr;
  }
  const long long fabricStep = FabricStepOf(step);
  const int layers = m_nLayers[p];
  if (fabricStep < 0 || layer < 1 || layer > layers) {
    return nullptr;
  }
  // The factors come from the files: a product that overflows is no row.
  long long index = 0;
  if (__builtin_mul_overflow(fabricStep, static_cast<long long>(layers), &index) ||
      __builtin_add_overflow(index, static_cast<long long>(layer), &index) ||
      __builtin_mul_overflow(index, static_cast<long long>(m_nNodesPerLayer[p]), &index)) {
    return nullptr;
  }
  --index;
  if (index < 0 || index >= static_cast<long long>(m_fabric[p].size())) {
    return nullptr;
  }
  return &m_fabric[p][static_cast<std::size_t>(index)];
}
