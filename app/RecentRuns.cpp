#include "RecentRuns.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const char kKey[] = "recentRuns";

// One spelling per folder, whatever the working folder: "run", "/a/run/" and
// "/a/./run" are the same; links are resolved while the folder is there.
QString Canonical(const QString& dir) {
  const QFileInfo info(dir);
  QString path = info.canonicalFilePath();
  if (path.isEmpty()) {
    path = QDir::cleanPath(info.absoluteFilePath());
  }
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
}  // namespace

QStringList WithRecentRun(QStringList runs, const QString& dir) {
  const QString entry = Canonical(dir);
  runs.removeIf([&](const QString& r) { return Canonical(r) == entry; });
  runs.prepend(entry);
  while (runs.size() > kMaxRecentRuns) {
    runs.removeLast();
  }
  return runs;
}

QStringList LoadRecentRuns() {
  QStringList runs = QSettings().value(QLatin1String(kKey)).toStringList();
  while (runs.size() > kMaxRecentRuns) {
    runs.removeLast();
  }
  return runs;
}

void SaveRecentRuns(const QStringList& runs) { QSettings().setValue(QLatin1String(kKey), runs); }
