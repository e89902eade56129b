#include "NiceTicks.h"

#include <algorithm>
#include <cmath>

double NiceStep(double span, int maxTicks) {
  if (!(span > 0) || !std::isfinite(span) || maxTicks < 1) {
    return 1;
  }
  const double raw = span / maxTicks;
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (;;) {
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
      // A hair of slack, so that 0 ... 90 in 9 intervals takes 10, not 20.
      if (m * power >= raw * (1 - 1e-9)) {
        return m * power;
      }
    }
    power *= 10;
  }
}

std::vector<double> TicksOfStep(double lo, double hi, double step) {
  std::vector<double> ticks;
  if (!(hi >= lo) || !std::isfinite(lo) || !std::isfinite(hi) || !(step > 0)) {
    return ticks;
  }
  const double slack = std::max(hi - lo, step) * 1e-6;
  const double first = std::ceil((lo - slack) / step);
  // Whole multiples, so that 0.1 × 3 reads 0.3 and not 0.30000000000000004;
  // a bound on the count, whatever the arithmetic does at its edges.
  for (double k = first; k * step <= hi + slack && k - first <= 1000; k += 1) {
    const double v = k * step;
    ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
  }
  return ticks;
}

std::vector<QString> NiceTickLabels(const std::vector<double>& ticks, double step) {
  // The decimals of the step's last significant digit: 2.5 needs one, 0.25 two.
  int decimals = 0;
  if (step > 0 && std::isfinite(step)) {
    while (decimals < 12 && std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) >
                                1e-6 * step * std::pow(10.0, decimals)) {
      ++decimals;
    }
  }
  std::vector<QString> labels;
  labels.reserve(ticks.size());
  for (const double v : ticks) {
    QString text = QString::number(v, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) &&
        text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) + 1 == text.size()) {
      text.remove(0, 1);  // "-0.0" reads "0.0"
    }
    labels.push_back(text);
  }
  return labels;
}
