#pragma once
// The fast path that both our number readers (the data files' fields, the
// models' coordinates) share: the digits of a plain decimal read into one
// integer mantissa and the power of ten that scales it, and that mantissa
// and scale made into the float that strtof (and so sscanf) gives, where
// one or two exact operations give it.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace decimal {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits, then an optional '.' and more digits, at s (no sign, no
// exponent), advancing s past them, one digit at a time. Returns how many
// digits it read; above 19 the mantissa has overflowed and the number must
// be read another way.
inline std::ptrdiff_t ReadDigitsOneByOne(const char*& s, const char* e, std::uint64_t& mantissa, int& scale) {
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

// Up to eight digits at once. Digits read one at a time cost a branch each,
// which the processor guesses wrong wherever numbers differ in length (most
// of a model's indices and coordinates, and of a run's fields, do); eight
// bytes looked at together tell how many digits lead them without a branch.
[[gnu::always_inline]] inline std::uint64_t Load8(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  if constexpr (std::endian::native == std::endian::big) {
    x = __builtin_bswap64(x);
  }
  return x;  // the first character in the lowest byte
}
// How many of the eight characters of x lead with digits (0 to 8). A byte
// that is no digit may carry into the next one: only bytes after the first
// that is no digit are disturbed, and they do not count.
[[gnu::always_inline]] inline int LeadingDigits(std::uint64_t x) {
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kZeros = 0x3030303030303030u;
  const std::uint64_t other = ((x & kHigh) ^ kZeros) | (((x + 0x0606060606060606u) & kHigh) ^ kZeros);
  return other ? std::countr_zero(other) >> 3 : 8;
}
// The value of the first n (1 to 8) digit characters of x.
[[gnu::always_inline]] inline std::uint64_t DigitsValue(std::uint64_t x, int n) {
  x = (x - 0x3030303030303030u) << (8 * (8 - n));  // leading zeros before the digits
  x = x * 10 + (x >> 8);
  return (((x & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
          (((x >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
         32;
}
inline constexpr std::uint64_t kIntPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// ReadDigitsOneByOne, eight digits at a time where eight bytes can be
// looked at; the same digits, mantissa and scale.
[[gnu::always_inline]] inline std::ptrdiff_t ReadDigits(const char*& s, const char* e, std::uint64_t& mantissa,
                                                        int& scale) {
  if (e - s < 16) {
    return ReadDigitsOneByOne(s, e, mantissa, scale);
  }
  const char* start = s;
  int n = LeadingDigits(Load8(s));
  if (n == 8) {
    return ReadDigitsOneByOne(s, e, mantissa, scale);
  }
  mantissa = n ? DigitsValue(Load8(s), n) : 0;
  scale = 0;
  s += n;
  if (*s != '.') {
    return n;
  }
  ++s;
  if (e - s < 8 || (n = LeadingDigits(Load8(s))) == 8) {
    // A long fraction: on one digit at a time.
    const char* fraction = s;
    while (s < e && IsDigit(*s)) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*s++ - '0');
    }
    scale = -static_cast<int>(s - fraction);
    return (s - start) - 1;
  }
  if (n) {
    mantissa = mantissa * kIntPow10[n] + DigitsValue(Load8(s), n);
  }
  s += n;
  scale = -n;
  return (s - start) - 1;
}

// Powers of ten that a float, and a double, hold exactly.
inline constexpr float kFloatPow10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
inline constexpr double kDoublePow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// mantissa × 10^scale as the double nearest to it where one exact operation
// gives it, as it does for what printf writes: a mantissa of up to 2^53 and
// a power of ten up to 10^22 are both doubles, and their product or quotient
// is rounded once, correctly. False for the others.
[[gnu::always_inline]] inline bool ExactDouble(std::uint64_t mantissa, int scale, double& out) {
  if (mantissa > (std::uint64_t{1} << 53) || scale < -22 || scale > 22) {
    return false;
  }
  const auto m = static_cast<double>(mantissa);
  out = scale < 0 ? m / kDoublePow10[-scale] : m * kDoublePow10[scale];
  return true;
}

// mantissa × 10^scale as the float nearest to it (ties to even), which is
// what strtof gives, where that takes no more than exact operations; false
// where it does not, and the number must be read another way.
//
// A mantissa that a float holds, scaled by a power of ten that a float
// holds, is one correctly rounded float operation. Larger mantissas (the
// eight and nine digits of "%f", the exponents of "%e") go through a double:
// a mantissa of up to 2^53 scaled by a power of ten up to 10^22 is one
// correctly rounded double operation, and that double rounded to float is
// the float nearest the decimal unless the double landed exactly halfway
// between two floats, where the decimal may have stood a hair to either side.
[[gnu::always_inline]] inline bool ExactFloat(std::uint64_t mantissa, int scale, float& out) {
  if (mantissa <= (1u << 24) && scale >= -10 && scale <= 10) {
    const auto m = static_cast<float>(mantissa);
    out = scale < 0 ? m / kFloatPow10[-scale] : m * kFloatPow10[scale];
    return true;
  }
  if (mantissa > (1ull << 53) || scale < -22 || scale > 22) {
    return false;
  }
  const auto m = static_cast<double>(mantissa);
  const double d = scale < 0 ? m / kDoublePow10[-scale] : m * kDoublePow10[scale];
  // From 1e-22 to 9e37 every value is a normal float: a float keeps the top
  // 24 of the double's 53 bits, and halfway is the 29 bits below them
  // reading exactly 1000...0.
  constexpr std::uint64_t kBelow = (1ull << 29) - 1, kHalf = 1ull << 28;
  if ((std::bit_cast<std::uint64_t>(d) & kBelow) == kHalf) {
    return false;
  }
  out = static_cast<float>(d);
  return true;
}

}  // namespace decimal
