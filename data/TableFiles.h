#pragma once
// Parsing whole data files into rows: each function reads one file with the
// line rules and its line format and keeps every row and the number of
// unreadable lines. Pure and thread-safe, so several files parse at once; what
// the rows mean to the store is applied afterwards, in file order.

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "Rows.h"

// Where a file's rows and its unreadable lines stood, so that a row can be
// named by its line without a number kept per row: a row's line is the
// previous row's plus one except at a break (a header, a bad line), and only
// breaks are kept. Lines count from 1; the rest of a long line keeps the
// number of its head.
class CLineMap {
 public:
  // Unreadable lines are kept in at most this many runs; past it, a hole is
  // named by the rows around it alone.
  static constexpr std::size_t kMaxRuns = std::size_t{1} << 16;

  void AddRow(std::size_t row, std::uint64_t line);
  void AddUnreadable(std::uint64_t line);
  void SetLines(std::uint64_t lines) { m_lines = lines; }

  std::uint64_t Lines() const { return m_lines; }
  std::uint64_t LineOf(std::size_t row) const;
  // How many kept unreadable lines lie strictly between lines a and b, and
  // the k-th of them (from 0).
  std::uint64_t UnreadableBetween(std::uint64_t a, std::uint64_t b) const;
  std::uint64_t NthUnreadableAfter(std::uint64_t a, std::uint64_t k) const;

 private:
  std::uint64_t UnreadableUpTo(std::uint64_t line) const;
  struct Break {
    std::size_t row;
    std::uint64_t line;
  };
  struct Run {
    std::uint64_t first, count, before;  // `before`: kept lines in the runs ahead of it
  };
  std::vector<Break> m_breaks;
  std::vector<Run> m_runs;
  std::uint64_t m_lastRowLine = 0;
  std::uint64_t m_lines = 0;
};

// Fields that held no number (ScanLine.h), for one message: the first few
// named by line, column and text, the rest counted.
class CBadNumbers {
 public:
  static constexpr std::size_t kNamed = 3;
  // Field bits `bad` of `line` (numbered `lineNo`); `rowLeftOut`: a field that
  // places the row was among them, so the line is unreadable.
  void Add(std::uint64_t lineNo, const char* text, std::size_t length, std::uint32_t bad, bool rowLeftOut);
  bool Empty() const { return m_named.empty(); }
  // "bodyProperty.dat: line 7, column 3 holds \"inf\", which is no number; that value is left out"
  QString Text(const QString& file) const;

 private:
  struct Named {
    std::uint64_t line;
    int column;  // from 1
    QString text;
    bool rowLeftOut;
  };
  std::vector<Named> m_named;
  std::uint64_t m_more = 0;
};

template <class Row>
struct ParsedFile {
  bool opened = false;       // the file opened and was read through
  bool tooBig = false;       // it opened but did not fit in memory (then not `opened`)
  bool empty = true;         // it held no line at all
  bool ninthColumn = false;  // a fabric row carried the optional ninth value
  std::vector<Row> rows;
  int unreadable = 0;
  CLineMap lines;
  CBadNumbers badNumbers;
};

// (clang-tidy 14 reads this name as a reserved "__i0", wrongly.)
struct ParsedComfort {  // NOLINT(bugprone-reserved-identifier)
  bool opened = false;
  bool tooBig = false;
  bool empty = true;
  std::vector<ComfortRow> parts[kBodyPartCount];
  int unreadable = 0;
  CBadNumbers badNumbers;
  CLineMap lines;                    // of the rows of every part, in file order
  std::vector<std::uint8_t> partOf;  // the part of each of those rows
};

// With `exact`, each kept row's fields are appended to it too, as
// ExactFields.h reads them (a row's fields, all of them, in file order).
ParsedFile<FiberRow> ParseFiberFile(const QString& path, std::vector<double>* exact = nullptr);
// Relative humidity stays the file's percent; lines shorter than 9 characters
// are skipped without being counted.
ParsedFile<FabricRow> ParseFabricFile(const QString& path, std::vector<double>* exact = nullptr);
ParsedFile<BodyPropertyRow> ParseBodyFile(const QString& path, std::vector<double>* exact = nullptr);
// Rows of a part index outside 0..5 are dropped without being counted.
ParsedComfort ParseComfortFile(const QString& path, std::vector<double>* exact = nullptr);

// Runs the tasks on up to `threads` threads (the caller's included); returns
// when all are done. Tasks are started in the order given.
void RunTasks(std::vector<std::function<void()>>& tasks, unsigned threads);
