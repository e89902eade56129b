#include "MoviePlan.h"

#include <algorithm>

MoviePlan::MoviePlan(int totalSeconds, int secondsPerStep, int speed, int fps)
    : m_total(std::max(0, totalSeconds)),
      m_perStep(std::max(1, secondsPerStep)),
      m_speed(std::max(1, speed)),
      m_fps(std::max(1, fps)) {}

std::int64_t MoviePlan::FrameCount() const {
  const std::int64_t frames = static_cast<std::int64_t>(m_total) * m_fps;
  return (frames + m_speed - 1) / m_speed + 1;
}

MovieFrame MoviePlan::Frame(std::int64_t index) const {
  MovieFrame f;
  const std::int64_t played = std::max<std::int64_t>(0, index) * m_speed / m_fps;
  f.position = static_cast<int>(std::min<std::int64_t>(played, m_total));
  f.step = f.position / m_perStep;
  f.seconds = f.position % m_perStep;
  f.ticks = static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(0, index) * 10 / m_fps, INT32_MAX));
  return f;
}

int WalkFrameAfter(int start, std::int64_t ticks, int count) {
  if (ticks <= 0 || count <= 1) {
    return start;
  }
  const int cycle = count - 1;
  if (start <= 0 || start >= count) {
    // The first tick leaves the standing frame (or one out of range) for 1.
    start = 1;
    --ticks;
  }
  return 1 + static_cast<int>((start - 1 + ticks % cycle) % cycle);
}

QSize EvenMovieSize(QSize size) { return {size.width() + (size.width() & 1), size.height() + (size.height() & 1)}; }
