#pragma once
// corvane --export-csv FILE --option ID --quantity Q DATA_DIR: what the
// scientific view's chart or plot shows for that option and quantity, as
// comma-separated text.

#include <QString>

class CSimulationData;

// The text: a chart gives "time,value" rows under a header of the axis
// names; a plot gives "curve,thickness,time,value" rows. Empty plots give
// the header alone.
QString ExportCsv(const CSimulationData& data, int option, int quantity);
// Exit code: 0 written, 1 the run or the file failed, 2 a bad request.
int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir);
