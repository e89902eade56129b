#include "ModuleDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ModuleDirFor(const QString& programDir) {
  const QDir bin(programDir);
  if (QFileInfo::exists(bin.filePath(QStringLiteral("model.obj")))) {
    return bin.absolutePath() + QLatin1Char('/');
  }
  const QString shared = QDir::cleanPath(bin.filePath(QStringLiteral("../share/corvane")));
  if (QFileInfo::exists(shared + QStringLiteral("/model.obj"))) {
    return shared + QLatin1Char('/');
  }
  return bin.absolutePath() + QLatin1Char('/');
}

QString ModuleDir() { return ModuleDirFor(QCoreApplication::applicationDirPath()); }
