// The options of the command line and what every command shares: where its
// words go, the checks made whatever the command, and the refusals of the
// options that belong to another.

#include <cmath>

#include "ModelDownload.h"
#include "RunComparison.h"
#include "internal/CommandLines.h"

namespace cli {

namespace {
QCommandLineOption Valued(const char* name, const char* text, const char* value) {
  return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(text), QString::fromLatin1(value));
}

QCommandLineOption Switch(const char* name, const char* text) {
  return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(text));
}

// Where standard error's words go while a batch plans.
QString* g_said = nullptr;
}  // namespace

Options::Options()
    : help(QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
              QStringLiteral("Show the version and exit.")),
      info(Switch("info", "Load DATA_DIR and print a summary of the run without a window.")),
      json(Switch("json", "With --info: print the summary as JSON.")),
      modelInfo(Valued("model-info", "Read one OBJ model and print its counts, groups and body parts.", "FILE")),
      screenshot(Valued("screenshot", "Render one view of DATA_DIR, as the main window shows it, to the PNG file FILE.",
                        "FILE")),
      movie(Valued("movie", "Play the whole run in VIEW (static, dynamic or space) into the H.264 movie FILE (.mp4).",
                   "FILE")),
      figure(Valued("figure",
                    "Write the chart or line plot of --option (and --quantity) as a PNG, SVG or PDF figure FILE.",
                    "FILE")),
      view(Valued("view", "With --screenshot: science, static, dynamic or space.", "VIEW")),
      step(Valued("step", "With --screenshot: the time step (default 0).", "N")),
      content(Valued("content", "With --screenshot: temperature (default), humidity or sweat.", "KIND")),
      layer(Valued("layer", "With --screenshot: fabric layer K (0, the default, is the body alone).", "K")),
      section(
          Valued("section", "With --screenshot: the cross-section of head, trunk, arm, hand, leg or foot.", "PART")),
      frame(Valued("frame", "With --screenshot: the animation frame, 0 to 12 (dynamic view).", "F")),
      size(Valued("size", "With --screenshot: the scene alone at this size, not the view as the window shows it.",
                  "WxH")),
      window(Switch("window", "With --screenshot: the whole main window, its title and menu too.")),
      widthMm(Valued("width-mm", "With --figure and --dpi: the figure's width in millimetres (10 to 1000).", "W")),
      dpi(Valued("dpi", "With --figure and --width-mm: dots an inch (50 to 2400).", "N")),
      outlined(Switch("outlined-labels", "With --screenshot or --movie: the legends' text ringed in black.")),
      speed(Valued("speed", "With --movie: simulated seconds a second of movie (default 60).", "N")),
      fps(Valued("fps", "With --movie: frames a second, 1 to 120 (default 30).", "F")),
      option(Valued("option", "With --screenshot (science) or --export-csv: the option id, e.g. 2300.", "ID")),
      quantity(Valued("quantity", "With --screenshot (science) or --export-csv: the quantity, from 0.", "Q")),
      exportCsv(
          Valued("export-csv", "Write what the scientific view shows for --option and --quantity to FILE.", "FILE")),
      modelService(Valued("model-service",
                          "Fetch the run's models from this service (the viewer, or --screenshot --view static).",
                          "URL")),
      downloadTimeout(Valued("download-timeout",
                             "The time one model file may take to arrive from the service (default 120).", "SECONDS")),
      compare(Valued("compare",
                     "With --export-csv, --figure or --screenshot (science): a run shown beside DATA_DIR's; given "
                     "again, up to seven runs, each in its own colour and line style.",
                     "RUN2")),
      allParts(Switch("all-parts", "With --figure or --export-csv: the chosen body quantities for all six parts.")),
      profileAt(Valued("profile-at",
                       "With --export-csv, --figure or --screenshot (science) and a fabric --option: the thickness "
                       "profile at the fabric time step nearest MIN minutes.",
                       "MIN")),
      difference(
          Switch("difference", "With one --compare: each curve or profile as DATA_DIR's values less RUN2's (A - B).")),
      batch(Valued("batch", "Write every output that the TOML file FILE lists (figures, CSV, screenshots, movies).",
                   "FILE")),
      task(Valued("task", "With --batch and --tasks: write share K (from 0) of the outputs; auto in a Slurm array job.",
                  "K")),
      tasks(Valued("tasks", "With --batch and --task: the number of shares.", "N")),
      study(Valued("study", "Write the figures of a study of the runs given (RUN...), a CSV row per run, to FILE.",
                   "FILE")) {}

QList<QCommandLineOption> Options::All() const {
  return {help,     version,   info,       json,    modelInfo, screenshot, movie,        figure,          view,
          step,     content,   layer,      section, frame,     size,       window,       widthMm,         dpi,
          outlined, speed,     fps,        option,  quantity,  exportCsv,  modelService, downloadTimeout, compare,
          allParts, profileAt, difference, batch,   task,      tasks,      study};
}

QList<QCommandLineOption> Options::Scene() const {
  return {view, step, content, layer, section, frame, size, option, quantity, modelService, profileAt};
}

const Options& TheOptions() {
  static const Options options;
  return options;
}

void Print(FILE* f, const QString& s) {
  if (f == stderr && g_said) {
    *g_said += s;
    return;
  }
  const QByteArray b = s.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
}

void SayInto(QString* said) { g_said = said; }

int Refuse(const QString& what) {
  Print(stderr, QStringLiteral("corvane: ") + what + QStringLiteral("\nTry 'corvane --help'.\n"));
  return 2;
}

namespace {
// --download-timeout is for the download, wherever it starts (the viewer or
// --screenshot); the commands that fetch no model refuse it. 0, or 2 (said).
int TakeDownloadTimeout(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  const bool fetchesNoModel = parser.isSet(o.info) || parser.isSet(o.modelInfo) || parser.isSet(o.exportCsv);
  if (parser.isSet(o.downloadTimeout)) {
    bool ok = false;
    const double seconds = parser.value(o.downloadTimeout).toDouble(&ok);
    // Under a second a download could not even connect (0.0001 was taken as 0 ms).
    if (!ok || !(seconds >= 1) || !std::isfinite(seconds) || fetchesNoModel) {
      return Refuse(
          QStringLiteral("--download-timeout takes a number of seconds from 1, with --screenshot or the "
                         "viewer."));
    }
    qputenv("CORVANE_DOWNLOAD_TIMEOUT", QByteArray::number(seconds));
  } else if (const QString problem = DownloadTimeoutProblem(); !problem.isEmpty() && !fetchesNoModel) {
    Print(stderr, QStringLiteral("corvane: ") + problem + QLatin1Char('\n'));
  }
  return 0;
}

// Up to seven runs beside DATA_DIR; their difference only of two. 0, or 2 (said).
int CountComparedRuns(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  const QStringList compared = parser.values(o.compare);
  if (compared.size() >= kMaxRuns) {
    return Refuse(QStringLiteral("--compare takes at most %1 runs beside DATA_DIR (%2 in all), not %3.")
                      .arg(kMaxRuns - 1)
                      .arg(kMaxRuns)
                      .arg(compared.size()));
  }
  if (compared.size() > 1 && parser.isSet(o.difference)) {
    return Refuse(
        QStringLiteral("--difference is of two runs (A - B); it takes one --compare, not %1.").arg(compared.size()));
  }
  return 0;
}
}  // namespace

std::optional<int> ReadArguments(QCommandLineParser& parser, const QStringList& arguments) {
  const Options& o = TheOptions();
  parser.setApplicationDescription(
      QStringLiteral("Corvane shows the results of a clothing thermal-comfort simulation run.\n"
                     "DATA_DIR is the folder of the run's data files. Without a command the viewer opens on it,\n"
                     "or on the folder dialog when none is given."));
  parser.addPositionalArgument(QStringLiteral("DATA_DIR"),
                               QStringLiteral("The run folder to open (optional for the viewer)."));
  parser.addOptions(o.All());
  if (!parser.parse(arguments)) {
    Print(stderr, parser.errorText() + QStringLiteral("\nTry 'corvane --help'.\n"));
    return 2;
  }
  // An option of one value given twice is a slip, not a choice: neither
  // value is taken silently. --compare alone takes several.
  for (const QCommandLineOption& option : o.All()) {
    if (!option.valueName().isEmpty() && option.names() != o.compare.names() && parser.values(option).size() > 1) {
      return Refuse(QStringLiteral("--%1 is given more than once; it takes one value.").arg(option.names().front()));
    }
  }
  if (parser.isSet(o.help)) {
    Print(stdout, parser.helpText());
    return 0;
  }
  if (parser.isSet(o.version)) {
    Print(stdout, QStringLiteral("corvane " CORVANE_VERSION "\n"));
    return 0;
  }
  if (const int refused = TakeDownloadTimeout(parser)) {
    return refused;
  }
  if (const int refused = CountComparedRuns(parser)) {
    return refused;
  }
  return std::nullopt;
}

int RefuseShareOptions(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  for (const QCommandLineOption& share : {o.task, o.tasks}) {
    if (parser.isSet(share)) {
      return Refuse(QStringLiteral("--%1 goes with --batch.").arg(share.names().front()));
    }
  }
  return 0;
}

int RefuseChartOptions(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  if (parser.isSet(o.allParts)) {
    return Refuse(QStringLiteral("--all-parts goes with --figure or --export-csv."));
  }
  const bool scienceShot = parser.isSet(o.screenshot) && parser.value(o.view) == QLatin1String("science");
  if (parser.isSet(o.compare) && !scienceShot) {
    return Refuse(QStringLiteral("--compare goes with --export-csv, --figure or --screenshot --view science."));
  }
  if (parser.isSet(o.difference) && !parser.isSet(o.compare)) {
    return Refuse(QStringLiteral("--difference goes with --compare."));
  }
  for (const QCommandLineOption& figureSize : {o.widthMm, o.dpi}) {
    if (parser.isSet(figureSize)) {
      return Refuse(QStringLiteral("--%1 goes with --figure.").arg(figureSize.names().front()));
    }
  }
  return 0;
}

}  // namespace cli
