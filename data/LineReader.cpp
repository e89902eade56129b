#include "LineReader.h"

#include <QFile>

#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kChunk = 1 << 20;

int OpenForReading(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return fd;
}
}  // namespace

std::size_t TextLine::CStringLength() const {
  const void* nul = length ? std::memchr(text, '\0', length) : nullptr;
  if (nul) return static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  return length + (hasBreak ? 1 : 0);
}

CLineReader::~CLineReader() {
  if (m_fd >= 0) ::close(m_fd);
}

bool CLineReader::Open(const QString& path) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = OpenForReading(path);
  m_pos = m_end = 0;
  m_eof = false;
  if (m_fd < 0) return false;
  m_buf.resize(kChunk + kMaxLine + 2);
  return true;
}

// Moves the unread tail to the front and reads more; false at end of file.
bool CLineReader::Fill() {
  if (m_eof) return false;
  std::size_t tail = m_end - m_pos;
  if (tail && m_pos) std::memmove(m_buf.data(), m_buf.data() + m_pos, tail);
  m_pos = 0;
  m_end = tail;
  while (m_end < m_buf.size()) {
    ssize_t n = ::read(m_fd, m_buf.data() + m_end, m_buf.size() - m_end);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_eof = true;
      break;
    }
    m_end += static_cast<std::size_t>(n);
    if (m_end - tail >= kChunk / 2) break;
  }
  return m_end > tail;
}

bool CLineReader::Next(TextLine& line) {
  if (m_fd < 0) return false;
  bool skipping = false;  // inside a line already known to be too long
  for (;;) {
    char* base = m_buf.data();
    char* start = base + m_pos;
    std::size_t avail = m_end - m_pos;
    char* nl = avail ? static_cast<char*>(std::memchr(start, '\n', avail)) : nullptr;
    if (nl) {
      std::size_t len = static_cast<std::size_t>(nl - start);
      m_pos += len + 1;
      if (!skipping && len && start[len - 1] == '\r') --len;
      line.hasBreak = true;
      line.tooLong = skipping || len + 1 > kMaxLine;
      line.text = start;
      line.length = line.tooLong ? 0 : len;
      return true;
    }
    // No line break in the buffer: a line longer than the limit is dropped
    // while it streams past; a shorter one waits for more data.
    if (avail > kMaxLine + 1) {
      skipping = true;
      m_pos = m_end - 1;  // keep one character: it may be a CR before the LF
    }
    if (!Fill()) {
      avail = m_end - m_pos;
      if (avail == 0 && !skipping) return false;
      start = m_buf.data() + m_pos;
      std::size_t len = avail;
      m_pos = m_end;
      if (!skipping && len && start[len - 1] == '\r') --len;
      line.hasBreak = false;
      line.tooLong = skipping || len > kMaxLine;
      line.text = start;
      line.length = line.tooLong ? 0 : len;
      return true;
    }
  }
}

bool ReadWholeFile(const QString& path, std::string& out) {
  int fd = OpenForReading(path);
  if (fd < 0) return false;
  out.clear();
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}
