#include "LineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "LoadCancel.h"
#include "RegularFile.h"

namespace {
constexpr std::size_t kChunk = 1 << 20;

// The UTF-8 byte-order mark some editors put before the first line: no part
// of the line, or a file saved by them would lose its first row.
constexpr char kBom[] = "\xEF\xBB\xBF";
bool StartsWithBom(const char* text, std::size_t size) { return size >= 3 && std::memcmp(text, kBom, 3) == 0; }

int OpenForReading(const QString& path, std::size_t& size) {
  const int fd = OpenRegularFile(QFile::encodeName(path).constData(), size);
  if (fd >= 0) {
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  }
  return fd;
}

// The first LF or CR in [p, end), or end: both looked for in one pass, 16
// characters at a time where the processor can, as lines are short and
// every one is looked at.
const char* FirstBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    if (hits) {
      return p + std::countr_zero(static_cast<unsigned>(hits));
    }
  }
#endif
  while (p < end && *p != '\n' && *p != '\r') {
    ++p;
  }
  return p;
}

// Where the line at `start` ends: its length, and how much the line takes
// with its break (LF, CR LF or a lone CR, as old editors write). False when no
// break is in sight yet; a CR at the very end may be the first half of a CR LF.
bool FindBreak(const char* start, std::size_t avail, bool atEnd, std::size_t& length, std::size_t& used) {
  const char* end = start + avail;
  const char* brk = FirstBreak(start, end);
  if (brk == end) {
    return false;
  }
  if (*brk == '\r') {
    if (brk + 1 == end && !atEnd) {
      return false;  // perhaps the first half of a CR LF
    }
    length = static_cast<std::size_t>(brk - start);
    used = length + 1 + (brk + 1 < end && brk[1] == '\n' ? 1 : 0);
    return true;
  }
  length = static_cast<std::size_t>(brk - start);
  used = length + 1;
  return true;
}
}  // namespace

bool TextLine::CStringShorterThan(std::size_t n) const {
  if (length + (hasBreak ? 1 : 0) < n) {
    return true;
  }
  return n > 0 && std::memchr(text, '\0', std::min(length, n)) != nullptr;
}

CLineReader::~CLineReader() {
  if (m_fd >= 0) {
    ::close(m_fd);
  }
}

bool CLineReader::Open(const QString& path) {
  if (m_fd >= 0) {
    ::close(m_fd);
  }
  m_fd = OpenForReading(path, m_remaining);
  m_pos = m_end = 0;
  m_eof = m_bInTail = false;
  if (m_fd < 0) {
    return false;
  }
  m_buf.resize(kChunk + kMaxLine + 2);
  Fill();
  if (StartsWithBom(m_buf.data(), m_end)) {
    m_pos = 3;
  }
  return true;
}

// Moves the unread rest to the front and reads more, up to the size the file
// had when it was opened.
void CLineReader::Fill() {
  if (m_eof) {
    return;
  }
  const std::size_t rest = m_end - m_pos;
  if (rest && m_pos) {
    std::memmove(m_buf.data(), m_buf.data() + m_pos, rest);
  }
  m_pos = 0;
  m_end = rest;
  if (CLoadCancelScope::Cancelled()) {
    m_remaining = 0;  // the load was abandoned
  }
  while (m_end < m_buf.size() && m_remaining > 0) {
    const ssize_t n = ::read(m_fd, m_buf.data() + m_end, std::min(m_buf.size() - m_end, m_remaining));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;
    }
    m_end += static_cast<std::size_t>(n);
    m_remaining -= static_cast<std::size_t>(n);
    if (m_end - rest >= kChunk / 2) {
      return;
    }
  }
  m_eof = true;
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
  if (m_fd < 0) {
    return false;
  }
  // After the head of a long line, the rest of it (however long) comes as
  // one unreadable line.
  const bool tail = m_bInTail;
  m_bInTail = false;
  for (;;) {
    char* start = m_buf.data() + m_pos;
    const std::size_t avail = m_end - m_pos;
    std::size_t len = 0, used = 0;
    if (FindBreak(start, avail, m_eof, len, used)) {
      if (tail) {
        m_pos += used;
        SetLine(line, start, 0, true, true);
        return true;
      }
      if (len + 1 > kMaxLine) {
        TakeHead(line, start);
        return true;
      }
      m_pos += used;
      SetLine(line, start, len, true, false);
      return true;
    }
    if (m_eof) {  // the last line, without a break
      if (avail == 0 && !tail) {
        return false;
      }
      if (tail) {
        m_pos = m_end;
        SetLine(line, start, 0, false, true);
        return true;
      }
      if (avail > kMaxLine) {
        TakeHead(line, start);
        return true;
      }
      m_pos = m_end;
      SetLine(line, start, avail, false, false);
      return true;
    }
    // More than a line's worth without a break: the line is too long
    // whatever follows. A tail streams past, keeping only its last character
    // (a CR that a LF may follow).
    if (!tail && avail > kMaxLine + 1) {
      TakeHead(line, start);
      return true;
    }
    if (tail && avail > 1) {
      m_pos = m_end - 1;
    }
    Fill();
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
  std::size_t size = 0;
  const int fd = OpenForReading(path, size);
  if (fd < 0) {
    return false;
  }
  out.clear();
  bool ok = true;
  try {
    out.resize(size);
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = ::read(fd, out.data() + got, size - got);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        break;
      }
      got += static_cast<std::size_t>(n);
    }
    out.resize(got);  // a file that shrank meanwhile
    if (StartsWithBom(out.data(), out.size())) {
      out.erase(0, 3);
    }
  } catch (const std::bad_alloc&) {
    out.clear();
    ok = false;
  }
  ::close(fd);
  return ok;
}
