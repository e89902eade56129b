#pragma once
// What the scientific view shows for an option and a quantity, as
// comma-separated text: the command line's export and the line plot's
// context menu write the same.

#include <QString>
#include <vector>

class CSimulationData;

// A value as the shortest text that reads back to the same double; empty for
// one the run does not hold (NaN). Writers give the files' own values
// (CSimulationData::Exact), so that what they write reads as the file did.
QString CsvNumber(double v);
// A value of the store (a float) as the shortest text that reads back to it.
QString CsvNumber(float v);
// A value held as a double: the file's own (`fromFile`) written in full, or a
// store's float widened on its way, written as the float it was (never the
// 17 digits no file wrote).
QString CsvNumber(double v, bool fromFile);
// The files' own values. A chart gives "time,value" rows under a header of the axis names; a plot
// gives "curve,thickness,time,value" rows. Empty plots give the header alone.
QString ExportCsv(const CSimulationData& data, int option, int quantity);

// The same for several runs side by side, `first` and then each of `others`:
// a chart gives "Time(min)" and a column per run (named as the legend names
// its curve, quoted where that holds a comma), a row for each time any run
// holds, the cell of a run without a value then left empty; a plot gives
// "run,curve,Thickness(cm),Time(min),NAME" rows, each run's in turn. Every
// value is the one its run gives alone.
QString ComparedCsv(const CSimulationData& first, const std::vector<const CSimulationData*>& others, int option,
                    int quantity);
