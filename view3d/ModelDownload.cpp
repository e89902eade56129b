#include "ModelDownload.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "ModelId.h"

QString ModelServiceUrl(const QString& commandLineValue) {
  if (!commandLineValue.isEmpty()) return commandLineValue;
  const QString env = qEnvironmentVariable("CORVANE_MODEL_SERVICE");
  return env.isEmpty() ? QStringLiteral("http://127.0.0.1:8470") : env;
}

QString DownloadFolderFor(const QString& moduleDir) {
  const QString temp = moduleDir + QStringLiteral("temp");
  QDir().mkpath(temp);
  const QFileInfo info(temp);
  if (info.isDir() && info.isWritable()) return temp + QLatin1Char('/');
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/models");
  QDir().mkpath(cache);
  return cache + QLatin1Char('/');
}

namespace {
QString Url(const QString& service, const char* path, const char* key, const QString& id) {
  QString base = service;
  while (base.endsWith(QLatin1Char('/'))) base.chop(1);
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

bool CModelDownload::Fetch(const QString& url, const QString& path) {
  QNetworkAccessManager network;
  QNetworkRequest request{QUrl(url)};
  request.setTransferTimeout(m_settings.stallTimeoutMs);
  QNetworkReply* reply = network.get(request);
  QSaveFile file(path);
  bool ok = file.open(QIODevice::WriteOnly);
  qint64 written = 0;
  QEventLoop loop;
  QTimer connectTimer, cancelPoll;
  connectTimer.setSingleShot(true);
  QObject::connect(&connectTimer, &QTimer::timeout, reply, &QNetworkReply::abort);
  QObject::connect(reply, &QNetworkReply::metaDataChanged, &connectTimer, &QTimer::stop);
  QObject::connect(&cancelPoll, &QTimer::timeout, reply, [&] {
    if (m_cancel) reply->abort();
  });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
    const QByteArray chunk = reply->readAll();
    written += chunk.size();
    if (written > m_settings.maxBytes) return ok = false, reply->abort();
    if (ok && file.write(chunk) != chunk.size()) ok = false;
  });
  QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64 total) {
    if (onProgress) onProgress(received, total);
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  connectTimer.start(m_settings.connectTimeoutMs);
  cancelPoll.start(50);
  if (!reply->isFinished()) loop.exec();
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
  // Complete, a success status, the length promised, and a real model's size.
  ok = ok && reply->error() == QNetworkReply::NoError && status >= 200 && status < 300 && written >= 1000 &&
       (!length.isValid() || length.toLongLong() == written);
  delete reply;
  if (!ok) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

DownloadResult CModelDownload::Run(const QString& modelId, const QStringList& garmentIds) {
  DownloadResult result;
  const QString folder = m_settings.downloadFolder;
  Status(QStringLiteral("DownLoading Model..."));
  // A fetch that fails may still find a good file from an earlier run there.
  auto fetch = [&](const QString& url, const QString& id, bool& cached) {
    if (!IsValidModelId(id.toStdString())) return false;
    const QString path = folder + id + QStringLiteral(".obj");
    if (Fetch(url, path)) return true;
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
      if (m_cancel) break;
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
