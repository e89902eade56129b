#pragma once
// Scanning helpers for the OBJ and MTL readers: lines of a text in memory,
// white-space separated words, and numbers read with fast_float.

#include <fast_float/fast_float.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "DecimalDigits.h"

namespace objtext {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Iterates the lines of [p, end); a last line without a line break counts.
class CLines {
 public:
  CLines(const char* begin, const char* end) : m_p(begin), m_end(end) {}
  bool Next(const char*& b, const char*& e) {
    if (m_p >= m_end) {
      return false;
    }
    b = m_p;
    const void* nl = std::memchr(m_p, '\n', static_cast<std::size_t>(m_end - m_p));
    e = nl ? static_cast<const char*>(nl) : m_end;
    m_p = nl ? e + 1 : m_end;
    return true;
  }

 private:
  const char* m_p;
  const char* m_end;
};

// Text from a file, fit to quote in a message: control characters, which
// could drive the terminal that shows the message, become '?'.
inline std::string Printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      c = '?';
    }
  }
  return out;
}

inline const char* SkipBlanks(const char* p, const char* e) {
  while (p < e && IsBlank(*p)) {
    ++p;
  }
  return p;
}
inline const char* WordEnd(const char* p, const char* e) {
  while (p < e && !IsBlank(*p)) {
    ++p;
  }
  return p;
}
// A word as the 128-byte buffer holds it: cut to 127 characters.
inline std::string Word(const char* b, const char* e) {
  std::size_t n = static_cast<std::size_t>(e - b);
  return std::string(b, n > 127 ? 127 : n);
}

// The name after a keyword: the rest of the line read as two words into one
// buffer, so one word gives that word and two or more give the second.
inline std::string NameOfRest(const char* p, const char* e) {
  p = SkipBlanks(p, e);
  const char* w1 = WordEnd(p, e);
  const char* q = SkipBlanks(w1, e);
  if (q < e) {
    return Word(q, WordEnd(q, e));
  }
  return Word(p, w1);
}

using decimal::DigitsValue;
using decimal::IsDigit;
using decimal::LeadingDigits;
using decimal::Load8;
using decimal::ReadDigits;

// One float, after blanks. False (and `out` untouched) when none reads.
// The plain decimals that models hold are read directly: a mantissa that a
// float holds exactly, scaled by a power of ten that a float holds exactly,
// is one correctly rounded operation, the value fast_float gives; anything
// else is fast_float's. Always inlined: the readers call it once a number,
// millions of times, and a call costs as much as a short number's digits.
[[gnu::always_inline]] inline bool ParseFloat(const char*& p, const char* e, float& out) {
  const char* q = SkipBlanks(p, e);
  if (q < e && *q == '+') {
    ++q;
  }
  const char* s = q;
  const bool negative = s < e && *s == '-';
  if (negative) {
    ++s;
  }
  std::uint64_t mantissa;
  int scale;
  const std::ptrdiff_t count = ReadDigits(s, e, mantissa, scale);
  bool plain = count > 0 && count <= 19;
  if (plain && s < e && (*s == 'e' || *s == 'E')) {
    const char* x = s + 1;
    bool negExp = false;
    if (x < e && (*x == '+' || *x == '-')) {
      negExp = (*x++ == '-');
    }
    plain = x < e && IsDigit(*x);
    int exponent = 0;
    for (; x < e && IsDigit(*x); ++x) {
      if (exponent < 100000) {
        exponent = exponent * 10 + (*x - '0');
      }
    }
    scale += negExp ? -exponent : exponent;
    s = x;
  }
  if (float v; plain && decimal::ExactFloat(mantissa, scale, v)) {
    out = negative ? -v : v;
    p = s;
    return true;
  }
  float v;
  auto r = fast_float::from_chars(q, e, v);
  if (r.ec != std::errc() && r.ec != std::errc::result_out_of_range) {
    return false;
  }
  if (r.ptr == q) {
    return false;
  }
  out = v;
  p = r.ptr;
  return true;
}

// One decimal integer, with sign, at p (no blanks skipped). Values beyond
// the 32-bit range saturate, which no valid index reaches. Always inlined,
// as ParseFloat.
[[gnu::always_inline]] inline bool ParseIndex(const char*& p, const char* e, long long& out) {
  const char* q = p;
  bool neg = false;
  if (q < e && (*q == '+' || *q == '-')) {
    neg = (*q++ == '-');
  }
  const char* d = q;
  long long v = 0;
  if (e - q >= 8) {
    const int n = LeadingDigits(Load8(q));
    if (n == 0) {
      return false;
    }
    v = static_cast<long long>(DigitsValue(Load8(q), n));  // below 2^40 whatever follows
    q += n;
  }
  while (q < e && *q >= '0' && *q <= '9') {
    if (v < (1LL << 40)) {
      v = v * 10 + (*q - '0');
    }
    ++q;
  }
  if (q == d) {
    return false;
  }
  out = neg ? -v : v;
  p = q;
  return true;
}

}  // namespace objtext
