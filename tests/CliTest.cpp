// corvane --info: exit codes, the fixed JSON keys, and the locale.

#include "GermanLocale.h"
#include "RunFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out, err;
};

Result Corvane(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(qEnvironmentVariable("CORVANE_BIN"), args);
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
  EXPECT_TRUE(version.out.startsWith("corvane "));
  EXPECT_EQ(Corvane({QStringLiteral("--info")}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--info"), QStringLiteral("--bogus"), SampleRun()}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--info"), SampleRun(), SampleRun()}).exitCode, 2);
  EXPECT_EQ(Corvane({QStringLiteral("--json"), SampleRun()}).exitCode, 2);
}

TEST(Cli, JsonSummaryOfTheSampleRun) {
  Result r = Corvane({QStringLiteral("--info"), QStringLiteral("--json"), SampleRun()});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QJsonObject o = Json(r);
  const QStringList keys = {"loaded", "selectedModel", "phases", "samples", "sampleInterval", "fabricInterval",
                            "layers", "nodesPerLayer", "fabricRows", "bodyRows", "comfortRows", "fibers",
                            "ranges", "scale", "modelId", "garmentIds", "messages"};
  QStringList sortedKeys = keys;
  sortedKeys.sort();
  EXPECT_EQ(o.keys(), sortedKeys);
  EXPECT_TRUE(o["loaded"].toBool());
  const QJsonArray phases = o["phases"].toArray();
  ASSERT_EQ(phases.size(), 3);
  EXPECT_EQ(phases[0].toObject().keys(),
            (QStringList{"clothed", "humidity", "start", "temperature"}));
  EXPECT_EQ(phases[0]["clothed"].toArray().size(), 6);
  EXPECT_EQ(phases[0]["humidity"].toDouble(), 0.45);  // shortest form of the float
  EXPECT_EQ(o["samples"].toInt() * 6, o["bodyRows"].toInt());
  for (const char* k : {"layers", "nodesPerLayer", "fabricRows", "comfortRows"}) EXPECT_EQ(o[k].toArray().size(), 6) << k;
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
  const QString locpath = PrepareGermanLocale();
  ASSERT_FALSE(locpath.isNull());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(kGermanLocale));
  env.insert(QStringLiteral("LANG"), QString::fromLatin1(kGermanLocale));
  if (!locpath.isEmpty()) env.insert(QStringLiteral("LOCPATH"), locpath);
  const QStringList args = {QStringLiteral("--info"), QStringLiteral("--json"), SampleRun()};
  Result german = Corvane(args, env);
  Result plain = Corvane(args);
  ASSERT_EQ(german.exitCode, 0);
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
  for (const QJsonValue& g : o["groups"].toArray()) {
    EXPECT_EQ(g.toObject().keys(), (QStringList{"material", "name", "part", "triangles"}));
    if (g["name"].toString() == QStringLiteral(" HEAD")) EXPECT_EQ(g["part"].toString(), QStringLiteral("Head"));
    if (g["name"].toString() == QStringLiteral("default")) EXPECT_TRUE(g["part"].isNull());
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
