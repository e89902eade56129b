#pragma once
// The player's time arithmetic: the slider counts seconds of simulated time;
// n steps of dt minutes each. Every expression is evaluated in double and
// truncated toward zero.

#include <QString>

int SliderMaximum(int n, float dt);                    // trunc(n dt 60)
int TotalSeconds(int n, float dt);                     // trunc(n dt 60 + 0.5)
int PositionSeconds(int step, float dt, int seconds);  // trunc(step dt 60 + 0.5 + seconds)
int StepAtPosition(int position, float dt);            // trunc(position / dt / 60)
// "MM:SS / MM:SS", the total first.
QString TimeLabel(int total, int position);
