#pragma once
// A file's text, read whole into memory. Read, not mapped: a file that
// another process cuts short while it is read is a read error, never a
// signal (a mapped page beyond the new end would kill the process).

#include <cstddef>
#include <memory>

class CFileText {
 public:
  // False when the file cannot be opened or read whole as it was when
  // opened, or is not a regular file (a folder, a FIFO, a device).
  bool Open(const char* path);
  const char* Data() const { return m_data ? m_data.get() : ""; }
  std::size_t Size() const { return m_size; }

 private:
  std::unique_ptr<char[]> m_data;
  std::size_t m_size = 0;
};
