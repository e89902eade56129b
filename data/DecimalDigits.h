#pragma once
// The fast path that both our number readers (the data files' fields, the
// models' coordinates) share: the digits of a plain decimal read into one
// integer mantissa and the power of ten that scales it.

#include <cstddef>
#include <cstdint>

namespace decimal {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits, then an optional '.' and more digits, at s (no sign, no
// exponent), advancing s past them. Returns how many digits it read; above 19
// the mantissa has overflowed and the number must be read another way.
inline std::ptrdiff_t ReadDigits(const char*& s, const char* e, std::uint64_t& mantissa, int& scale) {
  mantissa = 0;
  scale = 0;
  const char* digits = s;
  while (s < e && IsDigit(*s)) {
    mantissa = mantissa * 10 + static_cast<unsigned>(*s++ - '0');
  }
  std::ptrdiff_t count = s - digits;
  if (s < e && *s == '.') {
    const char* fraction = ++s;
    while (s < e && IsDigit(*s)) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*s++ - '0');
    }
    scale = -static_cast<int>(s - fraction);
    count += s - fraction;
  }
  return count;
}

}  // namespace decimal
