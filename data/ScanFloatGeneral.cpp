#include "internal/ScanFloatGeneral.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace scanfields {

bool DecimalToFloat(const char* from, const char* to, float* out) {
  // What fast_float leaves unset counts as beyond the range.
  float v = std::numeric_limits<float>::infinity();
  const auto r = fast_float::from_chars(from, to, v);
  if (r.ptr != to || !std::isfinite(v)) {
    return false;
  }
  *out = v;
  return true;
}

double DecimalToDouble(const char* from, const char* to) {
  // fast_float, as std::from_chars, takes no leading plus.
  const bool negative = from < to && *from == '-';
  if (from < to && (*from == '+' || *from == '-')) {
    ++from;
  }
  double v = std::numeric_limits<double>::quiet_NaN();
  fast_float::from_chars(from, to, v);
  return negative ? -v : v;
}

bool ScanFloatGeneral(const char*& p, const char* end, float* out) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q++ == '-');
  }
  const char* number = q;
  // Mantissa digits as an integer while it stays small, for the exact path.
  std::uint64_t mantissa = 0;
  int significant = 0;  // digits in `mantissa`, leading zeros excluded
  int scale = 0;        // power of ten to apply to `mantissa`
  int digits = 0;
  bool exact = true;
  auto digit = [&](char c, bool fraction) {
    ++digits;
    if (significant < 18) {
      if (mantissa || c != '0') {
        ++significant;
      }
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (fraction) {
        --scale;
      }
    } else {
      exact = false;
    }
  };
  while (q < end && IsDigit(*q)) {
    digit(*q++, false);
  }
  if (q < end && *q == '.') {
    ++q;
    while (q < end && IsDigit(*q)) {
      digit(*q++, true);
    }
  }
  // A lone sign or point, "inf", "nan", "0x1p3", "1e", "30.6O49": no number.
  if (digits == 0 || !ScanExponent(q, end, scale) || !EndsField(q, end)) {
    return NoNumber(p, end, out);
  }
  float v = 0;
  if (!(exact && decimal::ExactFloat(mantissa, scale, v)) && !DecimalToFloat(number, q, &v)) {
    return NoNumber(p, end, out);
  }
  *out = negative ? -v : v;
  p = q;
  return true;
}

}  // namespace scanfields
