// Fetching the run's models: from the real model service, and from a test
// server that misbehaves on purpose (errors, stalls, answers cut short).

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "LockedTemporary.h"
#include "ModelDownload.h"
#include "TestModelService.h"

namespace {
QByteArray Obj(int bytes) {
  QByteArray text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  return text + QByteArray(bytes - text.size(), '#');
}

void Write(const QString& path, const QByteArray& content) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(content);
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Short deadlines, for a fetch whose server holds its answer back until the
// fetch is over: whatever the machine's speed, the deadline comes first, and
// the test need not wait the program's own.
DownloadSettings Hasty(DownloadSettings s) {
  s.stallTimeoutMs = 500;
  s.totalTimeoutMs = 800;
  return s;
}

// What a misbehaving server waits for before it lets go of a request: the
// test opens it once the fetch has returned, so that no answer can ever come
// in time, however slow or fast the machine.
class CGate {
 public:
  void Open() {
    const std::lock_guard lock(m_mutex);
    m_bOpen = true;
    m_opened.notify_all();
  }
  void Close() {
    const std::lock_guard lock(m_mutex);
    m_bOpen = false;
  }
  void Wait() {
    std::unique_lock lock(m_mutex);
    m_opened.wait(lock, [this] { return m_bOpen; });
  }
  // Whether it opened within `ms` (a drip's pace between two bytes).
  bool WaitFor(int ms) {
    std::unique_lock lock(m_mutex);
    return m_opened.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bOpen; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_opened;
  bool m_bOpen = false;
};

struct Fixture {
  QTemporaryDir program, catalogue;
  DownloadSettings settings;
  QStringList messages, statuses;
  Fixture() {
    settings.moduleDir = program.path() + QLatin1Char('/');
    settings.downloadFolder = DownloadFolderFor(settings.moduleDir);
  }
  DownloadResult Run(const QString& url, const QString& model, const QStringList& garments) {
    settings.serviceUrl = url;
    CModelDownload d(settings);
    d.onMessage = [this](const QString& caption, const QString& text) {
      messages << caption + QLatin1Char(':') + text;
    };
    d.onStatus = [this](const QString& s) { statuses << s; };
    return d.Run(model, garments);
  }
};
}  // namespace

TEST(ModelDownload, UrlsAndFolders) {
  EXPECT_EQ(BodyModelUrl(QStringLiteral("http://h:1/"), QStringLiteral("A7")),
            QStringLiteral("http://h:1/Wembra/Interface/GetModel.ashx?ModelId=A7"));
  EXPECT_EQ(GarmentUrl(QStringLiteral("http://h:1"), QStringLiteral("G 1&x=#")),
            QStringLiteral("http://h:1/Wembra/Interface/GetGarment.ashx?Id=G%201%26x%3D%23"));
  EXPECT_EQ(ModelServiceUrl(QStringLiteral("http://s:9")), QStringLiteral("http://s:9"));
  QTemporaryDir dir;
  EXPECT_EQ(DownloadFolderFor(dir.path() + QLatin1Char('/')), dir.path() + QStringLiteral("/temp/"));
  // A program folder that cannot hold a "temp" folder: the user's cache.
  Write(dir.filePath(QStringLiteral("file")), "x");
  qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
  const QString cache = DownloadFolderFor(dir.filePath(QStringLiteral("file")) + QLatin1Char('/'));
  EXPECT_TRUE(cache.startsWith(dir.filePath(QStringLiteral("cache")))) << cache.toStdString();
  EXPECT_TRUE(QDir(cache).exists());
}

TEST(ModelDownload, FromTheRealServiceTheBodyAndGarmentsOrTheFallbacks) {
  Fixture f;
  Write(f.catalogue.filePath(QStringLiteral("A7.obj")), Obj(1500));
  Write(f.catalogue.filePath(QStringLiteral("G1.obj")), Obj(1000));
  Write(f.catalogue.filePath(QStringLiteral("G3.obj")), Obj(1200));
  Write(f.catalogue.filePath(QStringLiteral("SMALL.obj")), Obj(999));
  CTestModelService service(f.catalogue.path());
  ASSERT_GT(service.Port(), 0);

  DownloadResult r = f.Run(service.Url(), QStringLiteral("A7"), {QStringLiteral("G1")});
  EXPECT_TRUE(r.downloaded);
  EXPECT_EQ(r.bodyPath, f.settings.downloadFolder + QStringLiteral("A7.obj"));
  EXPECT_EQ(Read(r.bodyPath), Obj(1500));
  EXPECT_EQ(r.garmentPath, f.settings.downloadFolder + QStringLiteral("G1.obj"));
  // The status line while it works, and cleared once the models are there.
  EXPECT_EQ(f.statuses, (QStringList{"DownLoading Model...", "DownLoading Model...", ""}));

  // 999 bytes is no model; the second of three garments fails: the third is
  // never asked for, and the fallbacks are shown.
  EXPECT_FALSE(f.Run(service.Url(), QStringLiteral("SMALL"), {}).downloaded);
  EXPECT_EQ(f.messages, QStringList{"Download Model:Download Mdoel failed!"});
  service.Log();
  r = f.Run(service.Url(), QStringLiteral("A7"), {QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("G3")});
  EXPECT_FALSE(r.downloaded);
  EXPECT_EQ(r.bodyPath, f.settings.moduleDir + QStringLiteral("model.obj"));
  EXPECT_EQ(r.garmentPath, f.settings.moduleDir + QStringLiteral("cloth.obj"));
  const QByteArray log = service.Log();
  EXPECT_TRUE(log.contains("Id=G2 404")) << log.constData();
  EXPECT_FALSE(log.contains("Id=G3")) << log.constData();
  EXPECT_TRUE(f.messages.contains(QStringLiteral("Download Garments:Download Garments failed!")));

  // No garment id: the body that arrived, in the fallback garment.
  r = f.Run(service.Url(), QStringLiteral("A7"), {});
  EXPECT_TRUE(r.downloaded);
  EXPECT_EQ(r.garmentPath, f.settings.moduleDir + QStringLiteral("cloth.obj"));

  // Ids that are no file names are not asked for, and nothing lands outside.
  f.messages.clear();
  r = f.Run(service.Url(), QStringLiteral("../A7"), {});
  EXPECT_FALSE(r.downloaded);
  ASSERT_EQ(f.messages.size(), 1);
  EXPECT_TRUE(f.messages[0].contains(QStringLiteral("\"../A7\""))) << f.messages[0].toStdString();
  EXPECT_FALSE(QFile::exists(f.settings.moduleDir + QStringLiteral("A7.obj")));
}

TEST(ModelDownload, AFailedFetchNeverReplacesAGoodFile) {
  Fixture f;
  CGate stalled;
  httplib::Server server;
  server.Get("/Wembra/Interface/GetModel.ashx", [&stalled](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.get_param_value("ModelId");
    if (id == "E500") {
      res.status = 500;
      res.set_content(std::string(5000, 'e'), "text/html");
    } else if (id == "STALL") {
      stalled.Wait();  // until the first fetch has given up
      res.set_content(std::string(5000, 's'), "model/obj");
    } else if (id == "SHORT") {
      res.set_content_provider(
          5000, "model/obj",
          [](std::size_t, std::size_t, httplib::DataSink& sink) {
            sink.write(std::string(2000, 'x').data(), 2000);
            return false;  // the connection ends before the promised length
          },
          nullptr);
    } else {
      res.status = 404;
    }
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  const QString url = QStringLiteral("http://127.0.0.1:%1").arg(port);
  for (const char* id : {"E500", "STALL", "SHORT"}) {
    const QString good = f.settings.downloadFolder + QLatin1String(id) + QStringLiteral(".obj");
    Write(good, Obj(1200));
    DownloadSettings settings = Hasty(f.settings);
    settings.serviceUrl = url;
    CModelDownload d(settings);
    EXPECT_FALSE(d.Fetch(BodyModelUrl(url, QLatin1String(id)), good)) << id;
    if (QLatin1String(id) == QLatin1String("STALL")) {
      stalled.Open();  // the stall answers the later fetches at once, with no model
    }
    EXPECT_EQ(Read(good), Obj(1200)) << id << ": the earlier good file stays byte for byte";
    // The sequence then shows that cached copy, and says so.
    QString status;
    d.onStatus = [&](const QString& s) { status = s; };
    const DownloadResult r = d.Run(QLatin1String(id), {});
    EXPECT_TRUE(r.downloaded && r.cached) << id;
    EXPECT_EQ(status, QStringLiteral("The model service did not answer: the cached copy is shown.")) << id;
  }
  server.stop();
  serving.join();
  // No service at all: the fallbacks, at once.
  server.stop();
  const DownloadResult down = f.Run(QStringLiteral("http://127.0.0.1:%1").arg(port), QStringLiteral("NONE"), {});
  EXPECT_FALSE(down.downloaded);
}

// A service that answers with what is no model, drips its bytes, redirects
// elsewhere, or promises an endless body: each is a failed fetch, and the
// earlier good file stays byte for byte. A link planted where the file goes
// is replaced itself, never written through.
TEST(ModelDownload, AnAnswerThatIsNoModelOrNeverEndsIsAFailedFetch) {
  Fixture f;
  CGate done;  // the drips go on until the fetch is over
  httplib::Server server;
  int port = 0;
  server.Get("/Wembra/Interface/GetModel.ashx", [&](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.get_param_value("ModelId");
    const std::string here = "/Wembra/Interface/GetModel.ashx?ModelId=GOOD";
    if (id == "GOOD") {
      res.set_content(Obj(1500).toStdString(), "model/obj");
    } else if (id == "VERTICES") {
      std::string vertices;
      for (int i = 0; i < 200; ++i) {
        vertices += "v 0 0 0\n";  // 1,600 bytes of points and no face: no model
      }
      res.set_content(vertices, "model/obj");
    } else if (id == "HTML") {
      res.set_content("<html><body>" + std::string(5000, 'x') + "</body></html>", "text/html");
    } else if (id == "DRIP") {
      res.set_content_provider(
          5000, "model/obj",
          [&done](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            return !done.WaitFor(100) && offset < 5000 && sink.is_writable() && sink.write("v", 1);
          },
          nullptr);
    } else if (id == "ENDLESS") {
      res.set_content_provider(
          std::size_t{10} << 30, "model/obj",
          [&done](std::size_t, std::size_t, httplib::DataSink& sink) {
            return !done.WaitFor(20) && sink.is_writable() && sink.write("v 0 0 0\n", 8);
          },
          nullptr);
    } else if (id == "ELSEWHERE") {
      res.set_redirect("http://localhost:" + std::to_string(port) + here);
    } else if (id == "HERE") {
      res.set_redirect("http://127.0.0.1:" + std::to_string(port) + here);
    } else {
      res.status = 404;
    }
  });
  port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  const QString url = QStringLiteral("http://127.0.0.1:%1").arg(port);
  f.settings.serviceUrl = url;
  const struct {
    const char* id;
    bool fetched;
  } cases[] = {{"HTML", false},    {"VERTICES", false},  {"DRIP", false},
               {"ENDLESS", false}, {"ELSEWHERE", false}, {"HERE", true}};
  for (const auto& c : cases) {
    const QString good = f.settings.downloadFolder + QLatin1String(c.id) + QStringLiteral(".obj");
    Write(good, Obj(1200));
    // The short deadlines end the drips, which never end by themselves; a
    // fetch that must succeed gets the program's own, so that a machine busy
    // with other tests does not fail it.
    const DownloadSettings settings = c.fetched ? f.settings : Hasty(f.settings);
    CModelDownload d(settings);
    done.Close();
    EXPECT_EQ(d.Fetch(BodyModelUrl(url, QLatin1String(c.id)), good), c.fetched) << c.id;
    done.Open();
    EXPECT_EQ(Read(good), c.fetched ? Obj(1500) : Obj(1200)) << c.id;
  }
  // The link goes; what it pointed to stays as it was.
  QTemporaryDir elsewhere;
  const QString target = elsewhere.filePath(QStringLiteral("precious.txt"));
  Write(target, "keep me");
  const QString link = f.settings.downloadFolder + QStringLiteral("GOOD.obj");
  ASSERT_TRUE(QFile::link(target, link));
  CModelDownload d(f.settings);
  EXPECT_TRUE(d.Fetch(BodyModelUrl(url, QStringLiteral("GOOD")), link));
  EXPECT_EQ(Read(target), QByteArray("keep me"));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  EXPECT_EQ(Read(link), Obj(1500));
  EXPECT_TRUE(
      QDir(f.settings.downloadFolder).entryList({QStringLiteral(".fetch-*")}, QDir::Files | QDir::Hidden).isEmpty())
      << "no partial file stays behind";
  server.stop();
  serving.join();
}

namespace {
// A server that answers each request with bytes of its own making, then
// closes: the answers no well-behaved library would send.
class CRawServer {
 public:
  explicit CRawServer(std::function<std::string(const std::string& request)> answer) : m_answer(std::move(answer)) {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_listen, 8) == 0 &&
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      m_port = ntohs(address.sin_port);
    }
    m_thread = std::thread([this] { Serve(); });
  }
  ~CRawServer() {
    ::shutdown(m_listen, SHUT_RDWR);  // ends the accept
    m_thread.join();
    ::close(m_listen);
  }
  CRawServer(const CRawServer&) = delete;
  CRawServer& operator=(const CRawServer&) = delete;
  QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

 private:
  void Serve() {
    for (;;) {
      const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) {
        return;
      }
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n <= 0) {
          break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
      }
      const std::string answer = m_answer(request);
      for (std::size_t done = 0; done < answer.size();) {
        const ssize_t n = ::send(client, answer.data() + done, answer.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
          break;
        }
        done += static_cast<std::size_t>(n);
      }
      ::shutdown(client, SHUT_WR);
      while (::read(client, buffer, sizeof buffer) > 0) {
      }
      ::close(client);
    }
  }
  std::function<std::string(const std::string&)> m_answer;
  int m_listen = -1;
  int m_port = 0;
  std::thread m_thread;
};

std::string Chunked(const std::string& body, bool ended) {
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", body.size());
  return size + body + "\r\n" + (ended ? "0\r\n\r\n" : "");
}
}  // namespace

// Only a whole 200 answer of a known length is a model: a part of the file
// (206), a body without a length (ended by the connection, or chunked: Qt
// takes one cut at a chunk's end for whole) or a compressed body (a "bomb" of
// a gigabyte for a megabyte) is a failed fetch at once, and the cached file
// stays byte for byte. The model is asked for as it is, uncompressed.
TEST(ModelDownload, OnlyAWholeAnswerIsAModel) {
  Fixture f;
  const std::string model = Obj(1500).toStdString();
  std::mutex asking;
  std::vector<std::string> encodings;  // what each request asked for (a connection may end unasked)
  CRawServer server([&](const std::string& request) {
    if (const std::size_t at = request.find("Accept-Encoding: "); at != std::string::npos) {
      const std::lock_guard lock(asking);
      encodings.push_back(request.substr(at + 17, request.find("\r\n", at) - at - 17));
    } else if (!request.empty()) {
      const std::lock_guard lock(asking);
      encodings.emplace_back("(none)");
    }
    const auto has = [&](const char* id) {
      return request.find(std::string("ModelId=") + id + " ") != std::string::npos;
    };
    const std::string length = "Content-Length: " + std::to_string(model.size()) + "\r\n";
    if (has("WHOLE")) {
      return "HTTP/1.1 200 OK\r\n" + length + "Connection: close\r\n\r\n" + model;
    }
    if (has("CHUNKED")) {
      return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + Chunked(model.substr(0, 700), false) +
             Chunked(model.substr(700), true);
    }
    if (has("PART")) {
      return "HTTP/1.1 206 Partial Content\r\n" + length + "Content-Range: bytes 0-1499/3000\r\n\r\n" + model;
    }
    if (has("NOLENGTH")) {
      return "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + model;
    }
    if (has("CHUNKCUT")) {
      return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + Chunked(model, false);
    }
    if (has("GZIP")) {
      // Whatever its bytes would make, a body that says it is compressed is
      // refused on its headers: here they would even read as the model.
      return "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n" + length + "\r\n" + model;
    }
    return std::string("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  });
  const struct {
    const char* id;
    bool fetched;
  } cases[] = {{"WHOLE", true},     {"CHUNKED", false},  {"PART", false},
               {"NOLENGTH", false}, {"CHUNKCUT", false}, {"GZIP", false}};
  for (const auto& c : cases) {
    const QString cached = f.settings.downloadFolder + QLatin1String(c.id) + QStringLiteral(".obj");
    Write(cached, Obj(1200));
    // The program's own deadlines: a refusal must come at once, not from them.
    CModelDownload d(f.settings);
    EXPECT_EQ(d.Fetch(BodyModelUrl(server.Url(), QLatin1String(c.id)), cached), c.fetched) << c.id;
    EXPECT_EQ(Read(cached), c.fetched ? Obj(1500) : Obj(1200)) << c.id;
  }
  const std::lock_guard lock(asking);
  EXPECT_GE(encodings.size(), std::size(cases));
  EXPECT_EQ(std::count(encodings.begin(), encodings.end(), "identity"), static_cast<long>(encodings.size()));
  EXPECT_TRUE(
      QDir(f.settings.downloadFolder).entryList({QStringLiteral(".fetch-*")}, QDir::Files | QDir::Hidden).isEmpty());
}

// A viewer killed while it downloaded left its partial file; the next
// download removes it, but never the one another viewer is writing. The
// check of what arrived stops once the download is cancelled.
TEST(ModelDownload, WhatAKilledViewerLeftGoesAndTheCheckHeedsCancel) {
  Fixture f;
  const QString folder = f.settings.downloadFolder;
  Write(folder + QStringLiteral(".fetch-Ab12Cd.obj"), QByteArray(5000, 'v'));  // no writer holds it
  CLockedTemporary living;  // as another viewer's download holds its file
  ASSERT_TRUE(living.Create(folder, QStringLiteral(".fetch-"), QStringLiteral(".obj")));
  f.Run(QStringLiteral("http://127.0.0.1:9"), QStringLiteral("NONE"), {});
  EXPECT_EQ(QDir(folder).entryList({QStringLiteral(".fetch-*")}, QDir::Files | QDir::Hidden),
            QStringList{QFileInfo(living.Path()).fileName()});

  // A model big enough that its reader looks at the flag along the way.
  QByteArray big;
  for (int i = 0; i < 300000; ++i) {
    big += "v 1.5 2.5 3.5\n";
  }
  big += "f 1 2 3\n";
  const QString file = folder + QStringLiteral("BIG.obj");
  Write(file, big);
  CModelDownload d(f.settings);
  EXPECT_TRUE(d.ReadsAsModel(file));
  d.Cancel();
  EXPECT_FALSE(d.ReadsAsModel(file)) << "cancelled, the check stops";
}
