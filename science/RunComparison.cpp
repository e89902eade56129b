#include "RunComparison.h"

#include <QDir>
#include <QFileInfo>

std::pair<QString, QString> RunLabels(const QString& firstDir, const QString& secondDir) {
  // By the names alone: a folder being compared may be gone from the disk.
  const QFileInfo a(QDir::cleanPath(firstDir)), b(QDir::cleanPath(secondDir));
  if (a.fileName() != b.fileName()) {
    return {a.fileName(), b.fileName()};
  }
  auto withParent = [](const QFileInfo& f) {
    const QString parent = QFileInfo(f.path()).fileName();
    return parent.isEmpty() ? f.fileName() : parent + QLatin1Char('/') + f.fileName();
  };
  return {withParent(a), withParent(b)};
}

QString DelimitedField(const QString& text, QChar separator) {
  if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}
