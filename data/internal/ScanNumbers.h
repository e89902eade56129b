#pragma once
// The pieces every number scanner of the line parser shares: where a field
// ends, what a field that is no number leaves, and the exponent part.

#include <limits>

#include "DecimalDigits.h"
#include "internal/CharClass.h"

namespace scanfields {

using decimal::IsDigit;

inline constexpr long long kIntLimit = 2147483647LL;

// A field ends at white space (the tab between fields, the trailing tab, a
// CR), at a NUL (which ends the line) or at the line's end.
[[gnu::always_inline]] inline bool EndsField(const char* q, const char* end) {
  return q == end || *q == '\0' || IsCSpace(*q);
}

// A field that holds no number: p moves to its end, and a float field holds
// NaN, a hole for that value alone.
[[gnu::always_inline]] inline bool NoNumber(const char*& p, const char* end) {
  while (!EndsField(p, end)) {
    ++p;
  }
  return false;
}
[[gnu::always_inline]] inline bool NoNumber(const char*& p, const char* end, float* out) {
  *out = std::numeric_limits<float>::quiet_NaN();
  return NoNumber(p, end);
}

// The exponent part at q ("e", a sign, digits), added to `scale`, q moved
// past it; false when an "e" is not followed by digits.
[[gnu::always_inline]] inline bool ScanExponent(const char*& q, const char* end, int& scale) {
  if (!(q < end && (*q == 'e' || *q == 'E'))) {
    return true;
  }
  const char* e = q + 1;
  bool negExp = false;
  if (e < end && (*e == '+' || *e == '-')) {
    negExp = (*e++ == '-');
  }
  if (!(e < end && IsDigit(*e))) {
    return false;
  }
  int exponent = 0;
  for (; e < end && IsDigit(*e); ++e) {
    if (exponent < 100000) {
      exponent = exponent * 10 + (*e - '0');
    }
  }
  scale += negExp ? -exponent : exponent;
  q = e;
  return true;
}

}  // namespace scanfields
