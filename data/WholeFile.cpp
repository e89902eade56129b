#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace {
QString Failure(const QString& path, const QString& reason) {
  return QStringLiteral("cannot write %1: %2").arg(path, reason);
}
QString Reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }
}  // namespace

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
  const QByteArray target = QFile::encodeName(path);
  struct stat st {};
  if (::lstat(target.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
    *error = Failure(path, QStringLiteral("not a regular file"));
    return false;
  }
  const QFileInfo info(path);
  QByteArray temp =
      QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    *error = Failure(path, Reason(errno));
    return false;
  }
  // mkstemp makes the file its owner's alone; the target gets the mode a
  // new file gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  int failed = 0;
  const char* data = bytes.constData();
  qsizetype done = 0;
  while (done < bytes.size() && failed == 0) {
    const ssize_t n = ::write(fd, data + done, static_cast<std::size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      failed = n < 0 ? errno : ENOSPC;
    } else {
      done += n;
    }
  }
  // A file system may say it is full only when the data reach the disk.
  if (failed == 0 && ::fsync(fd) != 0) {
    failed = errno;
  }
  if (::close(fd) != 0 && failed == 0) {
    failed = errno;
  }
  if (failed == 0 && ::rename(temp.constData(), target.constData()) != 0) {
    failed = errno;
  }
  if (failed != 0) {
    ::unlink(temp.constData());
    *error = Failure(path, Reason(failed));
    return false;
  }
  return true;
}
