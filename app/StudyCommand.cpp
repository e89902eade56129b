#include "StudyCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "ModuleDir.h"
#include "RunCache.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"
#include "StudySummary.h"
#include "WholeFile.h"

int RunStudyCommand(const StudyOptions& o, CRunCache* runs) {
  for (const QString& dir : o.runs) {
    if (IsScreenshotInput(o.file, dir, ModuleDir())) {
      std::fprintf(stderr, "corvane: \"%s\" is one of the run's files; it is not overwritten.\n", qPrintable(o.file));
      return 2;
    }
  }
  CRunCache own;
  CRunCache& cache = runs ? *runs : own;
  // A study reads the body and comfort files alone (a batch says so itself).
  for (const QString& dir : runs ? QStringList() : o.runs) {
    own.SetScope(dir, LoadScope::BodyAndComfort);
  }
  std::vector<const RunTables*> tables;
  std::vector<const CExactTables*> exact;
  QStringList names;
  for (const QString& dir : o.runs) {
    const CSimulationData* run = cache.Get(dir);
    if (!run) {
      std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(dir));
      return 1;
    }
    tables.push_back(&run->Run());
    exact.push_back(run->Exact());
    names << QFileInfo(QDir::cleanPath(dir)).fileName();
  }
  // Each row names its run by its folder; by the folder as given where two
  // share a name.
  QStringList labels;
  for (qsizetype i = 0; i < names.size(); ++i) {
    labels << (names.count(names[i]) > 1 ? QDir::cleanPath(o.runs[i]) : names[i]);
  }
  QString error;
  if (!WriteWholeFile(o.file, StudyCsv(tables, labels, exact).toUtf8(), &error)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return 1;
  }
  return 0;
}
