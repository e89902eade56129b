#pragma once
// corvane --export-csv FILE --option ID --quantity Q [--profile-at MIN]
// DATA_DIR: what the scientific view's chart or plot shows for that option
// and quantity (DataCsv.h), or a fabric option's thickness profile at the
// fabric step nearest MIN, as comma-separated text.

#include <QString>
#include <optional>

class CSimulationData;

// Exit code: 0 written, 1 the run or the file failed, 2 a bad request.
int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir,
                        std::optional<double> profileAt = std::nullopt);
