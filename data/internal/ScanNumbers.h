#pragma once
// The pieces every number scanner of the line parser shares: the outcome of
// one field and the exponent part.

#include "DecimalDigits.h"
#include "internal/CharClass.h"

namespace scanfields {

using decimal::IsDigit;

enum class Step { Ok, Mismatch, Unsure };

inline constexpr long long kIntLimit = 2147483647LL;

// The exponent part at q ("e", a sign, digits), added to `scale`, q moved
// past it; false when an "e" is not followed by digits (sscanf decides such
// a token).
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
