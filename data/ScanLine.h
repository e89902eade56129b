#pragma once
// A scanf-compatible parser for the data files' line formats: a sequence of
// "%f" and "%d" conversions separated by white-space directives. It gives the
// same count and the same values, bit for bit, as sscanf with the equivalent
// format; for input it cannot judge on its own (hexadecimal floats, inf/nan,
// numbers glued to other characters, integers that may overflow) it defers to
// sscanf under the C locale, whatever the process locale is.

#include <cstddef>

enum class Conv : unsigned char { Float, Int };

constexpr int kMaxConversions = 16;

// A parser made for one format (LineFormats.h): the count, or -2 when sscanf
// must judge the line.
using ScanFn = int (*)(const char* begin, const char* end, void* const* outs);

struct ScanSpec {
  const char* scanfFormat{};  // the equivalent scanf format, for the fallback
  const Conv* convs{};        // conversion kinds, in order
  int count{};                // number of conversions
  ScanFn fixed = nullptr;     // the format's own parser, when it has one
};

// Parses [begin, end) (a NUL inside ends the input, as it would for sscanf).
// outs[i] points to a float or an int according to convs[i]. Returns what
// sscanf would: the number of conversions assigned, or -1 when the input ends
// before the first conversion.
int ScanLine(const char* begin, const char* end, const ScanSpec& format, void* const* outs);

// The same, always through sscanf (C locale), with integers read wide and a
// value beyond the range of int counted as no value; the reference for tests
// and the fallback of ScanLine.
int ScanLineReference(const char* begin, const char* end, const ScanSpec& format, void* const* outs);

// Number of times ScanLine fell back to sscanf in this thread (diagnostics).
long ScanLineFallbackCount();
