// The command lines that write no file: the viewer's, and those of the two
// commands that print what they read (--info, --model-info). They refuse
// every option of the commands that write outputs.

#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QUrl>

#include "CorvaneApp.h"
#include "ModelInfo.h"
#include "ObjReader.h"
#include "RunSummary.h"
#include "SimulationData.h"
#include "internal/CommandLines.h"

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
    cli::Print(stdout, QString::fromUtf8(QJsonDocument(summary).toJson(QJsonDocument::Indented)));
  } else {
    cli::Print(stdout, FormatRunSummary(summary));
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
      cli::Print(stderr, QString::fromStdString(d) + QLatin1Char('\n'));
    }
    diagnostics.clear();
  };
  ObjModelPtr model(glmReadOBJ(path.constData(), &diagnostics));
  tellDiagnostics();
  if (!model) {
    cli::Print(stderr, QStringLiteral("corvane: cannot read the model \"%1\".\n").arg(file));
    return 1;
  }
  glmComputeFacetNormals(model.get());
  glmVertexNormals(model.get(), kCreaseAngle, &diagnostics);
  tellDiagnostics();
  const QJsonObject info = BuildModelInfo(*model);
  if (json) {
    cli::Print(stdout, QString::fromUtf8(QJsonDocument(info).toJson(QJsonDocument::Indented)));
  } else {
    cli::Print(stdout, FormatModelInfo(info));
  }
  return 0;
}

namespace cli {

namespace {
// 2 (said) when an option of --movie or of --screenshot's scene is given
// without its command; else 0. --model-service is the viewer's too.
int RefuseSceneOptions(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  for (const QCommandLineOption& played : {o.speed, o.fps}) {
    if (parser.isSet(played)) {
      return Refuse(QStringLiteral("--%1 goes with --movie.").arg(played.names().front()));
    }
  }
  for (const QCommandLineOption& scene : o.Scene() + QList<QCommandLineOption>{o.window, o.outlined}) {
    if (parser.isSet(scene) && scene.names() != o.modelService.names()) {
      return Refuse(QStringLiteral("--%1 goes with --screenshot.").arg(scene.names().front()));
    }
  }
  return 0;
}

// The options of the commands that write outputs are refused. A model
// service is the viewer's: it asks the service given for the run's models.
// 0, or 2 (said).
int RefuseOutputOptions(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  if (const int refused = RefuseChartOptions(parser)) {
    return refused;
  }
  if (const int refused = RefuseSceneOptions(parser)) {
    return refused;
  }
  if (parser.isSet(o.modelService)) {
    const QString url = parser.value(o.modelService);
    if (parser.isSet(o.info) || parser.isSet(o.modelInfo) || url.isEmpty() || !QUrl(url).isValid()) {
      return Refuse(QStringLiteral("--model-service URL goes with --screenshot or the viewer."));
    }
    qputenv("CORVANE_MODEL_SERVICE", url.toUtf8());
  }
  return 0;
}
}  // namespace

int ModelInfoCommand(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  if (const int refused = RefuseOutputOptions(parser)) {
    return refused;
  }
  if (!parser.positionalArguments().isEmpty() || parser.isSet(o.info)) {
    return Refuse(QStringLiteral("--model-info takes one FILE and nothing else."));
  }
  return RunModelInfoCommand(parser.value(o.modelInfo), parser.isSet(o.json));
}

int InfoCommand(const QCommandLineParser& parser) {
  const Options& o = TheOptions();
  if (const int refused = RefuseOutputOptions(parser)) {
    return refused;
  }
  // Too many runs are said as the viewer says them; none, in --info's words.
  if (parser.positionalArguments().size() > 1) {
    return Refuse(QStringLiteral("expected one DATA_DIR."));
  }
  if (parser.positionalArguments().size() != 1) {
    return Refuse(QStringLiteral("--info takes one DATA_DIR."));
  }
  return RunInfoCommand(parser.positionalArguments().front(), parser.isSet(o.json));
}

int ViewerCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseOutputOptions(parser)) {
    return refused;
  }
  if (parser.positionalArguments().size() > 1) {
    return Refuse(QStringLiteral("expected one DATA_DIR."));
  }
  if (parser.isSet(o.json)) {
    return Refuse(QStringLiteral("--json goes with --info or --model-info."));
  }
  // The viewer itself: the run given, or the folder dialog first.
  if (use.checkOnly) {
    return 0;
  }
  CCorvaneApp app;
  return app.InitInstance(parser.positionalArguments().value(0));
}

}  // namespace cli
