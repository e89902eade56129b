#pragma once
// `corvane --study FILE RUN...`: the figures of a study of several runs
// (StudySummary.h), one CSV row per run, written whole to FILE.

#include <QString>
#include <QStringList>

class CRunCache;

struct StudyOptions {
  QString file;
  QStringList runs;  // the runs' folders, in the order of the rows
};

// 0 written; 1 when a run does not load or the file cannot be written;
// 2 when the file is one of a run's own. `runs`: where the runs come from (a
// batch's); without it, its own.
int RunStudyCommand(const StudyOptions& options, CRunCache* runs = nullptr);
