// The model service under load, as wrk meets it on loopback: requests per
// second and the 99th percentile of latency for a 1 MB model and for a 404,
// each alone and while 64 slow clients hold connections open (each sends a
// byte of its headers every two seconds and comes back when the service's
// header deadline ends it).
// bench_service [SECONDS]   (wrk -t2 -c64 -dSECONDS --latency; 15 s unless given)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);  // completes in the background
  return fd;
}

// 64 connections that each send one byte of a request's headers every two
// seconds; one the service has closed is opened anew, so that 64 stay.
class CSlowClients {
 public:
  explicit CSlowClients(int port) : m_port(port) {
    for (int& fd : m_fds) fd = Connect(m_port);
    m_thread = std::thread([this] { Run(); });
  }
  ~CSlowClients() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bStop = true;
    }
    m_wake.notify_one();
    m_thread.join();
    for (const int fd : m_fds) ::close(fd);
  }
  int Reopened() const { return m_nReopened; }

 private:
  void Run() {
    static const std::string kRequest = "GET /Wembra/Interface/GetModel.ashx?ModelId=M HTTP/1.1\r\nHost: corvane\r\n";
    std::size_t sent = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::seconds(2), [this] { return m_bStop; })) {
      const char byte = kRequest[sent++ % kRequest.size()];
      for (int& fd : m_fds) {
        char got;
        const bool closed = ::recv(fd, &got, 1, MSG_DONTWAIT) == 0 || ::send(fd, &byte, 1, MSG_NOSIGNAL) < 0;
        if (!closed) continue;
        ::close(fd);
        fd = Connect(m_port);
        ++m_nReopened;
      }
    }
  }

  const int m_port;
  std::array<int, 64> m_fds{};
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_bStop = false;
  std::atomic<int> m_nReopened{0};
  std::thread m_thread;
};

// One wrk run: its output, or empty when wrk could not be run.
QString Wrk(const QString& url, int seconds) {
  QProcess wrk;
  wrk.start(QStringLiteral("wrk"), {QStringLiteral("-t2"), QStringLiteral("-c64"), QStringLiteral("-d%1s").arg(seconds),
                                    QStringLiteral("--latency"), url});
  if (!wrk.waitForStarted() || !wrk.waitForFinished(seconds * 1000 + 60000)) return {};
  return QString::fromLocal8Bit(wrk.readAllStandardOutput());
}

void Report(const char* what, const QString& out) {
  const QRegularExpressionMatch rate = QRegularExpression(QStringLiteral("Requests/sec:\\s+([0-9.]+)")).match(out);
  const QRegularExpressionMatch p99 = QRegularExpression(QStringLiteral("\\n\\s*99%\\s+([0-9.]+)(us|ms|s)")).match(out);
  const QRegularExpressionMatch errors = QRegularExpression(QStringLiteral("Socket errors: ([^\\n]+)")).match(out);
  const double scale = p99.captured(2) == QLatin1String("us")  ? 0.001
                       : p99.captured(2) == QLatin1String("s") ? 1000
                                                               : 1;
  std::printf("%-34s %9.0f requests/s   p99 %8.2f ms   socket errors: %s\n", what, rate.captured(1).toDouble(),
              p99.captured(1).toDouble() * scale, errors.hasMatch() ? qPrintable(errors.captured(1)) : "none");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  {
    QProcess probe;
    probe.start(QStringLiteral("wrk"), {QStringLiteral("--version")});
    if (!probe.waitForStarted()) {
      std::fprintf(stderr,
                   "bench_service: wrk is missing; install it (apt-get install wrk, or scripts/install-deps.sh)\n");
      return 1;
    }
    probe.waitForFinished();
  }
  QTemporaryDir dir;
  {
    QFile model(dir.filePath(QStringLiteral("M.obj")));
    QByteArray text;
    while (text.size() < (1 << 20)) text += "v 0.125 -0.5 1.75\n";
    if (!model.open(QIODevice::WriteOnly) || model.write(text.left(1 << 20)) != (1 << 20)) return 1;
  }
  // The log goes to a file: a pipe nobody reads would stall the service.
  QProcess service;
  service.setStandardOutputFile(dir.filePath(QStringLiteral("log")));
  service.start(QStringLiteral(CORVANE_MODEL_SERVICE_BIN),
                {QStringLiteral("--models"), dir.path(), QStringLiteral("--port"), QStringLiteral("0")});
  int port = 0;
  for (int i = 0; i < 100 && port == 0 && service.state() != QProcess::NotRunning; ++i) {
    QThread::msleep(50);
    QFile log(dir.filePath(QStringLiteral("log")));
    if (!log.open(QIODevice::ReadOnly)) continue;
    const QByteArray first = log.readLine();
    if (first.startsWith("listening on ") && first.endsWith('\n'))
      port = first.mid(first.lastIndexOf(':') + 1).trimmed().toInt();
  }
  if (port == 0) {
    std::fprintf(stderr, "bench_service: the model service did not start\n");
    return 1;
  }
  const QString base = QStringLiteral("http://127.0.0.1:%1/Wembra/Interface/GetModel.ashx?ModelId=").arg(port);
  std::printf("wrk -t2 -c64 -d%ds --latency, on 127.0.0.1\n", seconds);
  const std::pair<const char*, QString> targets[] = {{"1 MB model", base + QStringLiteral("M")},
                                                     {"404", base + QStringLiteral("missing")}};
  for (const auto& [name, url] : targets) Report(qPrintable(QStringLiteral("%1, alone").arg(name)), Wrk(url, seconds));
  {
    CSlowClients slow(port);
    QThread::msleep(500);
    for (const auto& [name, url] : targets)
      Report(qPrintable(QStringLiteral("%1, 64 slow clients").arg(name)), Wrk(url, seconds));
    std::printf("slow connections ended by the header deadline and opened anew: %d\n", slow.Reopened());
  }
  service.terminate();
  service.waitForFinished();
  return 0;
}
