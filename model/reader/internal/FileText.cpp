#include "FileText.h"

#include <unistd.h>

#include <cerrno>
#include <new>

#include "RegularFile.h"

bool CFileText::Open(const char* path) {
  m_data.reset();
  m_size = 0;
  std::size_t size = 0;
  const int fd = OpenRegularFile(path, size);
  if (fd < 0) {
    return false;
  }
  if (size == 0) {  // an empty text
    ::close(fd);
    return true;
  }
  // Not zeroed: every byte is read over.
  std::unique_ptr<char[]> data(new (std::nothrow) char[size]);
  std::size_t got = 0;
  while (data && got < size) {
    const ssize_t n = ::read(fd, data.get() + got, size - got);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;  // the file ended early: it was cut short meanwhile
    }
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (!data || got != size) {
    return false;
  }
  m_data = std::move(data);
  m_size = size;
  return true;
}
