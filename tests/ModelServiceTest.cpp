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

namespace {
class CService {
 public:
  explicit CService(const QString& models) {
    m_process.start(qEnvironmentVariable("CORVANE_MODEL_SERVICE_BIN"),
                    {QStringLiteral("--models"), models, QStringLiteral("--port"), QStringLiteral("0")});
    EXPECT_TRUE(m_process.waitForStarted(10000));
    while (m_port == 0 && m_process.waitForReadyRead(10000)) {
      const QByteArray line = m_process.readLine();
      if (line.startsWith("listening on ")) m_port = line.mid(line.lastIndexOf(':') + 1).trimmed().toInt();
    }
  }
  ~CService() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished(5000);
    }
  }
  int Port() const { return m_port; }
  QProcess& Process() { return m_process; }

 private:
  QProcess m_process;
  int m_port = 0;
};

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
  CService service(models.path());
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
