#pragma once
// Ticks as researchers' plotting tools set them: at 1, 2, 2.5 or 5 times a
// power of ten, labelled with the decimals their step needs, so that a
// figure's axis reads 0, 20, 40 ... or 36.9, 37.0, 37.1 rather than the
// tenths of an arbitrary range.

#include <QString>
#include <vector>

// The step of at most `maxTicks` intervals over `span`: the least of 1, 2,
// 2.5 and 5 times a power of ten that needs no more intervals.
double NiceStep(double span, int maxTicks);

// The multiples of `step` that lie in [lo, hi] (ends included to a
// millionth of the span).
std::vector<double> TicksOfStep(double lo, double hi, double step);

// The labels of `ticks`, `step` apart: each with the decimals the step
// needs (2.5 one, 0.25 two), "0" for zero, "-" before the negative.
std::vector<QString> NiceTickLabels(const std::vector<double>& ticks, double step);
