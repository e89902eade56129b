#pragma once
// The field scanners of the line parser, and a parser made at compile time
// for one line format: the conversions are known, so each field's scanner is
// called directly, with nothing to interpret per line.

#include <cstddef>
#include <cstdint>

#include "ScanLine.h"
#include "internal/ScanFloatGeneral.h"
#include "internal/ScanNumbers.h"

namespace scanfields {

// Scans the float field at p, fast for every shape a printf writes ("%f",
// "%e", "%g", a fixed number of decimals): up to 19 digits and any exponent.
// Most numbers are one or two exact operations (decimal::ExactFloat); the
// others are read by fast_float, which rounds exactly as strtof does. Longer
// ones go the general way. True with its value; false with NaN when the field
// is no decimal number within a float's range. Either way p moves past the
// field. Always inlined: it runs once a field, hundreds of millions of times,
// and a call costs as much as a short number's digits.
[[gnu::always_inline]] inline bool ScanFloat(const char*& p, const char* end, float* out) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q++ == '-');
  }
  const char* number = q;
  std::uint64_t mantissa;
  int scale;
  const std::ptrdiff_t count = decimal::ReadDigits(q, end, mantissa, scale);
  if (count == 0 || count > 19) [[unlikely]] {
    return ScanFloatGeneral(p, end, out);
  }
  if (!ScanExponent(q, end, scale) || !EndsField(q, end)) [[unlikely]] {
    return NoNumber(p, end, out);
  }
  float v;
  if (!decimal::ExactFloat(mantissa, scale, v) && !DecimalToFloat(number, q, &v)) [[unlikely]] {
    return NoNumber(p, end, out);
  }
  *out = negative ? -v : v;
  p = q;
  return true;
}

// Scans the int field at p: true with its value, false when it is no whole
// number within an int's range (read modulo 2^32 it would become another
// part or layer). Either way p moves past the field.
inline bool ScanInt(const char*& p, const char* end, int* out) {
  const char* q = p;
  bool neg = false;
  if (q < end && (*q == '+' || *q == '-')) {
    neg = (*q == '-');
    ++q;
  }
  const char* d = q;
  long long v = 0;
  while (q < end && IsDigit(*q)) {
    if (v <= kIntLimit) {
      v = v * 10 + (*q - '0');  // beyond the limit it only needs to stay beyond
    }
    ++q;
  }
  if (q == d || !EndsField(q, end) || v > (neg ? kIntLimit + 1 : kIntLimit)) {
    return NoNumber(p, end);
  }
  *out = static_cast<int>(neg ? -v : v);
  p = q;
  return true;
}

template <Conv... Cs>
ScanResult ScanFixed(const char* begin, const char* end, void* const* outs) {
  const char* p = begin;
  ScanResult result;
  auto field = [&]<Conv C>() __attribute__((always_inline)) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (p == end || *p == '\0') {
      return false;
    }
    bool read;
    if constexpr (C == Conv::Float) {
      read = ScanFloat(p, end, static_cast<float*>(outs[result.fields]));
    } else {
      read = ScanInt(p, end, static_cast<int*>(outs[result.fields]));
    }
    if (!read) [[unlikely]] {
      result.bad |= std::uint32_t{1} << result.fields;
    }
    ++result.fields;
    return true;
  };
  (field.template operator()<Cs>() && ...);
  return result;
}

}  // namespace scanfields
