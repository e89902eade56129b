#include "ModelDownload.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>

#include "LoadCancel.h"
#include "LockedTemporary.h"
#include "ModelId.h"
#include "ObjReader.h"

QString ModelServiceUrl(const QString& commandLineValue) {
  if (!commandLineValue.isEmpty()) {
    return commandLineValue;
  }
  const QString env = qEnvironmentVariable("CORVANE_MODEL_SERVICE");
  return env.isEmpty() ? QStringLiteral("http://127.0.0.1:8470") : env;
}

QString DownloadFolderFor(const QString& moduleDir) {
  const QString temp = moduleDir + QStringLiteral("temp");
  QDir().mkpath(temp);
  const QFileInfo info(temp);
  if (info.isDir() && info.isWritable()) {
    return temp + QLatin1Char('/');
  }
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/models");
  QDir().mkpath(cache);
  return cache + QLatin1Char('/');
}

namespace {
QString Url(const QString& service, const char* path, const char* key, const QString& id) {
  QString base = service;
  while (base.endsWith(QLatin1Char('/'))) {
    base.chop(1);
  }
  return base + QLatin1String(path) + QLatin1Char('?') + QLatin1String(key) + QLatin1Char('=') +
         QString::fromLatin1(QUrl::toPercentEncoding(id));
}
}  // namespace

QString BodyModelUrl(const QString& service, const QString& id) {
  return Url(service, "/Wembra/Interface/GetModel.ashx", "ModelId", id);
}
QString GarmentUrl(const QString& service, const QString& id) {
  return Url(service, "/Wembra/Interface/GetGarment.ashx", "Id", id);
}

namespace {
// The environment's deadline in seconds, when it is one: a number from 1.
std::optional<double> EnvironmentTimeout(bool* set) {
  const QString text = qEnvironmentVariable("CORVANE_DOWNLOAD_TIMEOUT");
  *set = !text.isEmpty();
  bool ok = false;
  const double seconds = text.toDouble(&ok);
  return ok && seconds >= 1 && std::isfinite(seconds) ? std::optional<double>(seconds) : std::nullopt;
}
}  // namespace

int DownloadTimeoutMs() {
  bool set = false;
  const std::optional<double> seconds = EnvironmentTimeout(&set);
  if (!seconds) {
    return 120000;
  }
  return *seconds * 1000 >= INT_MAX ? INT_MAX : static_cast<int>(*seconds * 1000);
}

QString DownloadTimeoutProblem() {
  bool set = false;
  if (EnvironmentTimeout(&set) || !set) {
    return QString();
  }
  return QStringLiteral(
             "CORVANE_DOWNLOAD_TIMEOUT=\"%1\" is not a number of seconds from 1: the default, 120 s, "
             "is used.")
      .arg(qEnvironmentVariable("CORVANE_DOWNLOAD_TIMEOUT"));
}

bool CModelDownload::ReadsAsModel(const QString& path) const {
  const CLoadCancelScope cancellable(&m_cancel);
  const ObjModelPtr model(glmReadOBJ(QFile::encodeName(path).constData()));
  return model && !m_cancel && model->vertexCount >= 1 && model->triangleCount >= 1;
}

namespace {
// Whether a body arrived whole as far as HTTP can say: the length it
// promised. A body without one (ended by the connection's close, or chunked:
// Qt takes a chunked body cut at a chunk's end for a whole one) may be half
// a model; the service always sends its length.
// The length the answer promised. After a redirect Qt 6.4 keeps the first
// answer's Content-Length and adds the last one's ("0, 1500"), and its own
// reading of the header gives the first: the last is the one that counts.
std::optional<qint64> PromisedLength(const QNetworkReply& reply) {
  const QByteArray raw = reply.rawHeader("Content-Length");
  if (raw.isEmpty()) {
    return std::nullopt;
  }
  bool ok = false;
  const qint64 length = raw.split(',').last().trimmed().toLongLong(&ok);
  return ok && length >= 0 ? std::optional<qint64>(length) : std::nullopt;
}

bool KnownComplete(const QNetworkReply& reply, qint64 written) {
  const std::optional<qint64> length = PromisedLength(reply);
  return length && *length == written;
}
}  // namespace

bool CModelDownload::Fetch(const QString& url, const QString& path) {
  QNetworkAccessManager network;
  QNetworkRequest request{QUrl(url)};
  request.setTransferTimeout(m_settings.stallTimeoutMs);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
  // The body as it is sent: a compressed one could grow without bound in
  // Qt's hands (1.5 MB to 1 GB) before its length is known.
  request.setRawHeader("Accept-Encoding", "identity");
  // The body goes to a file of its own beside `path` and takes its place
  // only once it is whole and checked; its lock tells a later cleaner that
  // it is being written.
  const QString folder = QFileInfo(path).absolutePath();
  CLockedTemporary file;
  bool ok = file.Create(folder, QStringLiteral(".fetch-"), QStringLiteral(".obj"));
  QNetworkReply* reply = network.get(request);
  // What the network holds in memory at a time: the body streams to the
  // file, whatever its length.
  reply->setReadBufferSize(qint64{1} << 20);
  qint64 written = 0;
  QEventLoop loop;
  QTimer connectTimer, cancelPoll, deadline;
  connectTimer.setSingleShot(true);
  deadline.setSingleShot(true);
  QObject::connect(&connectTimer, &QTimer::timeout, reply, &QNetworkReply::abort);
  QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
  QObject::connect(reply, &QNetworkReply::metaDataChanged, &connectTimer, &QTimer::stop);
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
    // A length beyond the cap is refused before a byte of it is read, and so
    // is a part of a file or an encoded body: neither is the model itself.
    const std::optional<qint64> length = PromisedLength(*reply);
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if ((length && *length > m_settings.maxBytes) || (!encoding.isEmpty() && encoding != "identity") ||
        (status != 0 && status != 200 && status < 300)) {
      ok = false;
      reply->abort();
    }
  });
  QObject::connect(&cancelPoll, &QTimer::timeout, reply, [&] {
    if (m_cancel) {
      reply->abort();
    }
  });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
    const QByteArray chunk = reply->readAll();
    written += chunk.size();
    if (written > m_settings.maxBytes) {
      ok = false;
      reply->abort();
      return;
    }
    if (ok && !file.Write(chunk.constData(), static_cast<std::size_t>(chunk.size()))) {
      ok = false;
      reply->abort();
    }
  });
  QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64 total) {
    if (onProgress) {
      onProgress(received, total);
    }
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  connectTimer.start(m_settings.connectTimeoutMs);
  deadline.start(m_settings.totalTimeoutMs);
  cancelPoll.start(50);
  if (!reply->isFinished()) {
    loop.exec();
  }
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  // Complete, the whole file (200, not a part of it), and a real model's size.
  ok = ok && reply->error() == QNetworkReply::NoError && status == 200 && written >= 1000 &&
       KnownComplete(*reply, written);
  delete reply;
  if (!ok || m_cancel) {
    return false;
  }
  if (!ReadsAsModel(file.Path())) {
    return false;
  }
  // rename() replaces the name itself: a link there goes, its target stays.
  if (!file.CommitTo(path)) {
    return false;
  }
  QFile::setPermissions(
      path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  return true;
}

DownloadResult CModelDownload::Run(const QString& modelId, const QStringList& garmentIds) {
  DownloadResult result;
  const QString folder = m_settings.downloadFolder;
  // What a viewer killed while it downloaded left behind.
  RemoveAbandonedTemporaries(folder, QStringLiteral(".fetch-"), QStringLiteral(".obj"));
  Status(QStringLiteral("DownLoading Model..."));
  // A fetch that fails may still find a good file from an earlier run there.
  auto fetch = [&](const QString& url, const QString& id, bool& cached) {
    if (!IsValidModelId(id.toStdString())) {
      return false;
    }
    const QString path = folder + id + QStringLiteral(".obj");
    if (Fetch(url, path)) {
      return true;
    }
    const QFileInfo earlier(path);
    cached = earlier.isFile() && earlier.size() >= 1000;
    return cached;
  };
  auto named = [](const QString& what, const QString& id) {
    return IsValidModelId(id.toStdString()) ? QString()
                                            : QStringLiteral("\nThe %1 id \"%2\" is not a file name.").arg(what, id);
  };
  bool cachedBody = false, cachedGarment = false, allGarments = true;
  const bool body = fetch(BodyModelUrl(m_settings.serviceUrl, modelId), modelId, cachedBody);
  if (!body) {
    Tell(QStringLiteral("Download Model"),
         QStringLiteral("Download Mdoel failed!") + named(QStringLiteral("model"), modelId));
  } else {
    Status(QStringLiteral("DownLoading Model..."));
    for (const QString& id : garmentIds) {
      if (m_cancel) {
        break;
      }
      bool cached = false;
      if (!fetch(GarmentUrl(m_settings.serviceUrl, id), id, cached)) {
        Tell(QStringLiteral("Download Garments"),
             QStringLiteral("Download Garments failed!") + named(QStringLiteral("garment"), id));
        allGarments = false;
        break;
      }
      cachedGarment = cachedGarment || cached;
    }
  }
  result.downloaded = body && allGarments && !m_cancel;
  result.cached = result.downloaded && (cachedBody || cachedGarment);
  if (result.downloaded) {
    result.bodyPath = folder + modelId + QStringLiteral(".obj");
    // Without a garment id the body that arrived is shown in the fallback garment.
    result.garmentPath = garmentIds.isEmpty() ? m_settings.moduleDir + QStringLiteral("cloth.obj")
                                              : folder + garmentIds.front() + QStringLiteral(".obj");
    Status(result.cached ? QStringLiteral("The model service did not answer: the cached copy is shown.") : QString());
  } else {
    result.bodyPath = m_settings.moduleDir + QStringLiteral("model.obj");
    result.garmentPath = m_settings.moduleDir + QStringLiteral("cloth.obj");
  }
  return result;
}
