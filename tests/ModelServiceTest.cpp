// corvane-model-service as the viewer meets it: started on a free port, asked
// for bodies and garments by id, refusing ids that are no file names, and
// stopped by a signal.

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ModelId.h"
#include "TestModelService.h"

namespace {

void Write(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
  QFile f(dir.filePath(name));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(content);
}
}  // namespace

TEST(ModelId, IdsAreFileNames) {
  for (const char* good : {"A7", "M-1001", "garment id with blanks"}) EXPECT_TRUE(IsValidModelId(good)) << good;
  for (const char* bad : {"", "../etc/passwd", "a/b", "a\\b", "..", "x\ty"}) EXPECT_FALSE(IsValidModelId(bad)) << bad;
  EXPECT_FALSE(IsValidModelId(std::string_view("a\0b", 3)));
  EXPECT_TRUE(IsValidModelId(std::string(128, 'x')));
  EXPECT_FALSE(IsValidModelId(std::string(129, 'x')));
}

TEST(ModelService, AnswersBothPathsAndRefusesWhatIsNoId) {
  QTemporaryDir models;
  const QByteArray body = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n" + QByteArray(1500, '#');
  Write(models, QStringLiteral("A7.obj"), body);
  Write(models, QStringLiteral("G1.obj"), "v 1 1 1\n");
  CTestModelService service(models.path());
  ASSERT_GT(service.Port(), 0);
  httplib::Client client("127.0.0.1", service.Port());
  auto model = client.Get("/Wembra/Interface/GetModel.ashx?ModelId=A7");
  ASSERT_TRUE(model);
  EXPECT_EQ(model->status, 200);
  EXPECT_EQ(model->body, body.toStdString());
  EXPECT_EQ(model->get_header_value("Content-Type"), "model/obj");
  EXPECT_EQ(model->get_header_value("Content-Length"), std::to_string(body.size()));
  auto garment = client.Get("/Wembra/Interface/GetGarment.ashx?Id=G1");
  ASSERT_TRUE(garment);
  EXPECT_EQ(garment->status, 200);
  for (const char* path :
       {"/Wembra/Interface/GetModel.ashx?ModelId=missing", "/Wembra/Interface/GetModel.ashx?ModelId=..%2FA7",
        "/Wembra/Interface/GetGarment.ashx?Id=%2Fetc%2Fpasswd", "/Wembra/Interface/GetGarment.ashx",
        "/Wembra/Interface/GetModel.ashx?Id=A7", "/elsewhere"}) {
    auto r = client.Get(path);
    ASSERT_TRUE(r) << path;
    EXPECT_EQ(r->status, 404) << path;
  }
  // One log line per request, and a clean stop on SIGTERM.
  ::kill(static_cast<pid_t>(service.Process().processId()), SIGTERM);
  ASSERT_TRUE(service.Process().waitForFinished(10000));
  EXPECT_EQ(service.Process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(service.Process().exitCode(), 0);
  const QList<QByteArray> log = service.Process().readAllStandardOutput().trimmed().split('\n');
  ASSERT_EQ(log.size(), 8);  // the seven requests to its two paths, then "stopped"
  EXPECT_TRUE(log[0].contains("ModelId=A7 200")) << log[0].constData();
  EXPECT_EQ(log.back(), "stopped");
}
