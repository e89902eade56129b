// corvane --info: exit codes, the fixed JSON keys, and the locale.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUuid>
#include <cmath>

#include "CommandLine.h"
#include "DataCsv.h"
#include "ExportCommand.h"
#include "GermanLocale.h"
#include "ModelDownload.h"
#include "MyDialog.h"
#include "PictureProbe.h"
#include "RunFolder.h"
#include "ScreenshotCommand.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out, err;
};

QString CorvaneBin() { return qEnvironmentVariable("CORVANE_BIN"); }

Result Corvane(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
               const QString& program = CorvaneBin()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QJsonObject Json(const Result& r) {
  QJsonParseError e{};
  const QJsonDocument doc = QJsonDocument::fromJson(r.out, &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << r.out.constData();
  return doc.object();
}

QString SampleRun() { return qEnvironmentVariable("CORVANE_SAMPLE_RUN"); }

}  // namespace

TEST(Cli, HelpVersionAndBadArguments) {
  Result help = Corvane({QStringLiteral("--help")});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("--info"));
  Result version = Corvane({QStringLiteral("--version")});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "corvane 1.0\n") << "the version the About box gives";
  EXPECT_EQ(Corvane({QStringLiteral("--info")}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--info"), QStringLiteral("--bogus"), SampleRun()}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--info"), SampleRun(), SampleRun()}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--json"), SampleRun()}).exitCode, 2);
  // The viewer takes a model service; the text commands do not.
  const Result service = Corvane({"--model-service", "http://127.0.0.1:9", "--info", SampleRun()});
  EXPECT_EQ(service.exitCode, 2);
  EXPECT_EQ(service.err, "corvane: --model-service URL goes with --screenshot or the viewer.\nTry 'corvane --help'.\n");
  qunsetenv("CORVANE_MODEL_SERVICE");
  EXPECT_EQ(RunCommandLine({"corvane", "--model-service", "http://127.0.0.1:9", SampleRun()}, /*checkOnly=*/true), 0);
  EXPECT_EQ(qEnvironmentVariable("CORVANE_MODEL_SERVICE"), QStringLiteral("http://127.0.0.1:9"));
  qunsetenv("CORVANE_MODEL_SERVICE");
  // A download deadline in seconds, for the viewer and --screenshot alone.
  for (const QStringList& bad :
       {QStringList{"--download-timeout", "0", SampleRun()}, QStringList{"--download-timeout", "soon", SampleRun()},
        QStringList{"--download-timeout", "0.0001", SampleRun()},
        QStringList{"--download-timeout", "0.999", SampleRun()}, QStringList{"--download-timeout", "inf", SampleRun()},
        QStringList{"--download-timeout", "5", "--info", SampleRun()}}) {
    const Result r = Corvane(bad);
    EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
    EXPECT_TRUE(r.err.endsWith(
        "corvane: --download-timeout takes a number of seconds from 1, with --screenshot or the viewer.\n"
        "Try 'corvane --help'.\n"))
        << r.err.toStdString();
  }
  qunsetenv("CORVANE_DOWNLOAD_TIMEOUT");
  EXPECT_EQ(DownloadTimeoutMs(), 120000);
  EXPECT_EQ(RunCommandLine({"corvane", "--download-timeout", "1", SampleRun()}, /*checkOnly=*/true), 0);
  EXPECT_EQ(DownloadTimeoutMs(), 1000);
  EXPECT_EQ(RunCommandLine({"corvane", "--download-timeout", "2.5", SampleRun()}, /*checkOnly=*/true), 0);
  EXPECT_EQ(DownloadTimeoutMs(), 2500);
  EXPECT_TRUE(DownloadTimeoutProblem().isEmpty());
  // The same in the environment: the default holds, and is said.
  qputenv("CORVANE_DOWNLOAD_TIMEOUT", "0.0001");
  EXPECT_EQ(DownloadTimeoutMs(), 120000);
  EXPECT_EQ(DownloadTimeoutProblem(), QStringLiteral("CORVANE_DOWNLOAD_TIMEOUT=\"0.0001\" is not a number of seconds "
                                                     "from 1: the default, 120 s, is used."));
  qunsetenv("CORVANE_DOWNLOAD_TIMEOUT");
}

TEST(Cli, JsonSummaryOfTheSampleRun) {
  Result r = Corvane({QStringLiteral("--info"), QStringLiteral("--json"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QJsonObject o = Json(r);
  const QStringList keys = {"loaded",         "selectedModel", "phases",        "samples",      "sampleInterval",
                            "fabricInterval", "layers",        "nodesPerLayer", "fabricRows",   "fabricHoles",
                            "bodyRows",       "bodyHoles",     "comfortRows",   "comfortHoles", "fibers",
                            "ranges",         "scale",         "modelId",       "garmentIds",   "messages"};
  QStringList sortedKeys = keys;
  sortedKeys.sort();
  EXPECT_EQ(o.keys(), sortedKeys);
  EXPECT_TRUE(o["loaded"].toBool());
  const QJsonArray phases = o["phases"].toArray();
  ASSERT_EQ(phases.size(), 3);
  EXPECT_EQ(phases[0].toObject().keys(), (QStringList{"clothed", "humidity", "start", "temperature"}));
  EXPECT_EQ(phases[0]["clothed"].toArray().size(), 6);
  EXPECT_EQ(phases[0]["humidity"].toDouble(), 0.45);  // shortest form of the float
  EXPECT_EQ(o["samples"].toInt() * 6, o["bodyRows"].toInt());
  for (const char* k : {"layers", "nodesPerLayer", "fabricRows", "comfortRows"}) {
    EXPECT_EQ(o[k].toArray().size(), 6) << k;
  }
  EXPECT_EQ(o["ranges"].toObject().keys(), (QStringList{"humidity", "sweat", "temperature"}));
  EXPECT_EQ(o["scale"].toArray().size(), 5);
  EXPECT_EQ(o["scale"][0].toDouble(), o["ranges"]["temperature"][0].toDouble());
  EXPECT_EQ(o["modelId"].toString(), QStringLiteral("M-1001"));
  EXPECT_EQ(o["garmentIds"].toArray().size(), 2);
  EXPECT_GE(o["fibers"].toArray().size(), 2);
  EXPECT_EQ(o["fibers"][0].toObject().keys(), (QStringList{"name", "rows"}));
  EXPECT_TRUE(o["messages"].toArray().isEmpty());

  Result text = Corvane({QStringLiteral("--info"), SampleRun()});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains("Samples"));
  EXPECT_TRUE(text.out.contains("M-1001"));
}

TEST(Cli, FailedLoadPrintsItsMessagesAndExitsOne) {
  CRunFolder f;
  f.WriteMinimal();
  f.Remove(QStringLiteral("BodyDataforComfort.dat"));
  Result r = Corvane({QStringLiteral("--info"), QStringLiteral("--json"), f.Dir()});
  EXPECT_EQ(r.exitCode, 1);
  const QJsonObject o = Json(r);
  EXPECT_FALSE(o["loaded"].toBool());
  ASSERT_EQ(o["messages"].toArray().size(), 1);
  EXPECT_EQ(o["messages"][0]["caption"].toString(), QStringLiteral("Error"));
  EXPECT_EQ(o["messages"][0]["text"].toString(),
            QStringLiteral("No data or incorrect format in BodyDataforComfort data file!"));
  EXPECT_TRUE(r.err.contains("BodyDataforComfort"));
  EXPECT_EQ(Corvane({QStringLiteral("--info"), f.Dir() + QStringLiteral("nowhere")}).exitCode, 1);
}

TEST(Cli, GermanLocaleGivesTheSameSummary) {
  ASSERT_TRUE(GermanLocaleLoads()) << kNoGermanLocale;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(kGermanLocale));
  env.insert(QStringLiteral("LANG"), QString::fromLatin1(kGermanLocale));
  // The child's shell proves the locale took (its printf reads "1,5" only
  // under a decimal comma) before it becomes corvane; 97 says it did not.
  const QString script = QStringLiteral("printf '%.1f' 1,5 >/dev/null 2>&1 || exit 97; exec \"$0\" \"$@\"");
  const QStringList args = {QStringLiteral("--info"), QStringLiteral("--json"), SampleRun()};
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(QStringLiteral("/bin/bash"), QStringList{QStringLiteral("-c"), script, CorvaneBin()} + args);
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_NE(p.exitCode(), 97) << "the German locale did not take in the child";
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  Result german{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
  Result plain = Corvane(args);
  EXPECT_EQ(Json(german), Json(plain));
}

TEST(Cli, ModelInfoOfTheShippedBody) {
  const QString model = qEnvironmentVariable("CORVANE_MODEL_DIR") + QStringLiteral("/model.obj");
  Result r = Corvane({QStringLiteral("--model-info"), model, QStringLiteral("--json")});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QJsonObject o = Json(r);
  EXPECT_EQ(o.keys(), (QStringList{"bounds", "groups", "materials", "missingParts", "normals", "texCoords", "triangles",
                                   "vertices"}));
  EXPECT_GT(o["triangles"].toInt(), 20000);
  EXPECT_GT(o["normals"].toInt(), 0);
  EXPECT_TRUE(o["missingParts"].toArray().isEmpty());
  int withPart = 0;
  for (const auto& group : o["groups"].toArray()) {
    const QJsonObject g = group.toObject();
    EXPECT_EQ(g.keys(), (QStringList{"material", "name", "part", "triangles"}));
    if (g["name"].toString() == QStringLiteral(" HEAD")) {
      EXPECT_EQ(g["part"].toString(), QStringLiteral("Head"));
    }
    if (g["name"].toString() == QStringLiteral("default")) {
      EXPECT_TRUE(g["part"].isNull());
    }
    withPart += !g["part"].isNull();
  }
  EXPECT_EQ(withPart, 10);
  EXPECT_EQ(o["bounds"]["min"].toArray().size(), 3);
  EXPECT_LT(o["bounds"]["min"][1].toDouble(), 0.05);

  Result text = Corvane({QStringLiteral("--model-info"), model});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains("Parts without a group: none"));
}

TEST(Cli, ModelInfoExitCodes) {
  CRunFolder f;
  f.Write(QStringLiteral("bad.obj"), "v 0 0 0\nf 1 2 3\n");
  f.Write(QStringLiteral("cube.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\ng head\nf 1 2 3\n");
  f.Write(QStringLiteral("empty.obj"), "");
  f.Write(QStringLiteral("picture.obj"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  for (const char* notAModel : {"empty.obj", "picture.obj"}) {
    Result r = Corvane({QStringLiteral("--model-info"), f.Dir() + QLatin1String(notAModel)});
    EXPECT_EQ(r.exitCode, 1) << notAModel;
    EXPECT_TRUE(r.out.isEmpty()) << notAModel;
  }
  EXPECT_EQ(Corvane({QStringLiteral("--model-info"), f.Dir() + QStringLiteral("missing.obj")}).exitCode, 1);
  EXPECT_EQ(Corvane({QStringLiteral("--model-info"), f.Dir() + QStringLiteral("bad.obj")}).exitCode, 1);
  EXPECT_EQ(Corvane({QStringLiteral("--model-info")}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--model-info"), f.Dir() + QStringLiteral("cube.obj"), f.Dir()}).exitCode, 2);
  Result r = Corvane({QStringLiteral("--json"), QStringLiteral("--model-info"), f.Dir() + QStringLiteral("cube.obj")});
  ASSERT_EQ(r.exitCode, 0);
  const QJsonObject o = Json(r);
  EXPECT_EQ(o["missingParts"].toArray().size(), 6) << "a lower-case group is not the body's head";
  EXPECT_TRUE(o["materials"].toArray().isEmpty());
  EXPECT_TRUE(o["groups"][0]["material"].isNull());
}

bool HaveDisplay() { return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"); }

TEST(Cli, ScreenshotOfEachScene) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  CRunFolder out;
  struct Case {
    QStringList args;
  } cases[] = {{{"--view", "static", "--layer", "1", "--section", "trunk", "--content", "humidity"}},
               {{"--view", "dynamic", "--frame", "4", "--step", "3"}},
               {{"--view", "space", "--size", "320x200"}},
               {{"--view", "science", "--option", "2300", "--quantity", "4"}}};
  int i = 0;
  for (const Case& c : cases) {
    const QString file = out.Dir() + QStringLiteral("s%1.png").arg(i++);
    QStringList args = {QStringLiteral("--screenshot"), file};
    args += c.args;
    args << SampleRun();
    Result r = Corvane(args, env);
    ASSERT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString() << ": " << r.err.constData();
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    if (c.args.contains("science")) {
      continue;  // its pixels are checked below
    }
    // Without a size, the page as the main window shows it: the scene beside the controls.
    const bool alone = c.args.contains("320x200");
    EXPECT_EQ(image.size(), alone ? QSize(320, 200) : DialogUnitsToPixels(0, 0, 667, 407).size());
    // Not an empty picture: the colour bar's red top is there in every scene.
    const int red = CountPixels(image, QRect(0, 0, image.width() / (alone ? 5 : 3), image.height() / 2), ScaleRed);
    EXPECT_GT(red, 20) << c.args.join(' ').toStdString();
  }
}

TEST(Cli, ScreenshotRefusesBadRequests) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  CRunFolder out;
  const QString file = out.Dir() + QStringLiteral("x.png");
  auto run = [&](const QStringList& extra) {
    QStringList args = {QStringLiteral("--screenshot"), file};
    args += extra;
    return Corvane(args, env);
  };
  EXPECT_EQ(run({"--view", "sideways", SampleRun()}).exitCode, 2);
  EXPECT_EQ(run({SampleRun()}).exitCode, 2) << "--view is required";
  EXPECT_EQ(run({"--view", "static", "--size", "10x", SampleRun()}).exitCode, 2);
  EXPECT_EQ(run({"--view", "static", "--frame", "13", SampleRun()}).exitCode, 2);
  EXPECT_EQ(run({"--view", "static", "--section", "tail", SampleRun()}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--view"), QStringLiteral("static"), SampleRun()}).exitCode, 2)
      << "scene options need --screenshot";
  // A step or a layer the run does not have is a wrong request, as an
  // option it does not have is.
  Result beyond = run({"--view", "static", "--step", "100000", SampleRun()});
  EXPECT_EQ(beyond.exitCode, 2);
  EXPECT_TRUE(beyond.err.contains("corvane: step 100000 is beyond the run's 181 samples (0 to 180).\n"))
      << beyond.err.constData();
  Result layer = run({"--view", "static", "--layer", "9", SampleRun()});
  EXPECT_EQ(layer.exitCode, 2);
  EXPECT_TRUE(layer.err.contains("corvane: layer 9 is beyond the run's 3 fabric layers.\n")) << layer.err.constData();
  // Only what a user can choose in the run's panels: the head has no fabric
  // layer, the trunk three, comfort three quantities.
  const std::pair<QStringList, const char*> unchosen[] = {
      {{"--option", "1300"}, "corvane: the run has no option 1300 to choose.\n"},
      {{"--option", "2303"}, "corvane: the run has no option 2303 to choose.\n"},
      {{"--option", "2200", "--quantity", "3"}, "corvane: option 2200 has no quantity 3 (0 to 2).\n"},
      {{"--option", "2300", "--quantity", "6"}, "corvane: option 2300 has no quantity 6 (0 to 5).\n"},
  };
  for (const auto& [extra, message] : unchosen) {
    for (const char* where : {"--size", "--window"}) {
      QStringList args = QStringList{"--view", "science"} + extra + QStringList{where};
      if (QLatin1String(where) == QLatin1String("--size")) {
        args << QStringLiteral("480x360");
      }
      const Result r = run(args + QStringList{SampleRun()});
      EXPECT_EQ(r.exitCode, 2) << extra.join(' ').toStdString() << where;
      EXPECT_TRUE(r.err.endsWith(message)) << r.err.toStdString();
    }
    if (extra.size() == 2) {
      const Result csv =
          Corvane(QStringList{"--export-csv", out.Dir() + QStringLiteral("x.csv")} + extra + QStringList{SampleRun()});
      EXPECT_EQ(csv.exitCode, 2);
      EXPECT_EQ(csv.err, message);
    }
  }
  EXPECT_EQ(run({"--view", "static", out.Dir() + QStringLiteral("nothing")}).exitCode, 1);
  QStringList args = {QStringLiteral("--screenshot"),
                      QStringLiteral("/nonexistent/dir/x.png"),
                      QStringLiteral("--view"),
                      QStringLiteral("space"),
                      QStringLiteral("--size"),
                      QStringLiteral("64x64"),
                      SampleRun()};
  Result r = Corvane(args, env);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("cannot write"));
  EXPECT_FALSE(QFile::exists(out.Dir() + QStringLiteral("nothing")));
}

TEST(Cli, ModelInfoJsonIsOneDocumentWithTheDiagnosticsOnStandardError) {
  CRunFolder f;
  f.Write(QStringLiteral("m.obj"), "mtllib none.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvp 1\nusemtl skin\nf 1 2 3\n");
  Result r = Corvane({QStringLiteral("--model-info"), f.Dir() + QStringLiteral("m.obj"), QStringLiteral("--json")});
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(Json(r)["triangles"].toInt(), 1);
  for (const char* said : {"can't open material file", "Unknown token", "can't find material"}) {
    EXPECT_TRUE(r.err.contains(said)) << said;
  }
}

// "nan" and "inf" are no numbers: a phase's value leaves a hole, said with
// its line and column, "none" in the summary and null in JSON; a clothing
// flag or duration that is none makes the phase unreadable.
TEST(Cli, AValueThatIsNoNumberIsSaidAndShownAsNone) {
  CRunFolder f;
  f.WriteMinimal();
  f.Write(QStringLiteral("configure.dat"), "Selected model:1\n1\tnan\t0.5\t0\t0\t0\t0\t0\t0\t0\t10\t0\tinf\n");
  Result r = Corvane({QStringLiteral("--info"), f.Dir()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QString phase = QString::fromUtf8(r.out).section(QLatin1Char('\n'), 7, 7);  // the first phase's line
  EXPECT_TRUE(phase.contains(QStringLiteral("none"))) << phase.toStdString();
  for (const char* said :
       {"configure.dat: line 2, column 2 holds \"nan\", which is no number; that value is left out",
        "configure.dat: line 2, column 13 holds \"inf\", which is no number; that value is left out"}) {
    EXPECT_TRUE(r.err.contains(said)) << r.err.constData();
  }
  const QJsonObject o = Json(Corvane({QStringLiteral("--info"), QStringLiteral("--json"), f.Dir()}));
  EXPECT_TRUE(o["phases"][0]["temperature"].isNull());
  EXPECT_EQ(o["phases"][0]["humidity"].toDouble(), 0.5);

  f.Write(QStringLiteral("configure.dat"), "Selected model:1\n1\t25\t0.5\t0\tinf\t0\t0\t0\t0\t0\t10\t0\t0\n");
  r = Corvane({QStringLiteral("--info"), f.Dir()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("configure.dat: line 2, column 5 holds \"inf\", which is no number; the line is left out"))
      << r.err.constData();
}

TEST(Cli, ScreenshotNeverWritesOverWhatItReads) {
  CRunFolder run, program;
  run.WriteMinimal();
  for (const char* name : {"model.obj", "spacesuit.mtl", "1.bmp"}) {
    program.Write(QLatin1String(name), "x");
  }
  struct Case {
    QString path;
    bool input;
  } cases[] = {
      {run.Dir() + QStringLiteral("configure.dat"), true}, {run.Dir() + QStringLiteral("bodyProperty.dat"), true},
      {run.Dir() + QStringLiteral("id.dat"), true},        {run.Dir() + QStringLiteral("picture.png"), false},
      {program.Dir() + QStringLiteral("model.obj"), true}, {program.Dir() + QStringLiteral("1.bmp"), true},
      {program.Dir() + QStringLiteral("shot.png"), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsScreenshotInput(c.path, run.Dir(), program.Dir()), c.input) << c.path.toStdString();
  }
  // The same file by another name is still the file.
  ASSERT_TRUE(QFile::link(run.Dir() + QStringLiteral("configure.dat"), program.Dir() + QStringLiteral("alias.png")));
  EXPECT_TRUE(IsScreenshotInput(program.Dir() + QStringLiteral("alias.png"), run.Dir(), program.Dir()));
  // And the command refuses before anything is drawn.
  QFile before(run.Dir() + QStringLiteral("configure.dat"));
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray content = before.readAll();
  Result r = Corvane({QStringLiteral("--screenshot"), run.Dir() + QStringLiteral("configure.dat"),
                      QStringLiteral("--view"), QStringLiteral("static"), run.Dir()});
  EXPECT_EQ(r.exitCode, 2);
  QFile after(run.Dir() + QStringLiteral("configure.dat"));
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), content);
}

TEST(Cli, AnUnreachableDisplayIsAnErrorNotACrash) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4242"));
  CRunFolder out;
  Result r = Corvane({QStringLiteral("--screenshot"), out.Dir() + QStringLiteral("x.png"), QStringLiteral("--view"),
                      QStringLiteral("static"), SampleRun()},
                     env);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("cannot open the display \":4242\"")) << r.err.constData();
}

// A value the run does not hold is an empty cell, under the column's unit.
TEST(ExportCsv, AHoleIsAnEmptyCell) {
  CSimulationData d;
  for (int s = 0; s < 3; ++s) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = 0.5f * static_cast<float>(s);
      r.m_nPart = p;
      r.m_fSkinTemp = s == 1 ? std::nanf("") : 33.0f + static_cast<float>(s);
      EditRun(d).m_body.push_back(r);
    }
  }
  EXPECT_EQ(ExportCsv(d, 2100, 0), QStringLiteral("Time(min),Temperature of Skin(Degree)\n0,33\n0.5,\n1,35\n"));
}

TEST(Cli, TheScienceViewAsAPictureAndItsNumbersAsCsv) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  CRunFolder out;
  const QString picture = out.Dir() + QStringLiteral("science.png");
  Result r = Corvane(
      {QStringLiteral("--screenshot"), picture, QStringLiteral("--view"), QStringLiteral("science"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QImage image(picture);
  // The chart's line of the head's skin temperature.
  const int line = CountPixels(image, image.rect(), [](const QColor& c) { return c == QColor(210, 100, 100); });
  EXPECT_GT(line, 200);

  const QString csv = out.Dir() + QStringLiteral("comfort.csv");
  ASSERT_EQ(Corvane({QStringLiteral("--export-csv"), csv, QStringLiteral("--option"), QStringLiteral("1200"),
                     QStringLiteral("--quantity"), QStringLiteral("2"), SampleRun()})
                .exitCode,
            0);
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = f.readAll().split('\n');
  EXPECT_EQ(lines.front(), "Time(min),Comfort(0-100)");
  const QJsonObject summary = Json(Corvane({QStringLiteral("--info"), QStringLiteral("--json"), SampleRun()}));
  EXPECT_EQ(lines.size() - 2, summary["comfortRows"][0].toInt());  // the header, and the empty end
  // Fabric humidity in percent, the file's own values, under its unit.
  const QString rh = out.Dir() + QStringLiteral("rh.csv");
  ASSERT_EQ(Corvane({"--export-csv", rh, "--option", "2300", "--quantity", "3", SampleRun()}).exitCode, 0);
  QFile rhFile(rh);
  ASSERT_TRUE(rhFile.open(QIODevice::ReadOnly));
  const QList<QByteArray> rhLines = rhFile.readAll().split('\n');
  EXPECT_EQ(rhLines.front(), "curve,Thickness(cm),Time(min),Relative Humidity(%)");
  EXPECT_EQ(rhLines.value(1), "0,0.024,0,50") << "the sample's first row: 0.0000 0.02400 1 ... 50.000";
  EXPECT_EQ(
      Corvane({QStringLiteral("--export-csv"), csv, QStringLiteral("--option"), QStringLiteral("1700"), SampleRun()})
          .exitCode,
      2);
}

TEST(Cli, TheStaticScreenshotShowsTheRunsOwnModelsFromTheService) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  // A run of its own, naming a model no earlier run can have left in the
  // program's download folder.
  CRunFolder out;
  out.WriteMinimal();
  const QString id = QStringLiteral("T-") + QUuid::createUuid().toString(QUuid::Id128);
  out.Write(QStringLiteral("id.dat"), "model id:" + id.toStdString() + "\nthe garment list:0\n");
  const QStringList args = {QStringLiteral("--screenshot"),
                            out.Dir() + QStringLiteral("s.png"),
                            QStringLiteral("--view"),
                            QStringLiteral("static"),
                            QStringLiteral("--model-service"),
                            QStringLiteral("http://127.0.0.1:9"),  // nothing answers there
                            out.Dir()};
  Result r = Corvane(args);
  EXPECT_EQ(r.exitCode, 0) << r.err.constData();
  EXPECT_TRUE(r.err.contains("Download Mdoel failed!")) << r.err.constData();
  EXPECT_FALSE(QImage(out.Dir() + QStringLiteral("s.png")).isNull()) << "the program's own models stand in";
}

TEST(Cli, TheViewerWithoutADisplaySaysSoAndHowToGoOn) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    env.remove(QLatin1String(v));
  }
  for (const QStringList& args : {QStringList{SampleRun()}, QStringList{}}) {
    const Result r = Corvane(args, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("there is no display")) << r.err.constData();
    EXPECT_TRUE(r.err.contains("--info DATA_DIR")) << r.err.constData();
  }
  // Wrong arguments are a usage error, display or not.
  const Result bogus = Corvane({QStringLiteral("--bogus"), SampleRun()}, env);
  EXPECT_EQ(bogus.exitCode, 2);
  EXPECT_FALSE(bogus.err.contains("there is no display")) << bogus.err.constData();
}

// Without models beside it (nor under ../share/corvane) the program says so
// and a screenshot fails instead of showing an empty scene.
TEST(Cli, AScreenshotWithoutTheProgramsModelsFails) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  CRunFolder program, out;
  const QString copy = program.Dir() + QStringLiteral("corvane");
  ASSERT_TRUE(QFile::copy(qEnvironmentVariable("CORVANE_BIN"), copy));
  // Through the window, and the scene alone (--size).
  for (const QStringList& view : {QStringList{"space"}, QStringList{"dynamic"}, QStringList{"static"},
                                  QStringList{"static", "--size", "64x48"}}) {
    Result r = Corvane(
        QStringList{QStringLiteral("--screenshot"), out.Dir() + QStringLiteral("x.png"), QStringLiteral("--view")} +
            view + QStringList{SampleRun()},
        QProcessEnvironment::systemEnvironment(), copy);
    EXPECT_EQ(r.exitCode, 1) << view.join(' ').toStdString() << ": " << r.err.constData();
    EXPECT_TRUE(r.err.contains("could not all be read")) << r.err.constData();
  }
  EXPECT_FALSE(QFile::exists(out.Dir() + QStringLiteral("x.png")));
}

// At a device pixel ratio of 2 the window keeps its layout and gets twice
// the pixels, the GL scene too; the window's picture carries its title and menu.
TEST(Cli, TheWindowAtTwiceThePixelRatioAndWithItsTitle) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  CRunFolder out;
  const QSize page = DialogUnitsToPixels(0, 0, 667, 407).size();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
  const QString hidpi = out.Dir() + QStringLiteral("hidpi.png");
  Result r = Corvane(
      {QStringLiteral("--screenshot"), hidpi, QStringLiteral("--view"), QStringLiteral("static"), SampleRun()}, env);
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  QImage image(hidpi);
  EXPECT_EQ(image.size(), page * 2);
  // The colour bar's top, where the page puts it, in device pixels.
  const int red = CountPixels(image, QRect(0, 0, image.width() / 3, image.height() / 2), ScaleRed);
  EXPECT_GT(red, 80);
  // "Visualization Content" where its dialog units put it, in device pixels.
  const int caption = CountPixels(image, QRect(0, 20, 300, 40), [](const QColor& c) { return qGray(c.rgb()) < 100; });
  EXPECT_GT(caption, 30);
  // Between the view's left edge and the room, the black the screen shows.
  EXPECT_EQ(QColor(image.pixel(2 * 165, 2 * 300)), QColor(Qt::black));

  const QString window = out.Dir() + QStringLiteral("window.png");
  r = Corvane({QStringLiteral("--screenshot"), window, QStringLiteral("--window"), QStringLiteral("--view"),
               QStringLiteral("space"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  image = QImage(window);
  EXPECT_EQ(image.width(), page.width());
  EXPECT_GT(image.height(), page.height() + 40) << "the title bar and the menu bar above the page";
  EXPECT_EQ(QColor(image.pixel(4, 4)), QColor(60, 63, 70)) << "the title bar";
  EXPECT_EQ(Corvane({QStringLiteral("--screenshot"), window, QStringLiteral("--window"), QStringLiteral("--size"),
                     QStringLiteral("100x100"), QStringLiteral("--view"), QStringLiteral("space"), SampleRun()})
                .exitCode,
            2);
}

// The trunk's thickness profile at the fabric step nearest a minute: every
// node of every layer, whichever layer's option asks; and bad minutes refused.
TEST(Cli, AThicknessProfileAsCsvAtTheNearestStep) {
  CSimulationData d;
  ASSERT_TRUE(d.Load(SampleRun()));
  const RunTables& run = d.Run();
  const int layers = run.m_nLayers[Trunk], nodes = run.m_nNodesPerLayer[Trunk];
  ASSERT_GT(layers, 1);
  const double interval = run.m_fFabricInterval;
  const int nodesAStep = layers * nodes;
  const auto perStep = static_cast<std::size_t>(nodesAStep);
  const std::size_t steps = run.m_fabric[Trunk].size() / perStep;
  CRunFolder out;
  auto profile = [&](const char* option, const QString& minute) {
    const QString file = out.Dir() + QStringLiteral("profile.csv");
    QFile::remove(file);
    const Result r =
        Corvane({"--export-csv", file, "--option", option, "--quantity", "4", "--profile-at", minute, SampleRun()});
    QFile f(file);
    const bool written = f.open(QIODevice::ReadOnly);
    EXPECT_EQ(r.exitCode == 0, written) << r.err.constData();
    return std::make_pair(r, written ? f.readAll() : QByteArray());
  };
  // Halfway between the second and third steps: the second; the last step too.
  for (const auto& [minute, step] : {std::pair{1.5 * interval, std::size_t{1}},
                                     std::pair{(static_cast<double>(steps) - 1.2) * interval, steps - 1}}) {
    const auto [r, text] = profile("2300", QString::number(minute, 'g', 10));
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), perStep + 2) << "the header, a row a node, the empty end";
    EXPECT_EQ(lines.front(), "Position(cm),Layer,Temperature(Degree)");
    for (std::size_t k = 0; k < perStep; ++k) {
      const FabricRow& row = run.m_fabric[Trunk][step * perStep + k];
      const QList<QByteArray> cells = lines[static_cast<qsizetype>(k) + 1].split(',');
      ASSERT_EQ(cells.size(), 3);
      EXPECT_FLOAT_EQ(cells[0].toFloat(), row.m_fPosition) << k;
      EXPECT_EQ(cells[1].toInt(), static_cast<int>(k) / nodes + 1) << k;
      EXPECT_FLOAT_EQ(cells[2].toFloat(), row.m_fTemperature) << k;
    }
    EXPECT_EQ(profile("2301", QString::number(minute, 'g', 10)).second, text) << "the same profile from layer 2";
  }
  const QString end = QString::number(static_cast<double>(steps) * interval, 'g', 10);
  const QString last = QString::number(static_cast<double>(run.m_fabric[Trunk].back().m_fTime), 'g', 6);
  const std::pair<std::pair<const char*, QString>, QString> bad[] = {
      {{"2300", "soon"}, "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"soon\".\n"},
      {{"2300", "-1"}, "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"-1\".\n"},
      {{"2300", "nan"}, "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"nan\".\n"},
      {{"2300", "inf"}, "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"inf\".\n"},
      {{"2300", end},
       QStringLiteral("corvane: --profile-at %1 is beyond the end of the run's fabric data (%2 min).\n")
           .arg(end, last)},
      {{"2100", "1"}, "corvane: --profile-at goes with a fabric layer's option; option 2100 has no layers.\n"},
  };
  for (const auto& [args, message] : bad) {
    const auto [r, text] = profile(args.first, args.second);
    EXPECT_EQ(r.exitCode, 2) << args.second.toStdString();
    EXPECT_TRUE(QString::fromUtf8(r.err).endsWith(message)) << r.err.constData();
  }
}

TEST(Cli, TheScienceScreenshotDrawsTheProfileInThePlotsPlace) {
  if (!HaveDisplay()) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  CRunFolder out;
  auto chartLine = [&](const QStringList& extra) {
    const QString file = out.Dir() + QStringLiteral("science.png");
    QFile::remove(file);
    const Result r =
        Corvane(QStringList{"--screenshot", file, "--view", "science", "--option", "2300", "--quantity", "4"} + extra +
                QStringList{SampleRun()});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    const QImage image(file);
    return CountPixels(image, image.rect(), [](const QColor& c) { return c == QColor(210, 100, 100); });
  };
  EXPECT_LT(chartLine({"--size", "1001x661"}), 20) << "the 3D plot, no chart line";
  EXPECT_GT(chartLine({"--size", "1001x661", "--profile-at", "3"}), 200) << "the profile's line";
  EXPECT_GT(chartLine({"--window", "--profile-at", "3"}), 200) << "the profile in the whole window";
  const Result wrongView = Corvane({"--screenshot", out.Dir() + QStringLiteral("x.png"), "--view", "static",
                                    "--profile-at", "3", "--size", "64x64", SampleRun()});
  EXPECT_EQ(wrongView.exitCode, 2);
  EXPECT_TRUE(wrongView.err.endsWith("corvane: --profile-at goes with --view science.\n")) << wrongView.err.constData();
  const Result csvOfChart = Corvane({"--screenshot", out.Dir() + QStringLiteral("x.png"), "--view", "science",
                                     "--option", "2200", "--profile-at", "3", "--size", "64x64", SampleRun()});
  EXPECT_EQ(csvOfChart.exitCode, 2);
  EXPECT_TRUE(
      csvOfChart.err.endsWith("corvane: --profile-at goes with a fabric layer's option; option 2200 has no layers.\n"))
      << csvOfChart.err.constData();
  const std::pair<QStringList, QByteArray> refused[] = {
      {{"--screenshot", out.Dir() + QStringLiteral("x.png"), "--view", "science", "--option", "2300", "--profile-at",
        "-0.5"},
       "corvane: bad value \"-0.5\" for --profile-at.\nTry 'corvane --help'.\n"},
      {{"--screenshot", out.Dir() + QStringLiteral("x.png"), "--view", "science", "--option", "2300", "--profile-at",
        "inf"},
       "corvane: bad value \"inf\" for --profile-at.\nTry 'corvane --help'.\n"},
      {{"--figure", out.Dir() + QStringLiteral("x.png"), "--option", "2300", "--quantity", "0,1", "--profile-at", "3"},
       "corvane: --profile-at draws one quantity; it does not go with --all-parts or several quantities.\nTry "
       "'corvane --help'.\n"},
      {{"--figure", out.Dir() + QStringLiteral("x.png"), "--option", "2300", "--profile-at", "x"},
       "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"x\".\n"},
      {{"--movie", out.Dir() + QStringLiteral("x.mp4"), "--view", "static", "--profile-at", "3"},
       "corvane: --profile-at goes with --screenshot, not --movie.\nTry 'corvane --help'.\n"},
      {{"--profile-at", "3"}, "corvane: --profile-at goes with --screenshot.\nTry 'corvane --help'.\n"},
  };
  for (const auto& [args, message] : refused) {
    const Result r = Corvane(args + QStringList{SampleRun()});
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.endsWith(message)) << r.err.constData();
  }
}
