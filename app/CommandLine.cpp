#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <vector>

#include "BatchCommand.h"
#include "BatchShares.h"
#include "CaptionTables.h"
#include "CorvaneApp.h"
#include "CurveSelection.h"
#include "ExportCommand.h"
#include "FigureCommand.h"
#include "ModelDownload.h"
#include "ModelInfo.h"
#include "MovieCommand.h"
#include "ObjReader.h"
#include "RunComparison.h"
#include "RunSummary.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"
#include "ScreenshotOptions.h"
#include "SimulationData.h"
#include "StudyCommand.h"

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

// Where the parser's words go instead of standard error while a batch plans.
QString* g_said = nullptr;

void Print(FILE* f, const QString& s) {
  if (f == stderr && g_said) {
    *g_said += s;
    return;
  }
  const QByteArray b = s.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
}
}  // namespace

int RunInfoCommand(const QString& dataDir, bool json) {
  CRecordingMessageSink messages;
  CSimulationData data;
  data.SetMessageSink(&messages);
  const bool loaded = data.Load(dataDir);
  for (const auto& m : messages.Entries()) {
    CStderrMessageSink::Instance().Message(m.caption, m.text, m.icon);
  }
  const QJsonObject summary = BuildRunSummary(data, loaded, messages.Entries());
  if (json) {
    Print(stdout, QString::fromUtf8(QJsonDocument(summary).toJson(QJsonDocument::Indented)));
  } else {
    Print(stdout, FormatRunSummary(summary));
  }
  return loaded ? 0 : 1;
}

int RunModelInfoCommand(const QString& file, bool json) {
  const QByteArray path = QFile::encodeName(file);
  // What the reader has to say about the file goes to standard error, so
  // that standard output holds the summary (or JSON) alone.
  ObjDiagnostics diagnostics;
  auto tellDiagnostics = [&] {
    for (const std::string& d : diagnostics) {
      Print(stderr, QString::fromStdString(d) + QLatin1Char('\n'));
    }
    diagnostics.clear();
  };
  ObjModelPtr model(glmReadOBJ(path.constData(), &diagnostics));
  tellDiagnostics();
  if (!model) {
    Print(stderr, QStringLiteral("corvane: cannot read the model \"%1\".\n").arg(file));
    return 1;
  }
  glmComputeFacetNormals(model.get());
  glmVertexNormals(model.get(), kCreaseAngle, &diagnostics);
  tellDiagnostics();
  const QJsonObject info = BuildModelInfo(*model);
  if (json) {
    Print(stdout, QString::fromUtf8(QJsonDocument(info).toJson(QJsonDocument::Indented)));
  } else {
    Print(stdout, FormatModelInfo(info));
  }
  return 0;
}

namespace {
int Dispatch(const QStringList& arguments, bool checkOnly, PlannedCommand* plan);
}  // namespace

int RunCommandLine(const QStringList& arguments, bool checkOnly) { return Dispatch(arguments, checkOnly, nullptr); }

int PlanCommandLine(const QStringList& arguments, PlannedCommand* plan, QString* said) {
  g_said = said;
  *plan = std::monostate();
  const int code = Dispatch(arguments, true, plan);
  g_said = nullptr;
  return code;
}

namespace {
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

int Dispatch(const QStringList& arguments, bool checkOnly, PlannedCommand* plan) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Corvane shows the results of a clothing thermal-comfort simulation run.\n"
                     "DATA_DIR is the folder of the run's data files. Without a command the viewer opens on it,\n"
                     "or on the folder dialog when none is given."));
  parser.addPositionalArgument(QStringLiteral("DATA_DIR"),
                               QStringLiteral("The run folder to open (optional for the viewer)."));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and exit."));
  const QCommandLineOption info(QStringLiteral("info"),
                                QStringLiteral("Load DATA_DIR and print a summary of the run without a window."));
  const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("With --info: print the summary as JSON."));
  const QCommandLineOption modelInfo(QStringLiteral("model-info"),
                                     QStringLiteral("Read one OBJ model and print its counts, groups and body parts."),
                                     QStringLiteral("FILE"));
  // The options of --screenshot: name, what it sets, its value's name.
  auto valued = [](const char* name, const char* text, const char* value) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(text), QString::fromLatin1(value));
  };
  const QCommandLineOption screenshot =
      valued("screenshot", "Render one view of DATA_DIR, as the main window shows it, to the PNG file FILE.", "FILE");
  const QCommandLineOption view = valued("view", "With --screenshot: science, static, dynamic or space.", "VIEW");
  const QCommandLineOption option =
      valued("option", "With --screenshot (science) or --export-csv: the option id, e.g. 2300.", "ID");
  const QCommandLineOption quantity =
      valued("quantity", "With --screenshot (science) or --export-csv: the quantity, from 0.", "Q");
  const QCommandLineOption modelService = valued(
      "model-service", "Fetch the run's models from this service (the viewer, or --screenshot --view static).", "URL");
  const QCommandLineOption downloadTimeout = valued(
      "download-timeout", "The time one model file may take to arrive from the service (default 120).", "SECONDS");
  const QCommandLineOption exportCsv =
      valued("export-csv", "Write what the scientific view shows for --option and --quantity to FILE.", "FILE");
  const QCommandLineOption step = valued("step", "With --screenshot: the time step (default 0).", "N");
  const QCommandLineOption content =
      valued("content", "With --screenshot: temperature (default), humidity or sweat.", "KIND");
  const QCommandLineOption layer =
      valued("layer", "With --screenshot: fabric layer K (0, the default, is the body alone).", "K");
  const QCommandLineOption section =
      valued("section", "With --screenshot: the cross-section of head, trunk, arm, hand, leg or foot.", "PART");
  const QCommandLineOption frame =
      valued("frame", "With --screenshot: the animation frame, 0 to 12 (dynamic view).", "F");
  const QCommandLineOption size =
      valued("size", "With --screenshot: the scene alone at this size, not the view as the window shows it.", "WxH");
  const QCommandLineOption window(QStringLiteral("window"),
                                  QStringLiteral("With --screenshot: the whole main window, its title and menu too."));
  const QCommandLineOption outlined(QStringLiteral("outlined-labels"),
                                    QStringLiteral("With --screenshot or --movie: the legends' text ringed in black."));
  const QCommandLineOption movie = valued(
      "movie", "Play the whole run in VIEW (static, dynamic or space) into the H.264 movie FILE (.mp4).", "FILE");
  const QCommandLineOption speed =
      valued("speed", "With --movie: simulated seconds a second of movie (default 60).", "N");
  const QCommandLineOption fps = valued("fps", "With --movie: frames a second, 1 to 120 (default 30).", "F");
  const QCommandLineOption figure = valued(
      "figure", "Write the chart or line plot of --option (and --quantity) as a PNG, SVG or PDF figure FILE.", "FILE");
  const QCommandLineOption widthMm =
      valued("width-mm", "With --figure and --dpi: the figure's width in millimetres (10 to 1000).", "W");
  const QCommandLineOption dpi = valued("dpi", "With --figure and --width-mm: dots an inch (50 to 2400).", "N");
  const QCommandLineOption allParts(
      QStringLiteral("all-parts"),
      QStringLiteral("With --figure or --export-csv: the chosen body quantities for all six parts."));
  const QCommandLineOption compare =
      valued("compare",
             "With --export-csv, --figure or --screenshot (science): a run shown beside DATA_DIR's; given again, "
             "up to seven runs, each in its own colour and line style.",
             "RUN2");
  const QCommandLineOption difference(
      QStringLiteral("difference"),
      QStringLiteral("With one --compare: each curve or profile as DATA_DIR's values less RUN2's (A - B)."));
  const QCommandLineOption profileAt = valued("profile-at",
                                              "With --export-csv, --figure or --screenshot (science) and a fabric "
                                              "--option: the thickness profile at the fabric "
                                              "time step nearest MIN minutes.",
                                              "MIN");
  const QCommandLineOption batch =
      valued("batch", "Write every output that the TOML file FILE lists (figures, CSV, screenshots, movies).", "FILE");
  const QCommandLineOption task = valued(
      "task", "With --batch and --tasks: write share K (from 0) of the outputs; auto in a Slurm array job.", "K");
  const QCommandLineOption tasks = valued("tasks", "With --batch and --task: the number of shares.", "N");
  const QCommandLineOption study =
      valued("study", "Write the figures of a study of the runs given (RUN...), a CSV row per run, to FILE.", "FILE");
  parser.addOptions({help,      version,    info,      json,         modelInfo,       screenshot, movie,
                     figure,    view,       step,      content,      layer,           section,    frame,
                     size,      window,     widthMm,   dpi,          outlined,        speed,      fps,
                     option,    quantity,   exportCsv, modelService, downloadTimeout, compare,    allParts,
                     profileAt, difference, batch,     task,         tasks,           study});

  if (!parser.parse(arguments)) {
    Print(stderr, parser.errorText() + QStringLiteral("\nTry 'corvane --help'.\n"));
    return 2;
  }
  // An option of one value given twice is a slip, not a choice: neither
  // value is taken silently.
  for (const QCommandLineOption& o :
       {modelInfo, screenshot, movie, figure, view, step,   content,  layer,     section,      frame,
        size,      widthMm,    dpi,   speed,  fps,  option, quantity, exportCsv, modelService, downloadTimeout,
        profileAt, batch,      task,  tasks,  study}) {
    if (parser.values(o).size() > 1) {
      Print(stderr, QStringLiteral("corvane: --%1 is given more than once; it takes one value.\nTry 'corvane "
                                   "--help'.\n")
                        .arg(o.names().front()));
      return 2;
    }
  }
  if (parser.isSet(help)) {
    Print(stdout, parser.helpText());
    return 0;
  }
  if (parser.isSet(version)) {
    Print(stdout, QStringLiteral("corvane " CORVANE_VERSION "\n"));
    return 0;
  }
  if (parser.isSet(downloadTimeout)) {
    // For the download, wherever it starts (the viewer or --screenshot).
    bool ok = false;
    const double seconds = parser.value(downloadTimeout).toDouble(&ok);
    // Under a second a download could not even connect (0.0001 was taken as 0 ms).
    if (!ok || !(seconds >= 1) || !std::isfinite(seconds) || parser.isSet(info) || parser.isSet(modelInfo) ||
        parser.isSet(exportCsv)) {
      Print(stderr, QStringLiteral("corvane: --download-timeout takes a number of seconds from 1, with --screenshot "
                                   "or the viewer.\nTry 'corvane --help'.\n"));
      return 2;
    }
    qputenv("CORVANE_DOWNLOAD_TIMEOUT", QByteArray::number(seconds));
  } else if (const QString problem = DownloadTimeoutProblem();
             !problem.isEmpty() && !parser.isSet(info) && !parser.isSet(modelInfo) && !parser.isSet(exportCsv)) {
    Print(stderr, QStringLiteral("corvane: ") + problem + QLatin1Char('\n'));
  }
  // Up to seven runs beside DATA_DIR; their difference only of two.
  const QStringList compared = parser.values(compare);
  if (compared.size() >= kMaxRuns) {
    Print(stderr, QStringLiteral("corvane: --compare takes at most %1 runs beside DATA_DIR (%2 in all), not %3.\nTry "
                                 "'corvane --help'.\n")
                      .arg(kMaxRuns - 1)
                      .arg(kMaxRuns)
                      .arg(compared.size()));
    return 2;
  }
  if (compared.size() > 1 && parser.isSet(difference)) {
    Print(stderr, QStringLiteral("corvane: --difference is of two runs (A - B); it takes one --compare, not %1.\nTry "
                                 "'corvane --help'.\n")
                      .arg(compared.size()));
    return 2;
  }
  const QStringList positional = parser.positionalArguments();
  if (parser.isSet(batch)) {
    // The batch file is the command line of all its outputs: nothing beside
    // it but the share of a cluster's array job.
    const int shareOptions = (parser.isSet(task) ? 1 : 0) + (parser.isSet(tasks) ? 1 : 0);
    if (!positional.isEmpty() || parser.optionNames().size() != qsizetype{1} + shareOptions || plan) {
      Print(stderr, QStringLiteral("corvane: --batch FILE [--task K --tasks N] takes nothing else; the file lists "
                                   "the outputs and their options.\nTry 'corvane --help'.\n"));
      return 2;
    }
    TaskChoice share;
    if (shareOptions > 0) {
      share = ChooseTask(parser.isSet(task) ? parser.value(task) : QString(), parser.value(tasks));
      if (!parser.isSet(task)) {
        share.error = QStringLiteral("--tasks N goes with --task K");
      }
      if (!share.error.isEmpty()) {
        Print(stderr, QStringLiteral("corvane: %1.\nTry 'corvane --help'.\n").arg(share.error));
        return 2;
      }
    }
    return checkOnly ? 0 : RunBatchCommand(parser.value(batch), share.task, share.tasks);
  }
  for (const QCommandLineOption& o : {task, tasks}) {
    if (parser.isSet(o)) {
      Print(stderr, QStringLiteral("corvane: --%1 goes with --batch.\nTry 'corvane --help'.\n").arg(o.names().front()));
      return 2;
    }
  }
  if (parser.isSet(study)) {
    // The runs are the positional arguments, one row each; nothing else.
    if (positional.isEmpty() || parser.optionNames().size() != 1) {
      Print(stderr, QStringLiteral("corvane: --study FILE RUN... takes the runs of the study and nothing else.\nTry "
                                   "'corvane --help'.\n"));
      return 2;
    }
    const StudyOptions options{parser.value(study), positional};
    if (plan) {
      *plan = options;
    }
    return checkOnly ? 0 : RunStudyCommand(options);
  }
  if (parser.isSet(exportCsv)) {
    ExportOptions options;
    options.file = parser.value(exportCsv);
    bool okId = false;
    options.option = parser.value(option).toInt(&okId);
    const std::optional<std::vector<int>> quantities =
        parser.isSet(quantity) ? ParseQuantities(parser.value(quantity)) : std::vector<int>{0};
    if (positional.size() != 1 || !okId || parser.isSet(screenshot) || parser.isSet(info)) {
      Print(stderr,
            QStringLiteral(
                "corvane: --export-csv FILE --option ID [--quantity Q[,Q...]] [--all-parts] "
                "[--compare RUN2 [--compare RUN3 ...] [--difference]] [--profile-at MIN] DATA_DIR\nTry 'corvane "
                "--help'.\n"));
      return 2;
    }
    if (!quantities) {
      Print(stderr, QStringLiteral("corvane: --quantity takes a quantity from 0, or several parted by commas "
                                   "(0,1), not \"%1\".\nTry 'corvane --help'.\n")
                        .arg(parser.value(quantity)));
      return 2;
    }
    options.quantities = *quantities;
    options.dataDir = positional.front();
    options.compareDirs = compared;
    options.allParts = parser.isSet(allParts);
    options.difference = parser.isSet(difference);
    if (options.difference && options.compareDirs.isEmpty()) {
      Print(stderr, QStringLiteral("corvane: --difference goes with --compare.\nTry 'corvane --help'.\n"));
      return 2;
    }
    if (parser.isSet(profileAt)) {
      if (parser.isSet(allParts) || options.quantities.size() > 1) {
        Print(stderr, QStringLiteral("corvane: --profile-at draws one quantity; it does not go with --all-parts or "
                                     "several quantities.\nTry 'corvane --help'.\n"));
        return 2;
      }
      options.profileAt = ParseProfileMinute(parser.value(profileAt));
      if (!options.profileAt) {
        return 2;
      }
    }
    if (const int refused =
            ChartRefusal(options.option, options.quantities, options.allParts, options.compareDirs.size())) {
      return refused;
    }
    if (plan) {
      *plan = options;
    }
    return checkOnly ? 0 : RunExportCsvCommand(options);
  }
  const QList<QCommandLineOption> sceneOptions = {view, step,   content,  layer,        section,  frame,
                                                  size, option, quantity, modelService, profileAt};
  if (parser.isSet(figure)) {
    FigureOptions options;
    options.file = parser.value(figure);
    bool okId = false;
    options.option = parser.value(option).toInt(&okId);
    const std::optional<std::vector<int>> quantities =
        parser.isSet(quantity) ? ParseQuantities(parser.value(quantity)) : std::vector<int>{0};
    const bool okQ = quantities.has_value();
    if (okQ) {
      options.quantities = *quantities;
      options.quantity = options.quantities.front();
    }
    if (positional.size() != 1 || !okId || !okQ || parser.isSet(screenshot) || parser.isSet(movie) ||
        parser.isSet(exportCsv) || parser.isSet(info) || parser.isSet(modelInfo)) {
      Print(stderr,
            QStringLiteral("corvane: --figure FILE --option ID [--quantity Q[,Q...]] [--all-parts] [--compare RUN2 "
                           "[--compare RUN3 ...] [--difference]] [--profile-at MIN] [--size WxH | --width-mm W --dpi "
                           "N] DATA_DIR\nTry "
                           "'corvane --help'.\n"));
      return 2;
    }
    options.dataDir = positional.front();
    options.compareDirs = compared;
    options.allParts = parser.isSet(allParts);
    options.difference = parser.isSet(difference);
    if (options.difference && options.compareDirs.isEmpty()) {
      Print(stderr, QStringLiteral("corvane: --difference goes with --compare.\nTry 'corvane --help'.\n"));
      return 2;
    }
    if (parser.isSet(size) && (parser.isSet(widthMm) || parser.isSet(dpi))) {
      Print(stderr, QStringLiteral("corvane: --size and --width-mm do not go together.\nTry 'corvane --help'.\n"));
      return 2;
    }
    if (parser.isSet(size)) {
      ScreenshotOptions sized;
      QString error;
      if (!ParseScreenshotValue(QStringLiteral("size"), parser.value(size), sized, error)) {
        Print(stderr, QStringLiteral("corvane: %1.\nTry 'corvane --help'.\n").arg(error));
        return 2;
      }
      options.size.pixels = sized.size;
    } else if (parser.isSet(widthMm) || parser.isSet(dpi)) {
      bool okW = false, okD = false;
      const double w = parser.value(widthMm).toDouble(&okW);
      const int n = parser.value(dpi).toInt(&okD);
      const std::optional<FigureSize> mm = okW && okD ? FigureSizeFromMillimetres(w, n) : std::nullopt;
      const bool inRanges = okW && okD && w >= 10 && w <= 1000 && n >= 50 && n <= 2400;
      if (!mm && inRanges) {
        // Each in its range, together too many pixels: say that limit.
        Print(stderr, QStringLiteral("corvane: %1 mm at %2 dpi is %3 pixels wide; a figure is at most 20000 pixels "
                                     "a side.\nTry 'corvane --help'.\n")
                          .arg(parser.value(widthMm), parser.value(dpi))
                          .arg(std::lround(w / 25.4 * n)));
        return 2;
      }
      if (!mm) {
        Print(stderr, QStringLiteral("corvane: --width-mm takes 10 to 1000 millimetres and --dpi 50 to 2400, "
                                     "together.\nTry 'corvane --help'.\n"));
        return 2;
      }
      options.size = *mm;
    }
    if (parser.isSet(profileAt)) {
      if (parser.isSet(allParts) || options.quantities.size() > 1) {
        Print(stderr, QStringLiteral("corvane: --profile-at draws one quantity; it does not go with --all-parts or "
                                     "several quantities.\nTry 'corvane --help'.\n"));
        return 2;
      }
      options.profileAt = ParseProfileMinute(parser.value(profileAt));
      if (!options.profileAt) {
        return 2;
      }
    }
    for (const QCommandLineOption& o : {view, step, content, layer, section, frame, window, outlined, speed, fps}) {
      if (parser.isSet(o)) {
        Print(
            stderr,
            QStringLiteral("corvane: --%1 does not go with --figure.\nTry 'corvane --help'.\n").arg(o.names().front()));
        return 2;
      }
    }
    if (const int refused =
            ChartRefusal(options.option, options.quantities, options.allParts, options.compareDirs.size())) {
      return refused;
    }
    if (plan) {
      *plan = options;
    }
    return checkOnly ? 0 : RunFigureCommand(options);
  }
  if (parser.isSet(allParts)) {
    Print(stderr, QStringLiteral("corvane: --all-parts goes with --figure or --export-csv.\nTry 'corvane --help'.\n"));
    return 2;
  }
  const bool scienceShot = parser.isSet(screenshot) && parser.value(view) == QLatin1String("science");
  if (parser.isSet(compare) && !scienceShot) {
    Print(stderr, QStringLiteral("corvane: --compare goes with --export-csv, --figure or --screenshot --view "
                                 "science.\nTry 'corvane --help'.\n"));
    return 2;
  }
  if (parser.isSet(difference) && !parser.isSet(compare)) {
    Print(stderr, QStringLiteral("corvane: --difference goes with --compare.\nTry 'corvane --help'.\n"));
    return 2;
  }
  for (const QCommandLineOption& o : {widthMm, dpi}) {
    if (parser.isSet(o)) {
      Print(stderr,
            QStringLiteral("corvane: --%1 goes with --figure.\nTry 'corvane --help'.\n").arg(o.names().front()));
      return 2;
    }
  }
  if (parser.isSet(movie)) {
    if (positional.size() != 1 || parser.isSet(screenshot) || parser.isSet(info) || parser.isSet(modelInfo) ||
        parser.isSet(json) || !parser.isSet(view)) {
      Print(stderr, QStringLiteral("corvane: --movie FILE.mp4 --view static|dynamic|space [options] DATA_DIR\nTry "
                                   "'corvane --help'.\n"));
      return 2;
    }
    MovieOptions options;
    options.scene.file = parser.value(movie);
    options.scene.dataDir = positional.front();
    options.scene.outlinedLabels = parser.isSet(outlined);
    for (const QCommandLineOption& o : {view, content, layer, section, size, speed, fps}) {
      QString error;
      if (parser.isSet(o) && !ParseMovieValue(o.names().front(), parser.value(o), options, error)) {
        Print(stderr, QStringLiteral("corvane: %1.\nTry 'corvane --help'.\n").arg(error));
        return 2;
      }
    }
    for (const QCommandLineOption& o : {step, frame, window, option, quantity, modelService, profileAt}) {
      if (parser.isSet(o)) {
        Print(stderr, QStringLiteral("corvane: --%1 goes with --screenshot, not --movie.\nTry 'corvane --help'.\n")
                          .arg(o.names().front()));
        return 2;
      }
    }
    if (plan) {
      *plan = options;
    }
    return checkOnly ? 0 : RunMovieCommand(options);
  }
  if (parser.isSet(screenshot)) {
    if (positional.size() != 1 || parser.isSet(info) || parser.isSet(modelInfo) || parser.isSet(json) ||
        !parser.isSet(view)) {
      Print(stderr,
            QStringLiteral("corvane: --screenshot FILE --view VIEW [options] DATA_DIR\nTry 'corvane --help'.\n"));
      return 2;
    }
    ScreenshotOptions options;
    options.file = parser.value(screenshot);
    options.dataDir = positional.front();
    options.compareDirs = compared;
    options.difference = parser.isSet(difference);
    options.window = parser.isSet(window);
    if (options.difference && parser.isSet(option) && !parser.isSet(profileAt) &&
        !IsChartKind(DecodeOption(parser.value(option).toInt()).kind)) {
      Print(stderr, QStringLiteral("corvane: --difference goes with a chart or a thickness profile; option %1 is a "
                                   "line plot.\n")
                        .arg(parser.value(option)));
      return 2;
    }
    options.outlinedLabels = parser.isSet(outlined);
    if (options.window && parser.isSet(size)) {
      Print(stderr, QStringLiteral("corvane: --window and --size do not go together.\nTry 'corvane --help'.\n"));
      return 2;
    }
    for (const QCommandLineOption& o : sceneOptions) {
      if (!parser.isSet(o)) {
        continue;
      }
      QString error;
      if (!ParseScreenshotValue(o.names().front(), parser.value(o), options, error)) {
        Print(stderr, QStringLiteral("corvane: %1.\nTry 'corvane --help'.\n").arg(error));
        return 2;
      }
    }
    if (plan) {
      *plan = options;
    }
    if (checkOnly) {
      return 0;
    }
    return RunScreenshotCommand(options);
  }
  for (const QCommandLineOption& o : {speed, fps}) {
    if (parser.isSet(o)) {
      Print(stderr, QStringLiteral("corvane: --%1 goes with --movie.\nTry 'corvane --help'.\n").arg(o.names().front()));
      return 2;
    }
  }
  for (const QCommandLineOption& o : sceneOptions + QList<QCommandLineOption>{window, outlined}) {
    if (parser.isSet(o) && o.names() != modelService.names()) {
      Print(stderr,
            QStringLiteral("corvane: --%1 goes with --screenshot.\nTry 'corvane --help'.\n").arg(o.names().front()));
      return 2;
    }
  }
  if (parser.isSet(modelService)) {
    // The viewer asks the service given for the run's models.
    const QString url = parser.value(modelService);
    if (parser.isSet(info) || parser.isSet(modelInfo) || url.isEmpty() || !QUrl(url).isValid()) {
      Print(stderr, QStringLiteral("corvane: --model-service URL goes with --screenshot or the viewer.\nTry 'corvane "
                                   "--help'.\n"));
      return 2;
    }
    qputenv("CORVANE_MODEL_SERVICE", url.toUtf8());
  }
  if (parser.isSet(modelInfo)) {
    if (!positional.isEmpty() || parser.isSet(info)) {
      Print(stderr, QStringLiteral("corvane: --model-info takes one FILE and nothing else.\nTry 'corvane --help'.\n"));
      return 2;
    }
    return RunModelInfoCommand(parser.value(modelInfo), parser.isSet(json));
  }
  if (positional.size() > 1) {
    Print(stderr, QStringLiteral("corvane: expected one DATA_DIR.\nTry 'corvane --help'.\n"));
    return 2;
  }
  if (parser.isSet(json) && !parser.isSet(info)) {
    Print(stderr, QStringLiteral("corvane: --json goes with --info or --model-info.\nTry 'corvane --help'.\n"));
    return 2;
  }
  if (parser.isSet(info)) {
    if (positional.size() != 1) {
      Print(stderr, QStringLiteral("corvane: --info takes one DATA_DIR.\nTry 'corvane --help'.\n"));
      return 2;
    }
    return RunInfoCommand(positional.front(), parser.isSet(json));
  }
  // The viewer itself: the run given, or the folder dialog first.
  if (checkOnly) {
    return 0;
  }
  CCorvaneApp app;
  return app.InitInstance(positional.value(0));
}
}  // namespace

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
