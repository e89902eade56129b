#include "PlayerTime.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {
int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
}  // namespace

int StepSeconds(float dt) {
  const double p = std::round(static_cast<double>(dt) * 60.0);
  if (!(p >= 1.0)) return 1;
  return p >= INT_MAX ? INT_MAX : static_cast<int>(p);
}

int TotalSeconds(int n, float dt) { return ClampToInt(static_cast<long long>(n) * StepSeconds(dt)); }

int SliderMaximum(int n, float dt) {
  const double seconds = std::trunc(n * static_cast<double>(dt) * 60);
  const double bounded = std::isfinite(seconds) ? std::clamp(seconds, 0.0, static_cast<double>(INT_MAX)) : 0.0;
  return std::min(static_cast<int>(bounded), std::max(0, TotalSeconds(n, dt)));
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
