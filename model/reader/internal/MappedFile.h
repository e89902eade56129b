#pragma once
// A read-only file mapped into memory, read straight from the page cache
// without a copy; unmapped when the object goes.

#include <cstddef>

class CMappedFile {
 public:
  CMappedFile() = default;
  ~CMappedFile();
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;

  // False when the file cannot be opened or mapped, or is not a regular file
  // (a folder, a FIFO, a device).
  bool Open(const char* path);
  const char* Data() const { return m_data ? m_data : ""; }
  std::size_t Size() const { return m_size; }

 private:
  const char* m_data = nullptr;
  std::size_t m_size = 0;
};
