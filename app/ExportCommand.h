#pragma once
// corvane --export-csv FILE --option ID --quantity Q [--profile-at MIN]
// DATA_DIR: what the scientific view's chart or plot shows for that option
// and quantity (DataCsv.h), or a fabric option's thickness profile at the
// fabric step nearest MIN, as comma-separated text.

#include <QString>
#include <optional>

class CSimulationData;

// The same for two runs side by side: a chart gives "Time(min)" and a column
// per run (named as the legend names its curve, quoted where that holds a
// comma), a row for each time either run holds, the cell of a run without a
// value then left empty; a plot gives "run,curve,Thickness(cm),Time(min),NAME"
// rows, the first run's, then the second's. Every value is the one its run
// gives alone.
QString ComparedCsv(const CSimulationData& first, const CSimulationData& second, int option, int quantity);
// Exit code: 0 written, 1 a run or the file failed, 2 a bad request.
// `compareDir`, when not empty, is a second run written beside the first;
// `profileAt`, a fabric option's thickness profile at that minute instead.
int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir,
                        const QString& compareDir = QString(), std::optional<double> profileAt = std::nullopt);
