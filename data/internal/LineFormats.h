#pragma once
// The line formats of the data files, as conversion lists, each with its own
// parser made at compile time, and the fields of each that place a row (its
// time, layer or part): such a field that is no number makes the row
// unreadable, where any other leaves a hole for its value alone.

#include <cstdint>

#include "ScanLine.h"
#include "internal/ScanFields.h"

namespace LineFormats {
inline constexpr Conv F = Conv::Float;
inline constexpr Conv D = Conv::Int;

// The phase's columns: 5 to 10 say which parts are clothed and 11 is its
// duration, so that a phase without them is none.
inline constexpr Conv kEnvConvs[13] = {F, F, F, F, F, F, F, F, F, F, F, F, F};
inline constexpr ScanSpec kEnvironment{"%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\n", kEnvConvs, 13,
                                       &scanfields::ScanFixed<F, F, F, F, F, F, F, F, F, F, F, F, F>,
                                       &scanfields::ScanFixedExact<F, F, F, F, F, F, F, F, F, F, F, F, F>};
inline constexpr std::uint32_t kEnvironmentKeys = 0x7f0;

// Eight values make a fabric row; a ninth column, when present, is the liquid
// volume fraction. kFabricPlain is the eight-value line format the files are
// documented with (the parser must agree with it on the first eight).
inline constexpr Conv kFabricConvs[9] = {F, F, D, F, F, F, F, F, F};
inline constexpr ScanSpec kFabric{"%f\t%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f", kFabricConvs, 9,
                                  &scanfields::ScanFixed<F, F, D, F, F, F, F, F, F>,
                                  &scanfields::ScanFixedExact<F, F, D, F, F, F, F, F, F>};
// (No parser of its own: it keeps the general one tested.)
inline constexpr ScanSpec kFabricPlain{"%f\t%f\t%d\t%f\t%f\t%f\t%f\t%f\t\n", kFabricConvs, 8};
inline constexpr std::uint32_t kFabricKeys = 0x5;  // time, layer

inline constexpr Conv kFiberConvs[4] = {F, F, F, F};
inline constexpr ScanSpec kFiber{"%f\t%f\t%f\t%f\n", kFiberConvs, 4, &scanfields::ScanFixed<F, F, F, F>,
                                 &scanfields::ScanFixedExact<F, F, F, F>};
inline constexpr std::uint32_t kFiberKeys = 0x1;  // time

inline constexpr Conv kBodyConvs[11] = {F, D, F, F, F, F, F, F, F, F, F};
inline constexpr ScanSpec kBody{"%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t\n", kBodyConvs, 11,
                                &scanfields::ScanFixed<F, D, F, F, F, F, F, F, F, F, F>,
                                &scanfields::ScanFixedExact<F, D, F, F, F, F, F, F, F, F, F>};
inline constexpr std::uint32_t kBodyKeys = 0x3;  // time, part

inline constexpr Conv kIntConv[1] = {D};
inline constexpr ScanSpec kSelectedModelNumber{"%d", kIntConv, 1};  // after "Selected model:"

inline constexpr Conv kComfortConvs[5] = {F, D, F, F, F};
inline constexpr ScanSpec kComfort{"%f\t%d\t%f\t%f\t%f\t\n", kComfortConvs, 5, &scanfields::ScanFixed<F, D, F, F, F>,
                                   &scanfields::ScanFixedExact<F, D, F, F, F>};
inline constexpr std::uint32_t kComfortKeys = 0x3;  // time, part
}  // namespace LineFormats
