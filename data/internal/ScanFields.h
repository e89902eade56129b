#pragma once
// The field scanners of the line parser, and a parser made at compile time
// for one line format: the conversions are known, so each field's scanner is
// called directly, with nothing to interpret per line.

#include <cstddef>
#include <cstdint>
#include <limits>

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
// field. With `exact`, the field's value also lands there as the double
// nearest its decimal (NaN for no number), from the same reading of its
// digits. Always inlined: it runs once a field, hundreds of millions of
// times, and a call costs as much as a short number's digits.
template <bool kExact = false>
[[gnu::always_inline]] inline bool ScanFloat(const char*& p, const char* end, float* out, double* exact = nullptr) {
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
    const char* field = p;
    const bool read = ScanFloatGeneral(p, end, out);
    if constexpr (kExact) {
      *exact = read ? DecimalToDouble(field, p) : std::numeric_limits<double>::quiet_NaN();
    }
    return read;
  }
  float v;
  if (!ScanExponent(q, end, scale) || !EndsField(q, end) ||
      (!decimal::ExactFloat(mantissa, scale, v) && !DecimalToFloat(number, q, &v))) [[unlikely]] {
    if constexpr (kExact) {
      *exact = std::numeric_limits<double>::quiet_NaN();
    }
    return NoNumber(p, end, out);
  }
  *out = negative ? -v : v;
  if constexpr (kExact) {
    double d;
    *exact = decimal::ExactDouble(mantissa, scale, d) ? (negative ? -d : d) : DecimalToDouble(p, q);
  }
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

// The fields of one line format, read by their own scanners; with kExact,
// each field's double too (NaN for no number and for a field the line lacks).
template <bool kExact, Conv... Cs>
ScanResult ScanFields(const char* begin, const char* end, void* const* outs, double* exact) {
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
      read =
          ScanFloat<kExact>(p, end, static_cast<float*>(outs[result.fields]), kExact ? exact + result.fields : nullptr);
    } else {
      int* to = static_cast<int*>(outs[result.fields]);
      const bool minus = *p == '-';
      read = ScanInt(p, end, to);
      if constexpr (kExact) {
        // "-0" is the double -0, as its decimal reads.
        exact[result.fields] = !read               ? std::numeric_limits<double>::quiet_NaN()
                               : minus && *to == 0 ? -0.0
                                                   : static_cast<double>(*to);
      }
    }
    if (!read) [[unlikely]] {
      result.bad |= std::uint32_t{1} << result.fields;
    }
    ++result.fields;
    return true;
  };
  (field.template operator()<Cs>() && ...);
  if constexpr (kExact) {
    for (int i = result.fields; i < static_cast<int>(sizeof...(Cs)); ++i) {
      exact[i] = std::numeric_limits<double>::quiet_NaN();
    }
  }
  return result;
}

template <Conv... Cs>
ScanResult ScanFixed(const char* begin, const char* end, void* const* outs) {
  return ScanFields<false, Cs...>(begin, end, outs, nullptr);
}
template <Conv... Cs>
ScanResult ScanFixedExact(const char* begin, const char* end, void* const* outs, double* exact) {
  return ScanFields<true, Cs...>(begin, end, outs, exact);
}

}  // namespace scanfields
