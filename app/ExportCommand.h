#pragma once
// corvane --export-csv FILE --option ID [--quantity Q[,Q...]] [--all-parts]
// [--compare RUN2 [--compare RUN3 ...] [--difference]] [--profile-at MIN]
// DATA_DIR: what the scientific view's
// chart or plot shows for that option and those quantities (DataCsv.h), or
// a fabric option's thickness profile at the fabric step nearest MIN, as
// comma-separated text.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CRunCache;

struct ExportOptions {
  QString file;
  QString dataDir;
  int option = 0;
  std::vector<int> quantities{0};   // sharing the chart, in the order given
  bool allParts = false;            // each quantity for the six parts
  QStringList compareDirs;          // runs beside the first (up to seven), or none
  bool difference = false;          // with one compared run: the first run's values less the second's
  std::optional<double> profileAt;  // a fabric option's thickness profile at this minute
};

// Exit code: 0 written; 2 for what the run does not offer (an option, a
// quantity, a curve the chart has no room for, a quantity without values);
// 1 when a run or the file fails.
// `runs`: where the runs come from (a batch's, loaded once for all its
// outputs); without it the command loads its own.
int RunExportCsvCommand(const ExportOptions& options, CRunCache* runs = nullptr);
