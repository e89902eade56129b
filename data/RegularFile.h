#pragma once
// Opening a file to read, for every reader of ours: only a regular file is
// read. A FIFO would block the open for ever, and a device (a link to
// /dev/zero) would never end, so neither counts as a file at all. The size
// seen at the open bounds what is read, whatever the file does meanwhile.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>

// A descriptor of the regular file at `path` (a narrow path), or -1 when it
// cannot be opened or is anything else; `size` gets its size.
inline int OpenRegularFile(const char* path, std::size_t& size) {
  // Without blocking: opening a FIFO for reading waits for a writer.
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    return -1;
  }
  // Reads of a regular file never block anyway; clear the flag all the same.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  size = static_cast<std::size_t>(st.st_size);
  return fd;
}
