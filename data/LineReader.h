#pragma once
// Reads a text file line by line with the data files' line rules: a line
// (counting its line break) of at most 255 characters is read whole; of a
// longer one the first 255 characters read as a line, and the rest of it is
// one line that is too long; LF, CR LF and a lone CR end a line alike. Only a
// regular file opens, and no more is read than its size when it was opened. The file
// is streamed through one buffer, so big files cost no more memory than small.

#include <QString>
#include <cstddef>
#include <vector>

struct TextLine {
  const char* text;    // the line without its line break; not NUL-terminated
  std::size_t length;  // characters before the line break (a CR before LF excluded)
  bool hasBreak;       // the line ended with a line break (not end of file)
  bool tooLong;        // the rest of a line beyond its first 255 characters: text is empty
  // Whether strlen on the 256-byte line buffer (characters up to the first
  // NUL, plus the line break) is below n, looking no further than n characters.
  bool CStringShorterThan(std::size_t n) const;
};

class CLineReader {
 public:
  static constexpr std::size_t kMaxLine = 255;

  CLineReader() = default;
  ~CLineReader();
  CLineReader(const CLineReader&) = delete;
  CLineReader& operator=(const CLineReader&) = delete;

  bool Open(const QString& path);
  bool Next(TextLine& line);

 private:
  void Fill();
  void TakeHead(TextLine& line, const char* start);

  int m_fd = -1;
  std::vector<char> m_buf;
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
  std::size_t m_remaining = 0;  // bytes of the file not read yet, of its size when opened
  bool m_eof = false;
  bool m_bInTail = false;
};

// Reads a whole (small) file into a string, with the same rules for opening;
// false when it cannot be opened or held in memory.
bool ReadWholeFile(const QString& path, std::string& out);
