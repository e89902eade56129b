#include "RecentRuns.h"

#include <QDir>
#include <QSettings>

namespace {
const char kKey[] = "recentRuns";

// One spelling per folder: "/a/run", "/a/run/" and "/a/./run/" are the same.
QString Canonical(const QString& dir) { return QDir::cleanPath(dir) + QLatin1Char('/'); }
}  // namespace

QStringList WithRecentRun(QStringList runs, const QString& dir) {
  const QString entry = Canonical(dir);
  runs.removeIf([&](const QString& r) { return Canonical(r) == entry; });
  runs.prepend(entry);
  while (runs.size() > kMaxRecentRuns) runs.removeLast();
  return runs;
}

QStringList LoadRecentRuns() {
  QStringList runs = QSettings().value(QLatin1String(kKey)).toStringList();
  while (runs.size() > kMaxRecentRuns) runs.removeLast();
  return runs;
}

void SaveRecentRuns(const QStringList& runs) { QSettings().setValue(QLatin1String(kKey), runs); }
