#pragma once
// What a click on a body part tells: the part, and the shown quantity's value
// at the current step with its unit, for the skin and for the selected layer.

#include <QString>

class CSimulationData;

QString ProbeText(const CSimulationData& data, int part, int layer);
