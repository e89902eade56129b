#pragma once
// The field scanners of the line parser, and a parser made at compile time
// for one line format: the conversions are known, so each field's scanner is
// called directly, with nothing to interpret per line.

#include <fast_float/fast_float.h>

#include <cstddef>
#include <cstdint>

#include "ScanLine.h"
#include "internal/ScanFloatGeneral.h"
#include "internal/ScanNumbers.h"

namespace scanfields {

// Scans one float token at p, fast for every shape a printf writes ("%f", "%e", "%g", a fixed
// number of decimals): up to 19 digits and any exponent. Most numbers are
// one or two exact operations (decimal::ExactFloat); the others are read by
// fast_float, which rounds exactly as strtof (and so sscanf) does. Anything
// else goes the general way. Always inlined: it runs once a field, hundreds
// of millions of times, and a call costs as much as a short number's digits.
[[gnu::always_inline]] inline Step ScanFloat(const char*& p, const char* end, float* out) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q++ == '-');
  }
  const char* number = q;
  std::uint64_t mantissa;
  int scale;
  const std::ptrdiff_t count = decimal::ReadDigits(q, end, mantissa, scale);
  if (count == 0 || count > 19) {
    return ScanFloatGeneral(p, end, out);
  }
  if (!ScanExponent(q, end, scale)) {
    return Step::Unsure;
  }
  if (q < end && *q != '\0' && !IsCSpace(*q)) {
    return Step::Unsure;
  }
  float v;
  if (!decimal::ExactFloat(mantissa, scale, v)) {
    // Out of a float's range (or to zero) the token is left to sscanf, whose
    // answer for it is the reference.
    const auto r = fast_float::from_chars(number, q, v);
    if (r.ec != std::errc() || r.ptr != q) {
      return Step::Unsure;
    }
  }
  *out = negative ? -v : v;
  p = q;
  return Step::Ok;
}

inline Step ScanInt(const char*& p, const char* end, int* out) {
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
  if (q == d) {
    return q == p ? Step::Mismatch : Step::Unsure;
  }
  if (q < end && *q != '\0' && !IsCSpace(*q)) {
    return Step::Unsure;
  }
  // A number beyond the range of int is no value of the field: read modulo
  // 2^32 it would become another part or layer.
  if (v > (neg ? kIntLimit + 1 : kIntLimit)) {
    return Step::Mismatch;
  }
  *out = static_cast<int>(neg ? -v : v);
  p = q;
  return Step::Ok;
}

// What a fixed parser returns when sscanf must judge the line.
inline constexpr int kScanUnsure = -2;

template <Conv... Cs>
int ScanFixed(const char* begin, const char* end, void* const* outs) {
  const char* p = begin;
  int i = 0, result = 0;
  auto field = [&]<Conv C>() __attribute__((always_inline)) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (p == end || *p == '\0') {
      result = i == 0 ? -1 : i;
      return false;
    }
    Step st;
    if constexpr (C == Conv::Float) {
      st = ScanFloat(p, end, static_cast<float*>(outs[i]));
    } else {
      st = ScanInt(p, end, static_cast<int*>(outs[i]));
    }
    if (st == Step::Ok) {
      ++i;
      return true;
    }
    result = st == Step::Mismatch ? i : kScanUnsure;
    return false;
  };
  if ((field.template operator()<Cs>() && ...)) {
    return static_cast<int>(sizeof...(Cs));
  }
  return result;
}

}  // namespace scanfields
