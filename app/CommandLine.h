#pragma once
// The command-line modes of the program.

#include <QStringList>
#include <variant>

#include "ExportCommand.h"
#include "FigureCommand.h"
#include "MovieCommand.h"
#include "ScreenshotOptions.h"
#include "StudyCommand.h"

// Exit codes: 0 success, 1 the run (or file) could not be read, 2 bad arguments.
// Without a text command (--info, --model-info, --export-csv, --study,
// --help, --version) it needs a QApplication: --screenshot renders, and otherwise
// the viewer opens on DATA_DIR (or on the folder dialog without one).
// `checkOnly`: the arguments are checked (2 and a message when wrong) but
// neither the viewer nor a screenshot runs (0).
int RunCommandLine(const QStringList& arguments, bool checkOnly = false);
// Whether the arguments (the program's name first) ask for a text command,
// which needs no display.
bool IsTextCommand(const QStringList& arguments);
// Whether the arguments ask for pictures and no window (--screenshot,
// --figure, --movie, --batch): such a command needs no display.
bool IsPictureCommand(const QStringList& arguments);
int RunInfoCommand(const QString& dataDir, bool json);

// A command that writes an output, as the command line asks for it: parsed
// and checked, not run.
using PlannedCommand =
    std::variant<std::monostate, ExportOptions, FigureOptions, ScreenshotOptions, MovieOptions, StudyOptions>;
// Parses `arguments` with the very rules of RunCommandLine, into `plan`
// (monostate for a command that writes no output); what it would say on
// standard error goes to `said` instead. The exit code RunCommandLine would
// give a wrong command line, else 0.
int PlanCommandLine(const QStringList& arguments, PlannedCommand* plan, QString* said);
int RunModelInfoCommand(const QString& file, bool json);
