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

QString MovieEncoderProgram() {
  const QDir bin(QCoreApplication::applicationDirPath());
  QString beside = bin.filePath(QStringLiteral("corvane-encode"));
  if (QFileInfo(beside).isExecutable()) {
    return beside;
  }
  return QDir::cleanPath(bin.filePath(QStringLiteral("../libexec/corvane/corvane-encode")));
}
