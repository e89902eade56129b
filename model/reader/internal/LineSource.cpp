#include "LineSource.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ObjReader.h"

bool CObjInput::ReadAt(std::size_t offset, char* to, std::size_t count) const {
  while (count > 0) {
    const ssize_t n = ::pread(m_fd, to, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      if (n == 0) {
        m_bShrunk = true;  // the file ended early: it was cut short meanwhile
      }
      return false;
    }
    to += n;
    offset += static_cast<std::size_t>(n);
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CObjInput::Peek(std::size_t offset, std::size_t count, std::string& buffer, const char*& begin,
                     const char*& end) const {
  offset = std::min(offset, m_size);
  count = std::min(count, m_size - offset);
  if (InMemory()) {
    begin = m_text + offset;
    end = begin + count;
    return true;
  }
  buffer.resize(count);
  if (!ReadAt(offset, buffer.data(), count)) {
    return false;
  }
  begin = buffer.data();
  end = begin + count;
  return true;
}

void CLineSource::Reserve(std::size_t bytes) {
  if (bytes <= m_capacity) {
    return;
  }
  // A line longer than a piece: the buffer grows to hold it and one piece more.
  std::unique_ptr<char[]> bigger(new char[bytes]);
  if (m_held > 0) {
    std::memcpy(bigger.get(), m_buffer.get(), m_held);
  }
  m_buffer = std::move(bigger);
  m_capacity = bytes;
}

bool CLineSource::NextInMemory(const char*& begin, const char*& end) {
  if (m_offset >= m_end) {
    return false;
  }
  const char* b = m_input.Text() + m_offset;
  const char* e = m_input.Text() + m_end;
  const void* last = ::memrchr(b, '\n', static_cast<std::size_t>(e - b));
  if (last) {
    const char* runEnd = static_cast<const char*>(last) + 1;
    m_offset += static_cast<std::size_t>(runEnd - b);
    begin = b;
    end = runEnd;
    return true;
  }
  // The text's own bytes cannot take the break it lacks: a copy can.
  m_lastLine.assign(b, e);
  m_lastLine += '\n';
  m_offset = m_end;
  begin = m_lastLine.data();
  end = begin + m_lastLine.size();
  return true;
}

bool CLineSource::Next(const char*& begin, const char*& end) {
  if (m_bFailed) {
    return false;
  }
  if (m_input.InMemory()) {
    return NextInMemory(begin, end);
  }
  // What the last run left over (the start of an unfinished line) moves to
  // the front; the next piece is read after it.
  if (m_given > 0) {
    m_held -= m_given;
    std::memmove(m_buffer.get(), m_buffer.get() + m_given, m_held);
    m_given = 0;
  }
  for (;;) {
    if (m_offset >= m_end) {
      if (m_held == 0) {
        return false;
      }
      Reserve(m_held + 1);
      m_buffer[m_held++] = '\n';  // the last line, without a break in the file
      m_given = m_held;
      begin = m_buffer.get();
      end = begin + m_held;
      return true;
    }
    const std::size_t count = std::min(kObjChunkBytes, m_end - m_offset);
    Reserve(m_held + count + 1);
    if (!m_input.ReadAt(m_offset, m_buffer.get() + m_held, count)) {
      m_bFailed = true;
      return false;
    }
    const std::size_t from = m_held;
    m_offset += count;
    m_held += count;
    const void* last = ::memrchr(m_buffer.get() + from, '\n', count);
    if (last) {
      m_given = static_cast<std::size_t>(static_cast<const char*>(last) + 1 - m_buffer.get());
      begin = m_buffer.get();
      end = begin + m_given;
      return true;
    }
  }
}
