#pragma once
// Two runs compared as a difference, "A - B": at each time (or position)
// that both runs hold, the first run's value less the second's. Nothing is
// interpolated: a time only one run holds has no difference, and where
// either run holds no value there, neither does the difference.

#include <vector>

#include "ChartCurves.h"

// Times (or positions) that are the same decimal in both files: floats
// within a millionth of a minute (or centimetre).
inline constexpr double kSameX = 1e-6;

// "RUN-A - RUN-B": how a difference names the runs it subtracts.
QString DifferenceRuns(const QString& first, const QString& second);
// "NAME, RUN-A - RUN-B": a difference's curve, column or caption.
QString DifferenceName(const QString& name, const QString& first, const QString& second);

// a - b at every x both hold, in x order; NaN where either value is NaN.
// Both inputs in x order.
std::vector<CChartDataSet> DifferencePoints(const std::vector<CChartDataSet>& a, const std::vector<CChartDataSet>& b);

// The curves of two runs side by side (the first run's, then each one's
// counterpart of the second run, as BuildChartCurves gives them) as one
// difference curve each, named "NAME, A - B" with the runs' names, in the
// first run's colours, without a comfort scale.
ChartCurves DifferenceCurves(const ChartCurves& compared);
