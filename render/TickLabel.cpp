#include "TickLabel.h"

#include <cmath>
#include <cstdio>

namespace {
std::string Printf(const char* format, double v, int decimals = -1) {
  char buf[64];
  if (decimals >= 0) {
    std::snprintf(buf, sizeof buf, format, decimals, v);
  } else {
    std::snprintf(buf, sizeof buf, format, v);
  }
  // The point as C writes it, whatever the locale's decimal separator.
  for (char* c = buf; *c; ++c) {
    if (*c == ',') {
      *c = '.';
    }
  }
  return buf;
}
}  // namespace

namespace {
std::string PlainTickValue(double v) {
  const double a = std::fabs(v);
  if (a < 1e-8) {
    return "0";
  }
  if (a < 0.0001 || a > 10000) {
    return Printf("%.2e", v);
  }
  std::string text = Printf("%g", v);
  int count = 0;
  bool point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      point = true;
    } else if (c != '-' && (c != '0' || count > 0)) {
      ++count;
    }
    if (count > 2 && point) {
      // As many decimals as the cut keeps, rounded: a grid line at 37.56
      // reads 37.6, not 37.5. A cut at the point keeps the point (251.).
      const std::size_t dot = text.find('.');
      const int decimals = static_cast<int>(i - dot);
      return decimals == 0 ? Printf("%.0f", v) + "." : Printf("%.*f", v, decimals);
    }
  }
  return text;
}
}  // namespace

std::string FormatTickValue(double v, int extraDecimals) {
  std::string text = PlainTickValue(v);
  if (extraDecimals <= 0 || text == "0" || text.find('e') != std::string::npos) {
    return text;
  }
  const std::size_t dot = text.find('.');
  const int decimals = (dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1)) + extraDecimals;
  return Printf("%.*f", v, decimals);
}
