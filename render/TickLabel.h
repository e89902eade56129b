#pragma once
// The text of a tick value, shared by the chart's y axis and the 3D line
// plot: "0" near zero, "%.2e" for the very small and the very large, else
// "%g" kept to three significant characters once the point is reached and
// rounded to the digits kept (37.56 reads 37.6, 123.56 reads "124."),
// whatever the process locale.

#include <string>

// With `extraDecimals`, a value written with decimals gets that many more
// (rounded); "0" and the "%.2e" forms stay as they are.
std::string FormatTickValue(double v, int extraDecimals = 0);
