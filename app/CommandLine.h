#pragma once
// The command-line modes of the program.

#include <QStringList>

// Exit codes: 0 success, 1 the run (or file) could not be read, 2 bad arguments.
int RunCommandLine(const QStringList& arguments);
int RunInfoCommand(const QString& dataDir, bool json);
int RunModelInfoCommand(const QString& file, bool json);
