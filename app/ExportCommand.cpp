#include "ExportCommand.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <cmath>
#include <cstdio>

#include "CaptionTables.h"
#include "DataCsv.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "Profile.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "SimulationData.h"

int RunExportCsvCommand(const QString& file, int option, int quantity, const QString& dataDir,
                        std::optional<double> profileAt) {
  const OptionId o = DecodeOption(option);
  if (!IsOptionId(option) || quantity < 0 || quantity >= PropertyCount(o.kind)) {
    std::fprintf(stderr, "corvane: option %d has no quantity %d.\n", option, quantity);
    return 2;
  }
  if (IsScreenshotInput(file, dataDir, ModuleDir())) {
    std::fprintf(stderr, "corvane: \"%s\" is one of the run's files; it is not overwritten.\n", qPrintable(file));
    return 2;
  }
  CSimulationData data;
  data.SetMessageSink(&CStderrMessageSink::Instance());
  if (!data.Load(dataDir)) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(dataDir));
    return 1;
  }
  if (const int unchosen = CheckChosenOption(data, option, quantity)) {
    return unchosen;
  }
  QString csv;
  if (profileAt) {
    const std::optional<int> step = ProfileStepFor(data, option, *profileAt);
    if (!step) {
      return 2;
    }
    csv = ProfileCsv(FabricProfileAt(data.Run(), DecodeOption(option).part, *step, quantity),
                     ColumnName(OptionKind::Fabric, quantity));
  } else {
    csv = ExportCsv(data, option, quantity);
  }
  const QByteArray text = csv.toUtf8();
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
    std::fprintf(stderr, "corvane: cannot write \"%s\".\n", qPrintable(file));
    return 1;
  }
  return 0;
}
