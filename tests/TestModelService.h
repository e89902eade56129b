#pragma once
// The model service of the tests: the real program on a free port over a
// catalogue folder, stopped when the object goes, also when a test fails
// half-way (an orphaned service would hold the test's output open).

#include <QProcess>
#include <QString>
#include <QStringList>

class CTestModelService {
 public:
  // `more`: further options, such as a shortened --header-timeout.
  explicit CTestModelService(const QString& models, const QStringList& more = {}) {
    m_process.start(
        qEnvironmentVariable("CORVANE_MODEL_SERVICE_BIN"),
        QStringList{QStringLiteral("--models"), models, QStringLiteral("--port"), QStringLiteral("0")} + more);
    while (m_port == 0 && (m_process.canReadLine() || m_process.waitForReadyRead(60000))) {
      if (!m_process.canReadLine()) {
        continue;  // half a line so far
      }
      const QByteArray line = m_process.readLine();
      if (line.startsWith("listening on ")) {
        m_port = line.mid(line.lastIndexOf(':') + 1).trimmed().toInt();
      }
    }
  }
  ~CTestModelService() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished(5000);
    }
  }
  CTestModelService(const CTestModelService&) = delete;
  CTestModelService& operator=(const CTestModelService&) = delete;

  // 0 when the service did not start.
  int Port() const { return m_port; }
  QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
  // What it has logged since last asked (one line per request), waiting up
  // to `ms` for more.
  QByteArray Log(int ms = 200) {
    m_process.waitForReadyRead(ms);
    return m_process.readAllStandardOutput();
  }
  QProcess& Process() { return m_process; }

 private:
  QProcess m_process;
  int m_port = 0;
};
