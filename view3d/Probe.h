#pragma once
// What a click on a body part tells: the part, and the shown quantity's value
// at the current step with its unit, for the skin and for the selected layer.

#include <QString>
#include <vector>

class CSimulationData;

QString ProbeText(const CSimulationData& data, int part, int layer);

// The probe panel's table: for the shown quantity at the drawn step, the
// part's core, its skin and each of its fabric layers, a row each, with the
// value and its unit, or "no data" where the run holds none (the core's
// humidity, a hole, a layer without a row).
struct ProbeRow {
  QString name;  // "Core", "Skin", "Layer 1", ...
  QString value;
};
std::vector<ProbeRow> ProbeRows(const CSimulationData& data, int part);
// The panel's title: "Trunk: Temperature".
QString ProbeTitle(const CSimulationData& data, int part);
// The table as tab-separated text for a spreadsheet, what Copy puts on the
// clipboard: a header "Time(min), Part, Place, QUANTITY(UNIT)", then a row
// for the core, the skin and each layer, the value a number in full, empty
// where the run holds none.
QString ProbeTsv(const CSimulationData& data, int part);
