#include "ExactFields.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "DecimalDigits.h"
#include "internal/CharClass.h"
#include "internal/ScanNumbers.h"

namespace {
// The decimal [p, end) (no sign) as the double nearest it where one exact
// operation gives it, as it does for what printf writes: a mantissa of up
// to 2^53 and a power of ten up to 10^22 are both doubles, and their
// product or quotient is rounded once, correctly. False for the others.
bool ExactDouble(const char* p, const char* end, double& out) {
  std::uint64_t mantissa = 0;
  int scale = 0;
  const std::ptrdiff_t count = decimal::ReadDigits(p, end, mantissa, scale);
  if (count == 0 || count > 19 || !scanfields::ScanExponent(p, end, scale) || p != end) {
    return false;
  }
  if (mantissa > (std::uint64_t{1} << 53) || scale < -22 || scale > 22) {
    return false;
  }
  const auto m = static_cast<double>(mantissa);
  out = scale < 0 ? m / decimal::kDoublePow10[-scale] : m * decimal::kDoublePow10[scale];
  return true;
}
}  // namespace

void AppendExactFields(const char* begin, const char* end, const ScanSpec& format, const ScanResult& scan,
                       std::vector<double>& out) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const char* p = begin;
  for (int i = 0; i < format.count; ++i) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    const char* q = p;
    while (q < end && *q != '\0' && !IsCSpace(*q)) {
      ++q;
    }
    if (i >= scan.fields || (scan.bad & (std::uint32_t{1} << i)) != 0) {
      out.push_back(kNaN);
      p = q;
      continue;
    }
    // fast_float, as std::from_chars, takes no leading plus; the float
    // parser does, so it is stepped over here.
    const bool negative = *p == '-';
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    double v = kNaN;
    if (format.convs[i] == Conv::Int) {
      long long whole = 0;
      std::from_chars(digits, q, whole);
      v = static_cast<double>(whole);
    } else if (!ExactDouble(digits, q, v)) {
      fast_float::from_chars(digits, q, v);
    }
    out.push_back(negative ? -v : v);
    p = q;
  }
}

std::size_t ShortestDouble(double v, char* buf, std::size_t size) {
  if (std::isnan(v)) {
    return 0;
  }
  const auto r = std::to_chars(buf, buf + size, v);
  return r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 0;
}
