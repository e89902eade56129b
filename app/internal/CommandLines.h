#pragma once
// The command line's pieces: every option of the program, what several
// commands share (where their words go, the checks of options that belong
// to another command), and a function per command that reads its options,
// checks them and runs or plans it. CommandLine.cpp picks the command.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <cstdio>
#include <optional>

#include "CommandLine.h"

namespace cli {

// Every option of the program, each defined once, in the order --help lists
// them. The arguments are read against all of them whichever command they
// ask for: an option's value is taken as that option says, and an option
// given to a command that does not take it is refused in that command's
// words (or let be, where the program always has), never called unknown.
struct Options {
  Options();
  // --help's list.
  QList<QCommandLineOption> All() const;
  // What --screenshot sets its scene up from, in the order they are read.
  QList<QCommandLineOption> Scene() const;

  QCommandLineOption help, version, info, json, modelInfo, screenshot, movie, figure, view, step, content, layer,
      section, frame, size, window, widthMm, dpi, outlined, speed, fps, option, quantity, exportCsv, modelService,
      downloadTimeout, compare, allParts, profileAt, difference, batch, task, tasks, study;
};
const Options& TheOptions();

// How a command line is taken: run, or checked alone (`checkOnly`); a batch
// that plans its outputs gets what each would write in `plan`.
struct CommandUse {
  bool checkOnly = false;
  PlannedCommand* plan = nullptr;
};

// Writes `s` to `f`; what goes to standard error goes to the batch's
// `said` instead while it plans (SayInto).
void Print(FILE* f, const QString& s);
// Where standard error's words go from now on: `said`, or (nullptr)
// standard error itself.
void SayInto(QString* said);
// Says what is wrong with the arguments, and where to look: 2.
int Refuse(const QString& what);

// Reads `arguments` into `parser` and does what holds for every command:
// refuses what cannot be parsed and an option given twice, answers --help
// and --version, and takes --download-timeout and the number of --compare
// runs. The exit code when that is all, else none.
std::optional<int> ReadArguments(QCommandLineParser& parser, const QStringList& arguments);
// 2 (said) when --task or --tasks is given without --batch; else 0.
int RefuseShareOptions(const QCommandLineParser& parser);
// 2 (said) when an option of the charts' commands is given to a command that
// takes none of it (--all-parts, --compare, --difference, --width-mm,
// --dpi); else 0. A science screenshot takes --compare.
int RefuseChartOptions(const QCommandLineParser& parser);

// The end of a command that writes an output: the options are the plan
// when a batch asks for one, and the command runs unless only checked.
template <typename CommandOptions, typename Run>
int PlanOrRun(const CommandOptions& options, const CommandUse& use, Run run) {
  if (use.plan) {
    *use.plan = options;
  }
  return use.checkOnly ? 0 : run(options);
}

// The commands, each on arguments that ReadArguments has read.
int BatchCommand(const QCommandLineParser& parser, const CommandUse& use);
int StudyCommand(const QCommandLineParser& parser, const CommandUse& use);
int ExportCsvCommand(const QCommandLineParser& parser, const CommandUse& use);
int FigureCommand(const QCommandLineParser& parser, const CommandUse& use);
int MovieCommand(const QCommandLineParser& parser, const CommandUse& use);
int ScreenshotCommand(const QCommandLineParser& parser, const CommandUse& use);
// --model-info and --info write no file: they print what they read even
// when the arguments are only checked.
int ModelInfoCommand(const QCommandLineParser& parser);
int InfoCommand(const QCommandLineParser& parser);
int ViewerCommand(const QCommandLineParser& parser, const CommandUse& use);

}  // namespace cli
