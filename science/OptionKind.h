#pragma once
// What a scientific-view option shows, and the comfort scale a chart draws
// behind a comfort rating. The numbers are those of the option ids
// (part × 1000 + kind × 100 + index), which the command line takes.

enum class OptionKind : int { Body = 1, Comfort = 2, Fabric = 3, Fiber = 4 };

// Whether `kind` is one of the four.
constexpr bool IsOptionKind(OptionKind kind) { return kind >= OptionKind::Body && kind <= OptionKind::Fiber; }
// Whether the option is drawn as a chart over time (else as a 3D line plot).
constexpr bool IsChartKind(OptionKind kind) { return kind == OptionKind::Body || kind == OptionKind::Comfort; }

enum class BandMode : int { None = 0, ThermalSensation = 1, Dampness = 2, Comfort = 3 };

// The scale behind comfort rating `quantity` (0 thermal sensation, 1
// dampness, 2 comfort); none for another.
constexpr BandMode BandModeOfComfort(int quantity) {
  return quantity >= 0 && quantity <= 2 ? static_cast<BandMode>(quantity + 1) : BandMode::None;
}
