#include "LockedTemporary.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

namespace {
constexpr int kRandomChars = 6;  // what mkostemps puts in place of "XXXXXX"

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The process's umask, read without setting it: umask() would change it for
// every thread for a moment (a file another thread makes meanwhile would be
// anyone's to write). Linux says it in /proc; elsewhere, once, at first use.
mode_t ProcessUmask() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("Umask:")) {
        bool ok = false;
        const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
        if (ok) {
          return static_cast<mode_t>(mask);
        }
      }
    }
  }
  static const mode_t once = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  return once;
}
}  // namespace

CLockedTemporary::~CLockedTemporary() { Discard(); }

bool CLockedTemporary::Create(const QString& folder, const QString& prefix, const QString& suffix) {
  Discard();
  const QByteArray tail = QFile::encodeName(suffix);
  for (int attempt = 0; attempt < 100; ++attempt) {
    QByteArray name = QFile::encodeName(folder + QLatin1Char('/') + prefix) + QByteArray(kRandomChars, 'X') + tail;
    const int fd = ::mkostemps(name.data(), static_cast<int>(tail.size()), O_CLOEXEC);
    if (fd < 0) {
      return false;
    }
    // A cleaner may have taken the new file between its making and our lock:
    // the lock is ours once the name still leads to the file we opened.
    struct stat mine {
    }, named{};
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (::fstat(fd, &mine) == 0 && ::lstat(name.constData(), &named) == 0 && SameFile(mine, named)) {
      m_fd = fd;
      m_native = name;
      m_path = QFile::decodeName(name);
      return true;
    }
    ::close(fd);
  }
  errno = EEXIST;
  return false;
}

bool CLockedTemporary::Write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(m_fd, data, size);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      if (n == 0) {
        errno = ENOSPC;
      }
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CLockedTemporary::CommitTo(const QString& target) {
  if (m_fd < 0) {
    errno = EBADF;
    return false;
  }
  ::fchmod(m_fd, 0666 & ~ProcessUmask());
  // A file system may say it is full only when the data reach the disk.
  if (::fsync(m_fd) != 0 || ::rename(m_native.constData(), QFile::encodeName(target).constData()) != 0) {
    const int failed = errno;
    Discard();
    errno = failed;
    return false;
  }
  // The lock goes with the descriptor, after the rename: no cleaner saw the
  // name free while it still led to our file.
  ::close(m_fd);
  m_fd = -1;
  m_native.clear();
  m_path.clear();
  return true;
}

void CLockedTemporary::Discard() {
  if (m_fd < 0) {
    return;
  }
  ::unlink(m_native.constData());
  ::close(m_fd);
  m_fd = -1;
  m_native.clear();
  m_path.clear();
}

int RemoveAbandonedTemporaries(const QString& folder, const QString& prefix, const QString& suffix) {
  QDir dir(folder);
  int removed = 0;
  // Compared by hand, not as a wildcard pattern: a name may hold "[1]" or "*".
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (name.size() != prefix.size() + kRandomChars + suffix.size() || !name.startsWith(prefix) ||
        !name.endsWith(suffix)) {
      continue;
    }
    const QByteArray path = QFile::encodeName(dir.filePath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      continue;
    }
    struct stat held {
    }, named{};
    // A lock we take is a writer gone; the name must still lead to that file.
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.constData(), &named) == 0 && SameFile(held, named) && ::unlink(path.constData()) == 0) {
      ++removed;
    }
    ::close(fd);
  }
  return removed;
}
