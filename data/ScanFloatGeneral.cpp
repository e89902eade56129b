#include "internal/ScanFloatGeneral.h"

#include <fast_float/fast_float.h>

#include <cstdint>

namespace scanfields {

Step ScanFloatGeneral(const char*& p, const char* end, float* out) {
  const char* s = p;
  const char* q = s;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q++ == '-');
  }
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
  if (digits == 0) {
    // Nothing numeric: a plain mismatch unless scanf might still read
    // something (inf/nan, or a lone sign or point).
    if (q == s) {
      char c = s < end ? *s : '\0';
      if (c == 'i' || c == 'I' || c == 'n' || c == 'N') {
        return Step::Unsure;
      }
      return Step::Mismatch;
    }
    return Step::Unsure;
  }
  if (!ScanExponent(q, end, scale)) {
    return Step::Unsure;
  }
  // The token must stand alone; anything glued to it is left to scanf.
  if (q < end && *q != '\0' && !IsCSpace(*q)) {
    return Step::Unsure;
  }

  // Exact path: one or two correctly rounded operations give strtof's float.
  if (float v; exact && decimal::ExactFloat(mantissa, scale, v)) {
    *out = negative ? -v : v;
    p = q;
    return Step::Ok;
  }
  const char* from = (*s == '+') ? s + 1 : s;
  float v = 0;
  auto r = fast_float::from_chars(from, q, v);
  if (r.ec != std::errc() || r.ptr != q) {
    return Step::Unsure;
  }
  *out = v;
  p = q;
  return Step::Ok;
}

}  // namespace scanfields
