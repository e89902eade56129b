#pragma once
// Parsing whole data files into rows: each function reads one file with the
// line rules and its line format and keeps every row and the number of
// unreadable lines. Pure and thread-safe, so several files parse at once; what
// the rows mean to the store is applied afterwards, in file order.

#include <QString>
#include <functional>
#include <vector>

#include "Rows.h"

template <class Row>
struct ParsedFile {
  bool opened = false;       // the file opened and was read through
  bool tooBig = false;       // it opened but did not fit in memory (then not `opened`)
  bool empty = true;         // it held no line at all
  bool ninthColumn = false;  // a fabric row carried the optional ninth value
  std::vector<Row> rows;
  int unreadable = 0;
};

struct ParsedComfort {
  bool opened = false;
  bool tooBig = false;
  bool empty = true;
  std::vector<ComfortRow> parts[kBodyPartCount];
  int unreadable = 0;
};

ParsedFile<FiberRow> ParseFiberFile(const QString& path);
// Relative humidity is divided by 100 here; lines shorter than 9 characters
// are skipped without being counted.
ParsedFile<FabricRow> ParseFabricFile(const QString& path);
ParsedFile<BodyPropertyRow> ParseBodyFile(const QString& path);
// Rows of a part index outside 0..5 are dropped without being counted.
ParsedComfort ParseComfortFile(const QString& path);

// Runs the tasks on up to `threads` threads (the caller's included); returns
// when all are done. Tasks are started in the order given.
void RunTasks(std::vector<std::function<void()>>& tasks, unsigned threads);
