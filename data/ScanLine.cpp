#include "ScanLine.h"

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
