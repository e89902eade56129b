// Which command the arguments ask for. The arguments are read once, against
// every option (internal/CommandLines.h); each command then takes its own
// options and refuses those of the others.

#include "CommandLine.h"

#include <QCommandLineParser>
#include <initializer_list>
#include <optional>

#include "internal/CommandLines.h"

namespace {
int Dispatch(const QStringList& arguments, const cli::CommandUse& use) {
  QCommandLineParser parser;
  if (const std::optional<int> done = cli::ReadArguments(parser, arguments)) {
    return *done;
  }
  // One command a command line: of several given, the first of these takes
  // the arguments, and says what does not go with it.
  const cli::Options& o = cli::TheOptions();
  if (parser.isSet(o.batch)) {
    return cli::BatchCommand(parser, use);
  }
  if (parser.isSet(o.study)) {
    return cli::StudyCommand(parser, use);
  }
  if (parser.isSet(o.exportCsv)) {
    return cli::ExportCsvCommand(parser, use);
  }
  if (parser.isSet(o.figure)) {
    return cli::FigureCommand(parser, use);
  }
  if (parser.isSet(o.movie)) {
    return cli::MovieCommand(parser, use);
  }
  if (parser.isSet(o.screenshot)) {
    return cli::ScreenshotCommand(parser, use);
  }
  if (parser.isSet(o.modelInfo)) {
    return cli::ModelInfoCommand(parser);
  }
  if (parser.isSet(o.info)) {
    return cli::InfoCommand(parser);
  }
  return cli::ViewerCommand(parser, use);
}
}  // namespace

int RunCommandLine(const QStringList& arguments, bool checkOnly) { return Dispatch(arguments, {checkOnly, nullptr}); }

int PlanCommandLine(const QStringList& arguments, PlannedCommand* plan, QString* said) {
  cli::SayInto(said);
  *plan = std::monostate();
  const int code = Dispatch(arguments, {true, plan});
  cli::SayInto(nullptr);
  return code;
}

namespace {
// Whether one of `options` is among the arguments (before a "--").
bool HasOption(const QStringList& arguments, std::initializer_list<const char*> options) {
  for (const QString& a : arguments.mid(1)) {
    if (a == QLatin1String("--")) {
      break;
    }
    for (const char* option : options) {
      const QLatin1String o(option);
      if (a == o || (o.startsWith(QLatin1String("--")) && a.startsWith(o + QLatin1Char('=')))) {
        return true;
      }
    }
  }
  return false;
}
}  // namespace

bool IsTextCommand(const QStringList& arguments) {
  return HasOption(arguments, {"--info", "--model-info", "--export-csv", "--study", "--help", "-h", "--version", "-v"});
}

bool IsPictureCommand(const QStringList& arguments) {
  return HasOption(arguments, {"--screenshot", "--figure", "--movie", "--batch"});
}
