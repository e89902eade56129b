#pragma once
// The text of a tick value, shared by the chart's y axis and the 3D line
// plot: "0" near zero, "%.2e" for the very small and the very large, else
// "%g" cut after three significant characters once the point is reached
// (37.25 reads 37.2, 123.456 reads "123."); never rounded, whatever the
// process locale.

#include <string>

std::string FormatTickValue(double v);
