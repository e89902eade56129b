// The command lines of a view's pictures: --screenshot, one view as the
// window shows it (or its scene alone), and --movie, a 3D view played
// through the whole run.

#include <QCommandLineParser>

#include "MovieCommand.h"
#include "OptionKind.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "ScreenshotOptions.h"
#include "internal/CommandLines.h"

namespace cli {

int MovieCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  if (const int refused = RefuseChartOptions(parser)) {
    return refused;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1 || parser.isSet(o.screenshot) || parser.isSet(o.info) || parser.isSet(o.modelInfo) ||
      parser.isSet(o.json) || !parser.isSet(o.view)) {
    return Refuse(QStringLiteral("--movie FILE.mp4 --view static|dynamic|space [options] DATA_DIR"));
  }
  MovieOptions options;
  options.scene.file = parser.value(o.movie);
  options.scene.dataDir = positional.front();
  options.scene.outlinedLabels = parser.isSet(o.outlined);
  for (const QCommandLineOption& played : {o.view, o.content, o.layer, o.section, o.size, o.speed, o.fps}) {
    QString error;
    if (parser.isSet(played) && !ParseMovieValue(played.names().front(), parser.value(played), options, error)) {
      return Refuse(QStringLiteral("%1.").arg(error));
    }
  }
  // A movie plays the whole run with the program's own models: what picks
  // one step or frame, the scientific view's options and a model service
  // are a screenshot's.
  for (const QCommandLineOption& still :
       {o.step, o.frame, o.window, o.option, o.quantity, o.modelService, o.profileAt}) {
    if (parser.isSet(still)) {
      return Refuse(QStringLiteral("--%1 goes with --screenshot, not --movie.").arg(still.names().front()));
    }
  }
  return PlanOrRun(options, use, [](const MovieOptions& movie) { return RunMovieCommand(movie); });
}

int ScreenshotCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  if (const int refused = RefuseChartOptions(parser)) {
    return refused;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1 || parser.isSet(o.info) || parser.isSet(o.modelInfo) || parser.isSet(o.json) ||
      !parser.isSet(o.view)) {
    return Refuse(QStringLiteral("--screenshot FILE --view VIEW [options] DATA_DIR"));
  }
  ScreenshotOptions options;
  options.file = parser.value(o.screenshot);
  options.dataDir = positional.front();
  options.compareDirs = parser.values(o.compare);
  options.difference = parser.isSet(o.difference);
  options.window = parser.isSet(o.window);
  if (options.difference && parser.isSet(o.option) && !parser.isSet(o.profileAt) &&
      !IsChartKind(DecodeOption(parser.value(o.option).toInt()).kind)) {
    Print(stderr, QStringLiteral("corvane: --difference goes with a chart or a thickness profile; option %1 is a "
                                 "line plot.\n")
                      .arg(parser.value(o.option)));
    return 2;
  }
  options.outlinedLabels = parser.isSet(o.outlined);
  if (options.window && parser.isSet(o.size)) {
    return Refuse(QStringLiteral("--window and --size do not go together."));
  }
  for (const QCommandLineOption& scene : o.Scene()) {
    if (!parser.isSet(scene)) {
      continue;
    }
    QString error;
    if (!ParseScreenshotValue(scene.names().front(), parser.value(scene), options, error)) {
      return Refuse(QStringLiteral("%1.").arg(error));
    }
  }
  return PlanOrRun(options, use, [](const ScreenshotOptions& shot) { return RunScreenshotCommand(shot); });
}

}  // namespace cli
