#pragma once
// The general way of scanning a float field, for what the fast path of the
// field scanners does not take: a decimal of any length.

#include "internal/ScanNumbers.h"

namespace scanfields {

// Scans the float field at p, whatever its length: true with its value, or
// false with NaN when it is no decimal number within a float's range. Either
// way p moves past the field.
bool ScanFloatGeneral(const char*& p, const char* end, float* out);

// A decimal's digits [from, to) (a sign, digits with a point, an exponent:
// checked by the caller) as the nearest float; false beyond a float's range.
// An underflow reads as the nearest float, 0 at the least.
bool DecimalToFloat(const char* from, const char* to, float* out);

// A field the float parser took, [from, to) with its sign, as the double
// nearest its decimal: the full-precision reading's way (ExactFields.h) for
// what no one exact operation gives.
double DecimalToDouble(const char* from, const char* to);

}  // namespace scanfields
