#pragma once
// The runs opened last, newest first, for File > Open Recent: kept in the
// user's settings between sessions.

#include <QString>
#include <QStringList>

constexpr int kMaxRecentRuns = 8;

// `runs` with `dir` put first: an earlier entry of the same folder goes, and
// the list keeps its newest kMaxRecentRuns.
QStringList WithRecentRun(QStringList runs, const QString& dir);

QStringList LoadRecentRuns();
void SaveRecentRuns(const QStringList& runs);
