#pragma once
// What the scientific view shows for an option and a quantity, as
// comma-separated text: the command line's export and the line plot's
// context menu write the same.

#include <QString>

class CSimulationData;

// A value as the shortest text that reads back to the same float; empty for
// one the run does not hold (NaN).
QString CsvNumber(double v);
// A chart gives "time,value" rows under a header of the axis names; a plot
// gives "curve,thickness,time,value" rows. Empty plots give the header alone.
QString ExportCsv(const CSimulationData& data, int option, int quantity);
