#pragma once
// A movie of a run, frame by frame: the run played from its start to its end
// at `speed` simulated seconds to a second of movie, `fps` frames a second.
// Each frame stands at a clock position of the run, and at the number of
// ticks the player's 100 ms turning (or walking) timer has made by then.

#include <QSize>
#include <cstdint>

struct MovieFrame {
  int position = 0;  // simulated seconds from the run's start
  int step = 0;      // the clock: step position div P (N at the end) ...
  int seconds = 0;   // ... and the seconds within it
  int ticks = 0;     // 100 ms ticks of the turning or walking timer
};

class MoviePlan {
 public:
  // `totalSeconds`: the run's length (n × P); `secondsPerStep`: P.
  MoviePlan(int totalSeconds, int secondsPerStep, int speed, int fps);
  // Every frame from the start through the one that shows the end:
  // ceil(total × fps / speed) + 1.
  std::int64_t FrameCount() const;
  MovieFrame Frame(std::int64_t index) const;
  int Fps() const { return m_fps; }

 private:
  int m_total, m_perStep, m_speed, m_fps;
};

// The most frames a movie may have: nine hours at 30 frames a second. More
// would take a day to render; a higher speed says the same in less.
inline constexpr std::int64_t kMaxMovieFrames = 1'000'000;

// The walking body's frame after `ticks` ticks from `start`: the timer
// steps 1 ... count-1 round and round; frame 0 (standing) is left at the
// first tick and never shown again.
int WalkFrameAfter(int start, std::int64_t ticks, int count);

// The size rounded up to even numbers, which the encoder's colour layout
// needs (1001 x 661 becomes 1002 x 662).
QSize EvenMovieSize(QSize size);
