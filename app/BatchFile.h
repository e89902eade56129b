#pragma once
// A batch file: the outputs of a paper over one or more runs, written by hand
// in TOML. Each output is an [[output]] table with exactly one of `figure`,
// `csv`, `screenshot`, `movie` or `study` (the file to write), `run` (the run's
// folder; a study's `runs = [...]`) and that command's options as keys without their dashes
// (`option = 1100`, `quantity = [0, 1]`, `all-parts = true`, `width-mm = 85`,
// `compare = ["../wool"]`). Paths are relative to the batch file. Reading it
// checks what can be checked without drawing: the file, the keys, their
// types, that the runs' folders and the outputs' folders are there, and that
// no two outputs write one file. The options themselves are then checked by
// the command line's own parser (BatchCommand.h).

#include <QString>
#include <QStringList>
#include <vector>

struct BatchOutput {
  int number = 0;        // from 1, in the file's order
  QString kind;          // "figure", "csv", "screenshot" or "movie"
  QString file;          // the output, as an absolute path
  QString run;           // the run's folder, as an absolute path
  QStringList compared;  // compared runs' folders, absolute
  // The output as a command line: "corvane --figure FILE --option 1100 ... RUN".
  QStringList arguments;
  // "output 3 (figure = "fig3.pdf")": how messages name it.
  QString Name() const;
};

struct BatchFile {
  std::vector<BatchOutput> outputs;
  QString error;  // what is wrong, naming the output and the key; empty when read
};

// Reads and checks the batch file at `path`.
BatchFile ReadBatchFile(const QString& path);
