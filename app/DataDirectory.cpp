#include "DataDirectory.h"

#include <QDir>
#include <QFileInfo>

QString MakeDisplayName(const QString& name) {
  for (const QChar c : name) {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
      return name;
    }
  }
  QString shown = name.toLower();
  if (!shown.isEmpty()) {
    shown[0] = shown[0].toUpper();
  }
  return shown;
}

QStringList DataFilesIn(const QString& folder) {
  QStringList files;
  const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& f : entries) {
    const QString name = f.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? name : name.mid(dot + 1);
    if (extension.compare(QLatin1String("DAT"), Qt::CaseInsensitive) == 0) {
      files << name;
    }
  }
  files.sort();
  return files;
}

QString RunFolderOf(const QString& given) {
  QString dir = given.trimmed();
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
    return QString();
  }
  if (!dir.endsWith(QLatin1Char('/'))) {
    dir += QLatin1Char('/');
  }
  return dir;
}

QString DroppedFolder(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) {
      continue;
    }
    const QFileInfo info(url.toLocalFile());
    if (info.isDir()) {
      return info.absoluteFilePath() + QLatin1Char('/');
    }
  }
  return {};
}
