#pragma once
// The player's time arithmetic, in whole seconds of simulated time: a step of
// dt minutes lasts P = round(dt × 60) seconds (at least 1), the slider counts
// seconds, and a position p stands for step p div P and second p mod P within
// it. Working in integers keeps the slider, the label and the drawn step in
// agreement whatever dt a float holds (0.1 × 60 is a hair above 6).

#include <QString>

// Seconds per step: round(dt × 60), at least 1 (also for a dt that is not a
// number).
int StepSeconds(float dt);
// The slider's last position: the end n × P, or one second short of it where
// trunc(n dt 60) is (so that every step stays within reach).
int SliderMaximum(int n, float dt);
// The run's length in seconds: n × P.
int TotalSeconds(int n, float dt);
// The clock (step, seconds within it) as a slider position: step × P + seconds.
int PositionSeconds(int step, float dt, int seconds);

struct ClockPosition {
  int step = 0;
  int seconds = 0;
};
// The slider position as a clock: step = position div P, seconds = position mod P.
ClockPosition ClockAtPosition(int position, float dt);

// "MM:SS / MM:SS", the total first.
QString TimeLabel(int total, int position);

// The player's speeds, simulated seconds a tick of its one-second timer:
// 1x, 10x, 60x and 600x (a 480-minute run plays in 48 s at the last).
inline constexpr int kPlayerSpeeds[] = {1, 10, 60, 600};
// The speed `steps` places up (down when negative) from `speed` in that
// list, held at its ends; a speed between two counts from the slower.
int StepSpeed(int speed, int steps);
// "600x".
QString SpeedLabel(int speed);
