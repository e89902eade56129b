#include "LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstring>
#include <string>

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
  m_eof = m_bInTail = false;
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

namespace {
void SetLine(TextLine& line, const char* text, std::size_t length, bool hasBreak, bool tooLong) {
  line.text = text;
  line.length = length;
  line.hasBreak = hasBreak;
  line.tooLong = tooLong;
}
}  // namespace

bool CLineReader::Next(TextLine& line) {
  if (m_fd < 0) return false;
  // After the head of a long line, the rest of it (however long) comes as
  // one unreadable line.
  const bool tail = m_bInTail;
  m_bInTail = false;
  for (;;) {
    char* start = m_buf.data() + m_pos;
    std::size_t avail = m_end - m_pos;
    char* nl = avail ? static_cast<char*>(std::memchr(start, '\n', avail)) : nullptr;
    if (nl) {
      const std::size_t raw = static_cast<std::size_t>(nl - start);
      std::size_t len = raw;
      if (!tail && len && start[len - 1] == '\r') --len;
      if (tail) {
        m_pos += raw + 1;
        return SetLine(line, start, 0, true, true), true;
      }
      if (len + 1 > kMaxLine) return TakeHead(line, start), true;
      m_pos += raw + 1;
      return SetLine(line, start, len, true, false), true;
    }
    // No line break in the buffer. More than a line's worth without one: the
    // line is too long whatever follows. A tail streams past, keeping only
    // its last character (a CR that a LF may follow).
    if (!tail && avail > kMaxLine + 1) return TakeHead(line, start), true;
    if (tail && avail > 1) m_pos = m_end - 1;
    if (!Fill()) {
      start = m_buf.data() + m_pos;
      avail = m_end - m_pos;
      if (avail == 0 && !tail) return false;
      m_pos = m_end;
      if (tail) return SetLine(line, start, 0, false, true), true;
      std::size_t len = avail;
      if (len && start[len - 1] == '\r') --len;
      if (len > kMaxLine) {
        m_pos = static_cast<std::size_t>(start - m_buf.data());
        return TakeHead(line, start), true;
      }
      return SetLine(line, start, len, false, false), true;
    }
  }
}

// The first kMaxLine characters of a long line read as a line of their own,
// as a 256-byte line buffer holds them; the rest follows as one unreadable line.
void CLineReader::TakeHead(TextLine& line, const char* start) {
  m_pos = static_cast<std::size_t>(start - m_buf.data()) + kMaxLine;
  m_bInTail = true;
  SetLine(line, start, kMaxLine, false, false);
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
