// plain_load RUN_DIR: the plain way to read a run (fgets + sscanf, one row at
// a time, one file after the other) as a process of its own, for timing it
// against `corvane --info RUN_DIR`. Prints the rows it read.

#include <QDir>
#include <QStringList>
#include <cstdio>
#include <string>

#include "PlainLoader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plain_load RUN_DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  if (dir.back() != '/') dir += '/';
  const QStringList fibers =
      QDir(QString::fromStdString(dir)).entryList({QStringLiteral("Fiber*.dat")}, QDir::Files, QDir::Name);
  const PlainRun run = PlainLoad(dir, fibers.value(0).toStdString(), fibers.value(1).toStdString());
  std::size_t rows = run.body.size() + run.fibers[0].size() + run.fibers[1].size();
  for (int p = 0; p < kBodyPartCount; ++p) rows += run.fabric[p].size() + run.comfort[p].size();
  std::printf("%zu rows, %zu bytes\n", rows, run.bytes);
  return rows ? 0 : 1;
}
