#include "ExactFields.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "DecimalDigits.h"
#include "internal/CharClass.h"
#include "internal/ScanNumbers.h"

void AppendExactFields(const char* begin, const char* end, const ScanSpec& format, const ScanResult& scan,
                       std::vector<double>& out) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  auto fieldEnd = [end](const char* q) {
    while (q < end && *q != '\0' && !IsCSpace(*q)) {
      ++q;
    }
    return q;
  };
  const char* p = begin;
  for (int i = 0; i < format.count; ++i) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (i >= scan.fields || (scan.bad & (std::uint32_t{1} << i)) != 0) {
      out.push_back(kNaN);
      p = fieldEnd(p);
      continue;
    }
    // fast_float, as std::from_chars, takes no leading plus; the float
    // parser does, so it is stepped over here.
    const bool negative = *p == '-';
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    double v = kNaN;
    const char* q = nullptr;
    if (format.convs[i] == Conv::Int) {
      q = fieldEnd(digits);
      long long whole = 0;
      std::from_chars(digits, q, whole);
      v = static_cast<double>(whole);
    } else {
      // The digits and exponent read once: where they end is the field's
      // end for every number the fast scanner took.
      q = digits;
      std::uint64_t mantissa = 0;
      int scale = 0;
      const std::ptrdiff_t count = decimal::ReadDigits(q, end, mantissa, scale);
      const bool read =
          count > 0 && count <= 19 && scanfields::ScanExponent(q, end, scale) && scanfields::EndsField(q, end);
      if (!read) {
        q = fieldEnd(digits);
        fast_float::from_chars(digits, q, v);
      } else if (!decimal::ExactDouble(mantissa, scale, v)) {
        fast_float::from_chars(digits, q, v);
      }
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
