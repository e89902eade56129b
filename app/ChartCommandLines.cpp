// The command lines of a chart's outputs: --export-csv, its numbers, and
// --figure, its picture. Both take an option and its quantities, the runs
// compared and a thickness profile alike.

#include <QCommandLineParser>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "CaptionTables.h"
#include "CurveSelection.h"
#include "ExportCommand.h"
#include "FigureCommand.h"
#include "ScienceLogic.h"
#include "ScreenshotOptions.h"
#include "internal/CommandLines.h"

namespace cli {

namespace {
// "0" or "0,1,5": the quantities of --quantity; none for anything else.
std::optional<std::vector<int>> ParseQuantities(const QString& value) {
  std::vector<int> quantities;
  for (const QString& q : value.split(QLatin1Char(','))) {
    bool ok = false;
    quantities.push_back(q.trimmed().toInt(&ok));
    if (!ok) {
      return std::nullopt;
    }
  }
  return quantities;
}

// The quantities asked for: the first of the option's without --quantity.
std::optional<std::vector<int>> QuantitiesOf(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  return parser.isSet(o.quantity) ? ParseQuantities(parser.value(o.quantity)) : std::vector<int>{0};
}

// The runs and parts of a chart: DATA_DIR's, the runs compared beside it
// and their difference, all parts or the option's. 0, or 2 (said).
template <typename ChartOptions>
int ReadChartRuns(const QCommandLineParser& parser, ChartOptions& options) {
  const Options& o = TheOptions();
  options.dataDir = parser.positionalArguments().front();
  options.compareDirs = parser.values(o.compare);
  options.allParts = parser.isSet(o.allParts);
  options.difference = parser.isSet(o.difference);
  if (options.difference && options.compareDirs.isEmpty()) {
    return Refuse(QStringLiteral("--difference goes with --compare."));
  }
  return 0;
}

// --profile-at: the thickness profile of one quantity at a minute, in
// `minute`. 0, or 2 (said).
int ReadProfileAt(const QCommandLineParser& parser, std::size_t quantities, std::optional<double>* minute) {
  const Options& o = TheOptions();
  if (!parser.isSet(o.profileAt)) {
    return 0;
  }
  if (parser.isSet(o.allParts) || quantities > 1) {
    return Refuse(
        QStringLiteral("--profile-at draws one quantity; it does not go with --all-parts or several quantities."));
  }
  *minute = ParseProfileMinute(parser.value(o.profileAt));
  return minute->has_value() ? 0 : 2;
}

// What a chart has no room for is known before any run loads (a batch
// checks it with the rest of its entries): said in the view's words, 2.
// An option or quantity that is not there is left for the command to name.
int ChartRefusal(int option, const std::vector<int>& quantities, bool allParts, qsizetype compared) {
  const OptionId id = DecodeOption(option);
  if (!IsOptionId(option) || !IsChartKind(id.kind) ||
      std::any_of(quantities.begin(), quantities.end(), [&](int q) { return q < 0 || q >= PropertyCount(id.kind); })) {
    return 0;
  }
  QString refusal;
  SelectCurves(id.part, id.kind, quantities, allParts, 1 + static_cast<int>(compared), &refusal);
  if (refusal.isEmpty()) {
    return 0;
  }
  Print(stderr, QStringLiteral("corvane: %1\n").arg(refusal));
  return 2;
}

// The figure's size: --size in pixels, or --width-mm at --dpi. 0, or 2 (said).
int ReadFigureSize(const QCommandLineParser& parser, FigureSize* size) {
  const Options& o = TheOptions();
  if (parser.isSet(o.size) && (parser.isSet(o.widthMm) || parser.isSet(o.dpi))) {
    return Refuse(QStringLiteral("--size and --width-mm do not go together."));
  }
  if (parser.isSet(o.size)) {
    ScreenshotOptions sized;
    QString error;
    if (!ParseScreenshotValue(QStringLiteral("size"), parser.value(o.size), sized, error)) {
      return Refuse(QStringLiteral("%1.").arg(error));
    }
    size->pixels = sized.size;
  } else if (parser.isSet(o.widthMm) || parser.isSet(o.dpi)) {
    bool okW = false;
    bool okD = false;
    const double w = parser.value(o.widthMm).toDouble(&okW);
    const int n = parser.value(o.dpi).toInt(&okD);
    const std::optional<FigureSize> mm = okW && okD ? FigureSizeFromMillimetres(w, n) : std::nullopt;
    const bool inRanges = okW && okD && w >= 10 && w <= 1000 && n >= 50 && n <= 2400;
    if (!mm && inRanges) {
      // Each in its range, together too many pixels: say that limit.
      return Refuse(QStringLiteral("%1 mm at %2 dpi is %3 pixels wide; a figure is at most 20000 pixels a side.")
                        .arg(parser.value(o.widthMm), parser.value(o.dpi))
                        .arg(std::lround(w / 25.4 * n)));
    }
    if (!mm) {
      return Refuse(QStringLiteral("--width-mm takes 10 to 1000 millimetres and --dpi 50 to 2400, together."));
    }
    *size = *mm;
  }
  return 0;
}
}  // namespace

int ExportCsvCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  ExportOptions options;
  options.file = parser.value(o.exportCsv);
  bool okId = false;
  options.option = parser.value(o.option).toInt(&okId);
  const std::optional<std::vector<int>> quantities = QuantitiesOf(parser);
  if (parser.positionalArguments().size() != 1 || !okId || parser.isSet(o.screenshot) || parser.isSet(o.info)) {
    return Refuse(
        QStringLiteral("--export-csv FILE --option ID [--quantity Q[,Q...]] [--all-parts] [--compare RUN2 [--compare "
                       "RUN3 ...] [--difference]] [--profile-at MIN] DATA_DIR"));
  }
  if (!quantities) {
    return Refuse(QStringLiteral("--quantity takes a quantity from 0, or several parted by commas (0,1), not \"%1\".")
                      .arg(parser.value(o.quantity)));
  }
  options.quantities = *quantities;
  if (const int refused = ReadChartRuns(parser, options)) {
    return refused;
  }
  if (const int refused = ReadProfileAt(parser, options.quantities.size(), &options.profileAt)) {
    return refused;
  }
  if (const int refused =
          ChartRefusal(options.option, options.quantities, options.allParts, options.compareDirs.size())) {
    return refused;
  }
  return PlanOrRun(options, use, [](const ExportOptions& csv) { return RunExportCsvCommand(csv); });
}

int FigureCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  FigureOptions options;
  options.file = parser.value(o.figure);
  bool okId = false;
  options.option = parser.value(o.option).toInt(&okId);
  const std::optional<std::vector<int>> quantities = QuantitiesOf(parser);
  if (quantities) {
    options.quantities = *quantities;
    options.quantity = options.quantities.front();
  }
  if (parser.positionalArguments().size() != 1 || !okId || !quantities || parser.isSet(o.screenshot) ||
      parser.isSet(o.movie) || parser.isSet(o.exportCsv) || parser.isSet(o.info) || parser.isSet(o.modelInfo)) {
    return Refuse(
        QStringLiteral("--figure FILE --option ID [--quantity Q[,Q...]] [--all-parts] [--compare RUN2 [--compare RUN3 "
                       "...] [--difference]] [--profile-at MIN] [--size WxH | --width-mm W --dpi N] DATA_DIR"));
  }
  if (const int refused = ReadChartRuns(parser, options)) {
    return refused;
  }
  if (const int refused = ReadFigureSize(parser, &options.size)) {
    return refused;
  }
  if (const int refused = ReadProfileAt(parser, options.quantities.size(), &options.profileAt)) {
    return refused;
  }
  // A figure is the chart alone: nothing of the 3D scenes or of a movie.
  for (const QCommandLineOption& scene :
       {o.view, o.step, o.content, o.layer, o.section, o.frame, o.window, o.outlined, o.speed, o.fps}) {
    if (parser.isSet(scene)) {
      return Refuse(QStringLiteral("--%1 does not go with --figure.").arg(scene.names().front()));
    }
  }
  if (const int refused =
          ChartRefusal(options.option, options.quantities, options.allParts, options.compareDirs.size())) {
    return refused;
  }
  return PlanOrRun(options, use, [](const FigureOptions& figure) { return RunFigureCommand(figure); });
}

}  // namespace cli
