#include "ScanLine.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "ExactFields.h"
#include "internal/CharClass.h"
#include "internal/LineFormats.h"
#include "internal/ScanFields.h"

using namespace scanfields;

namespace {

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// The fields of a line: runs of characters other than white space, up to a
// NUL or the line's end.
template <class Each>
void ForEachField(const char* begin, const char* end, Each each) {
  const char* p = begin;
  for (int i = 0;; ++i) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (p == end || *p == '\0') {
      return;
    }
    const char* q = p;
    while (q < end && *q != '\0' && !IsCSpace(*q)) {
      ++q;
    }
    if (!each(i, p, q)) {
      return;
    }
    p = q;
  }
}

}  // namespace

ScanResult ScanLine(const char* begin, const char* end, const ScanSpec& format, void* const* outs) {
  if (format.fixed) {
    return format.fixed(begin, end, outs);
  }
  ScanResult result;
  const char* p = begin;
  for (int i = 0; i < format.count; ++i) {
    while (p < end && IsCSpace(*p)) {
      ++p;
    }
    if (p == end || *p == '\0') {
      break;
    }
    const bool read = format.convs[i] == Conv::Float ? ScanFloat(p, end, static_cast<float*>(outs[i]))
                                                     : ScanInt(p, end, static_cast<int*>(outs[i]));
    if (!read) {
      result.bad |= std::uint32_t{1} << i;
    }
    ++result.fields;
  }
  return result;
}

ScanResult ScanLineExact(const char* begin, const char* end, const ScanSpec& format, void* const* outs, double* exact) {
  if (format.fixedExact) {
    return format.fixedExact(begin, end, outs, exact);
  }
  const ScanResult result = ScanLine(begin, end, format, outs);
  std::vector<double> values;
  AppendExactFields(begin, end, format, result, values);
  std::copy(values.begin(), values.end(), exact);
  return result;
}

ScanResult ScanLineReference(const char* begin, const char* end, const ScanSpec& format, void* const* outs) {
  static const std::regex decimal(R"([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
  static const std::regex whole(R"([+-]?[0-9]+)");
  ScanResult result;
  ForEachField(begin, end, [&](int i, const char* from, const char* to) {
    if (i >= format.count) {
      return false;
    }
    ++result.fields;
    const std::string text(from, to);
    bool read = false;
    if (format.convs[i] == Conv::Float) {
      float* out = static_cast<float*>(outs[i]);
      if (std::regex_match(text, decimal)) {
        errno = 0;
        const float v = strtof_l(text.c_str(), nullptr, CLocale());
        read = std::isfinite(v);  // an overflow is HUGE_VALF; an underflow a small value
        *out = read ? v : NAN;
      } else {
        *out = NAN;
      }
    } else if (std::regex_match(text, whole)) {
      errno = 0;
      const long long v = std::strtoll(text.c_str(), nullptr, 10);
      read = errno == 0 && v >= INT_MIN && v <= INT_MAX;
      if (read) {
        *static_cast<int*>(outs[i]) = static_cast<int>(v);
      }
    }
    if (!read) {
      result.bad |= std::uint32_t{1} << i;
    }
    return true;
  });
  return result;
}

const char* FieldText(const char* begin, const char* end, int index, std::size_t* length) {
  const char* found = begin;
  *length = 0;
  ForEachField(begin, end, [&](int i, const char* from, const char* to) {
    if (i < index) {
      return true;
    }
    found = from;
    *length = static_cast<std::size_t>(to - from);
    return false;
  });
  return found;
}

const ScanSpec& FormatOf(DataFormat format) {
  switch (format) {
    case DataFormat::Environment:
      return LineFormats::kEnvironment;
    case DataFormat::Fabric:
      return LineFormats::kFabric;
    case DataFormat::FabricPlain:
      return LineFormats::kFabricPlain;
    case DataFormat::Fiber:
      return LineFormats::kFiber;
    case DataFormat::Body:
      return LineFormats::kBody;
    case DataFormat::Comfort:
      break;
  }
  return LineFormats::kComfort;
}
