// corvane: the viewer of clothing thermal-comfort simulation runs.

#include "CommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("corvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  return RunCommandLine(QCoreApplication::arguments());
}
