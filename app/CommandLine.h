#pragma once
// The command-line modes of the program.

#include <QStringList>

// Exit codes: 0 success, 1 the run (or file) could not be read, 2 bad arguments.
// Without a text command (--info, --model-info, --export-csv, --help,
// --version) it needs a QApplication: --screenshot renders, and otherwise
// the viewer opens on DATA_DIR (or on the folder dialog without one).
// `checkOnly`: the arguments are checked (2 and a message when wrong) but
// neither the viewer nor a screenshot runs (0).
int RunCommandLine(const QStringList& arguments, bool checkOnly = false);
// Whether the arguments (the program's name first) ask for a text command,
// which needs no display.
bool IsTextCommand(const QStringList& arguments);
// Whether the arguments ask for pictures and no window (--screenshot,
// --figure, --movie): such a command needs no display.
bool IsPictureCommand(const QStringList& arguments);
int RunInfoCommand(const QString& dataDir, bool json);
int RunModelInfoCommand(const QString& file, bool json);
