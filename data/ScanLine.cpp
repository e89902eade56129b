#include "ScanLine.h"

#include <fast_float/fast_float.h>
#include <locale.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "internal/CharClass.h"
#include "internal/ScanFields.h"

using namespace scanfields;

namespace {

thread_local long t_fallbacks = 0;

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

namespace scanfields {

Step ScanFloatGeneral(const char*& p, const char* end, float* out) {
  const char* s = p;
  const char* q = s;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q++ == '-');
  }
  // Mantissa digits as an integer while it stays small, for the exact path.
  std::uint64_t mantissa = 0;
  int significant = 0;  // digits in `mantissa`, leading zeros excluded
  int scale = 0;        // power of ten to apply to `mantissa`
  int digits = 0;
  bool exact = true;
  auto digit = [&](char c, bool fraction) {
    ++digits;
    if (significant < 18) {
      if (mantissa || c != '0') {
        ++significant;
      }
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (fraction) {
        --scale;
      }
    } else {
      exact = false;
    }
  };
  while (q < end && IsDigit(*q)) {
    digit(*q++, false);
  }
  if (q < end && *q == '.') {
    ++q;
    while (q < end && IsDigit(*q)) {
      digit(*q++, true);
    }
  }
  if (digits == 0) {
    // Nothing numeric: a plain mismatch unless scanf might still read
    // something (inf/nan, or a lone sign or point).
    if (q == s) {
      char c = s < end ? *s : '\0';
      if (c == 'i' || c == 'I' || c == 'n' || c == 'N') {
        return Step::Unsure;
      }
      return Step::Mismatch;
    }
    return Step::Unsure;
  }
  if (!ScanExponent(q, end, scale)) {
    return Step::Unsure;
  }
  // The token must stand alone; anything glued to it is left to scanf.
  if (q < end && *q != '\0' && !IsCSpace(*q)) {
    return Step::Unsure;
  }

  // Exact path: an integer mantissa that a float holds exactly, scaled by a
  // power of ten that a float holds exactly, is one correctly rounded
  // multiplication or division, the same result strtof gives.
  if (exact && mantissa <= (1u << 24) && scale >= -10 && scale <= 10) {
    float v = static_cast<float>(mantissa);
    v = scale < 0 ? v / kPow10[-scale] : v * kPow10[scale];
    *out = negative ? -v : v;
    p = q;
    return Step::Ok;
  }
  const char* from = (*s == '+') ? s + 1 : s;
  float v = 0;
  auto r = fast_float::from_chars(from, q, v);
  if (r.ec != std::errc() || r.ptr != q) {
    return Step::Unsure;
  }
  *out = v;
  p = q;
  return Step::Ok;
}

}  // namespace scanfields

int ScanLineReference(const char* begin, const char* end, const ScanSpec& format, void* const* outs) {
  char buf[4096];
  std::size_t n = static_cast<std::size_t>(end - begin);
  char* text = buf;
  std::unique_ptr<char[]> heap;
  if (n >= sizeof buf) {
    heap.reset(text = new char[n + 1]);
  }
  std::memcpy(text, begin, n);
  text[n] = '\0';
  // Integers are read wide and range-checked: a value beyond int is no value
  // (plain %d would wrap it).
  std::string wide;
  for (const char* f = format.scanfFormat; *f; ++f) {
    wide += *f;
    if (f[0] == '%' && f[1] == 'd') {
      wide += "ll";
    }
  }
  void* o[kMaxConversions];
  float dummy[kMaxConversions];
  long long ints[kMaxConversions] = {};
  for (int i = 0; i < kMaxConversions; ++i) {
    o[i] = i >= format.count ? static_cast<void*>(&dummy[i]) : format.convs[i] == Conv::Int ? &ints[i] : outs[i];
  }
  locale_t old = uselocale(CLocale());
  const int r = std::sscanf(text, wide.c_str(), o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8], o[9], o[10],
                            o[11], o[12], o[13], o[14], o[15]);
  uselocale(old);
  for (int i = 0; i < r && i < format.count; ++i) {
    if (format.convs[i] != Conv::Int) {
      continue;
    }
    if (ints[i] > kIntLimit || ints[i] < -kIntLimit - 1) {
      return i;
    }
    *static_cast<int*>(outs[i]) = static_cast<int>(ints[i]);
  }
  return r;
}

int ScanLine(const char* begin, const char* end, const ScanSpec& format, void* const* outs) {
  if (format.fixed) {
    const int r = format.fixed(begin, end, outs);
    if (r != kScanUnsure) {
      return r;
    }
    ++t_fallbacks;
    return ScanLineReference(begin, end, format, outs);
  }
  const char* p = begin;
  for (int i = 0; i < format.count; ++i) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (p == end || *p == '\0') {
      return i == 0 ? -1 : i;
    }
    Step st = format.convs[i] == Conv::Float ? ScanFloat(p, end, static_cast<float*>(outs[i]))
                                             : ScanInt(p, end, static_cast<int*>(outs[i]));
    if (st == Step::Mismatch) {
      return i;
    }
    if (st == Step::Unsure) {
      ++t_fallbacks;
      return ScanLineReference(begin, end, format, outs);
    }
  }
  return format.count;
}

long ScanLineFallbackCount() { return t_fallbacks; }
