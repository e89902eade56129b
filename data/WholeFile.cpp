#include "WholeFile.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "LockedTemporary.h"

namespace {
QString Failure(const QString& path, int err) {
  return QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(err)));
}
}  // namespace

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
    *error = QStringLiteral("cannot write %1: not a regular file").arg(path);
    return false;
  }
  const QFileInfo info(path);
  const QString folder = info.absolutePath();
  const QString prefix = QStringLiteral(".") + info.fileName() + QStringLiteral(".");
  // A suffix of our own: another program's temporaries of that name (rsync
  // writes ".NAME.XXXXXX") are never taken for ours.
  const QString suffix = QStringLiteral(".corvane");
  // What a writer killed before us left of this file.
  RemoveAbandonedTemporaries(folder, prefix, suffix);
  CLockedTemporary temp;
  if (!temp.Create(folder, prefix, suffix) || !temp.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) ||
      !temp.CommitTo(path)) {
    *error = Failure(path, errno);
    return false;
  }
  return true;
}
