#include "PlayerTime.h"

#include <cmath>
#include <cstdio>

namespace {
int Trunc(double v) { return static_cast<int>(std::trunc(v)); }
}  // namespace

int SliderMaximum(int n, float dt) { return Trunc(n * static_cast<double>(dt) * 60); }
int TotalSeconds(int n, float dt) { return Trunc(n * static_cast<double>(dt) * 60 + 0.5); }
int PositionSeconds(int step, float dt, int seconds) {
  return Trunc(step * static_cast<double>(dt) * 60 + 0.5 + seconds);
}
int StepAtPosition(int position, float dt) { return dt > 0 ? Trunc(position / static_cast<double>(dt) / 60) : 0; }

QString TimeLabel(int total, int position) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d / %02d:%02d", total / 60, total % 60, position / 60, position % 60);
  return QString::fromLatin1(buf);
}
