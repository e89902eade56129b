#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "RegularFile.h"

CMappedFile::~CMappedFile() {
  if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
}

bool CMappedFile::Open(const char* path) {
  const int fd = OpenRegularFile(path, m_size);
  if (fd < 0) {
    m_size = 0;
    return false;
  }
  if (m_size == 0) {  // nothing to map: an empty text
    ::close(fd);
    return true;
  }
  void* map = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) {
    m_size = 0;
    return false;
  }
  ::madvise(map, m_size, MADV_SEQUENTIAL);
  m_data = static_cast<const char*>(map);
  return true;
}
