#pragma once
// The line formats of the data files, as conversion lists with their scanf
// equivalents, each with its own parser made at compile time.

#include "ScanLine.h"
#include "internal/ScanFields.h"

namespace LineFormats {
inline constexpr Conv F = Conv::Float;
inline constexpr Conv D = Conv::Int;

inline constexpr Conv kEnvConvs[13] = {F, F, F, F, F, F, F, F, F, F, F, F, F};
inline constexpr ScanSpec kEnvironment{"%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\n", kEnvConvs, 13,
                                       &scanfields::ScanFixed<F, F, F, F, F, F, F, F, F, F, F, F, F>};

// Eight values make a fabric row; a ninth column, when present, is the liquid
// volume fraction. kFabricPlain is the eight-value line format the files are
// documented with (the parser must agree with it on the first eight).
inline constexpr Conv kFabricConvs[9] = {F, F, D, F, F, F, F, F, F};
inline constexpr ScanSpec kFabric{"%f\t%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f", kFabricConvs, 9,
                                  &scanfields::ScanFixed<F, F, D, F, F, F, F, F, F>};
// (No parser of its own: it keeps the general one tested.)
inline constexpr ScanSpec kFabricPlain{"%f\t%f\t%d\t%f\t%f\t%f\t%f\t%f\t\n", kFabricConvs, 8};

inline constexpr Conv kFiberConvs[4] = {F, F, F, F};
inline constexpr ScanSpec kFiber{"%f\t%f\t%f\t%f\n", kFiberConvs, 4, &scanfields::ScanFixed<F, F, F, F>};

inline constexpr Conv kBodyConvs[11] = {F, D, F, F, F, F, F, F, F, F, F};
inline constexpr ScanSpec kBody{"%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t\n", kBodyConvs, 11,
                                &scanfields::ScanFixed<F, D, F, F, F, F, F, F, F, F, F>};

inline constexpr Conv kIntConv[1] = {D};
inline constexpr ScanSpec kSelectedModelNumber{"%d", kIntConv, 1};  // after "Selected model:"

inline constexpr Conv kComfortConvs[5] = {F, D, F, F, F};
inline constexpr ScanSpec kComfort{"%f\t%d\t%f\t%f\t%f\t\n", kComfortConvs, 5, &scanfields::ScanFixed<F, D, F, F, F>};
}  // namespace LineFormats
