#pragma once
// The text of a model, handed to the reader a run of whole lines at a time.
// A file is read a piece at a time into one buffer, never whole: the text of
// a big model would otherwise take more memory than the model made of it.
// Every run ends with a line break (one is added to a last line without), so
// that the reader may scan a line up to its break without checking where the
// run ends.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

// Where the text comes from: a text in memory or an open file, read with
// pread so that two readers may share it.
class CObjInput {
 public:
  CObjInput(const char* text, std::size_t size) : m_text(text), m_size(size) {}
  CObjInput(int fd, std::size_t size) : m_fd(fd), m_size(size) {}
  std::size_t Size() const { return m_size; }
  bool InMemory() const { return m_fd < 0; }
  const char* Text() const { return m_text; }
  // Bytes [offset, offset + count) of the text (cut at its end): in memory,
  // the text itself; from a file, read into `buffer`. False on a read error.
  bool Peek(std::size_t offset, std::size_t count, std::string& buffer, const char*& begin, const char*& end) const;
  // Reads exactly `count` bytes at `offset` into `to`: false when the file
  // ends sooner (another process cut it short) or cannot be read.
  bool ReadAt(std::size_t offset, char* to, std::size_t count) const;
  // Whether a read found the file shorter than it was when opened.
  bool Shrunk() const { return m_bShrunk; }

 private:
  const char* m_text = nullptr;
  int m_fd = -1;
  std::size_t m_size;
  // Set by either of two reading threads; read once both are done.
  mutable std::atomic<bool> m_bShrunk{false};
};

// The lines of bytes [begin, end) of an input, in runs of whole lines.
class CLineSource {
 public:
  CLineSource(const CObjInput& input, std::size_t begin, std::size_t end)
      : m_input(input), m_offset(begin), m_end(end) {}
  // The next run: false at the end of the range or on a read error.
  bool Next(const char*& begin, const char*& end);
  bool Failed() const { return m_bFailed; }

 private:
  bool NextInMemory(const char*& begin, const char*& end);
  void Reserve(std::size_t bytes);

  const CObjInput& m_input;
  std::size_t m_offset, m_end;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::size_t m_held = 0;   // bytes in the buffer
  std::size_t m_given = 0;  // of them, handed out by the last run
  std::string m_lastLine;   // a text's last line without a break, with one
  bool m_bFailed = false;
};
