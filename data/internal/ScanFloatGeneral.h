#pragma once
// The general way of scanning a float token, for what the fast path of the
// field scanners does not take: any length, and the shapes only sscanf
// decides.

#include "internal/ScanNumbers.h"

namespace scanfields {

// Scans one float token at p, whatever its length. On Ok, advances p past it.
Step ScanFloatGeneral(const char*& p, const char* end, float* out);

}  // namespace scanfields
