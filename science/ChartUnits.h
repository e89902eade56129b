#pragma once
// Units on a chart: a quantity's unit is the text in parentheses at the end
// of its name; one unit takes the left y axis, a second the right one, and a
// third has no axis to go to.

#include <QString>
#include <optional>
#include <vector>

// The unit of a name such as "Temperature of Skin(Degree)": "Degree"; empty
// for a name without one ("Comfort").
QString UnitOf(const QString& name);
// The name without its unit: "Temperature of Skin".
QString WithoutUnit(const QString& name);

// The y axis of each curve, given each curve's unit in order: 0 (left) for
// the first unit met, 1 (right) for a second; none when a third is met.
std::optional<std::vector<int>> AssignAxes(const std::vector<QString>& units);

// The caption of an axis that shows the quantities `names` (each with its
// unit, repeats allowed): one quantity reads its name whole; several read
// their names without the unit, joined by ", ", then the unit they share in
// parentheses ("Temperature of Skin, Temperature of Core(Degree)").
QString AxisCaption(const std::vector<QString>& names);
