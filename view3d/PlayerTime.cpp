#include "PlayerTime.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "SimulationData.h"

namespace {
int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
}  // namespace

int StepSeconds(float dt) { return SecondsPerSampleOf(dt); }

int TotalSeconds(int n, float dt) { return ClampToInt(static_cast<long long>(n) * StepSeconds(dt)); }

int SliderMaximum(int n, float dt) {
  // The run's end, n × P seconds; one second short of it where the run's
  // length in real seconds falls short of it (0.3333 min: 199 of 200), so
  // that the slider still reaches every step.
  const int total = std::max(0, TotalSeconds(n, dt));
  const double seconds = std::trunc(n * static_cast<double>(dt) * 60);
  return seconds >= total ? total : std::max(0, total - 1);
}

int PositionSeconds(int step, float dt, int seconds) {
  return ClampToInt(static_cast<long long>(step) * StepSeconds(dt) + seconds);
}

ClockPosition ClockAtPosition(int position, float dt) {
  const int p = StepSeconds(dt);
  const int at = std::max(0, position);
  return {at / p, at % p};
}

QString TimeLabel(int total, int position) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d / %02d:%02d", total / 60, total % 60, position / 60, position % 60);
  return QString::fromLatin1(buf);
}

int StepSpeed(int speed, int steps) {
  int at = 0;
  for (int i = 0; i < static_cast<int>(std::size(kPlayerSpeeds)); ++i) {
    if (kPlayerSpeeds[i] <= speed) {
      at = i;
    }
  }
  const int last = static_cast<int>(std::size(kPlayerSpeeds)) - 1;
  return kPlayerSpeeds[std::clamp(at + steps, 0, last)];
}

QString SpeedLabel(int speed) { return QStringLiteral("%1x").arg(speed); }
