#pragma once
// Fetching the run's body and garment models from the model service into a
// download folder, with the fallbacks of the program's own folder. The whole
// sequence runs on the calling thread (a worker), with an event loop of its
// own for the network: nothing waits on the GUI thread, and the GUI thread
// never waits on it. What it has to say goes through callbacks, which the
// owner turns into queued calls.

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

#include "MessageSink.h"

// The time one file may take, in milliseconds: the CORVANE_DOWNLOAD_TIMEOUT
// environment variable in seconds (which --download-timeout sets), a number
// from 1; else 120 s.
int DownloadTimeoutMs();
// What is wrong with a CORVANE_DOWNLOAD_TIMEOUT that is set but is no number
// of seconds from 1 (so that the default holds); empty when nothing is.
QString DownloadTimeoutProblem();

struct DownloadSettings {
  QString serviceUrl;      // e.g. "http://127.0.0.1:8470"
  QString moduleDir;       // the program's folder, ending with a separator
  QString downloadFolder;  // where fetched models go (DownloadFolderFor)
  int connectTimeoutMs = 5000;
  int stallTimeoutMs = 30000;
  // The whole of one file, however the bytes trickle in (DownloadTimeoutMs).
  int totalTimeoutMs = DownloadTimeoutMs();
  qint64 maxBytes = qint64{1} << 30;
};

// The service's address: the --model-service value when given, else the
// CORVANE_MODEL_SERVICE environment variable, else http://127.0.0.1:8470.
QString ModelServiceUrl(const QString& commandLineValue);
// "temp" in the program's folder when it can be written, else the user's
// cache folder + "/models". The folder is made.
QString DownloadFolderFor(const QString& moduleDir);
// The two request URLs, the id percent-encoded where it would change the
// URL's meaning (plain ids are unchanged).
QString BodyModelUrl(const QString& service, const QString& id);
QString GarmentUrl(const QString& service, const QString& id);

struct DownloadResult {
  bool downloaded = false;        // the body and every garment arrived (or were there already)
  bool cached = false;            // some of it is a copy from an earlier run
  QString bodyPath, garmentPath;  // what to show
};

class CModelDownload {
 public:
  explicit CModelDownload(DownloadSettings settings) : m_settings(std::move(settings)) {}

  // Where status texts, messages and progress go; called on this thread.
  std::function<void(const QString&)> onStatus;
  std::function<void(const QString& caption, const QString& text)> onMessage;
  std::function<void(qint64 received, qint64 total)> onProgress;

  // The sequence: the body, then each garment until one fails; then what to
  // show. Runs until done or cancelled.
  DownloadResult Run(const QString& modelId, const QStringList& garmentIds);
  // Asks a running Run to stop (from any thread): its fetch is aborted.
  void Cancel() { m_cancel = true; }

  // One fetch into `path`: true when a complete answer of at least 1000
  // bytes with a success status, that reads as a model (a vertex and a face
  // at least), was written. A failed fetch leaves any earlier file as it
  // was. The file is replaced whole, by renaming: a symbolic link planted at
  // `path` is replaced itself, never written through. Redirects are followed
  // only to the same scheme, host and port.
  bool Fetch(const QString& url, const QString& path);
  // Whether the file at `path` reads as a model with the viewer's own reader:
  // at least one vertex and one face (an error page of a thousand bytes is
  // none). It stops as that reader does once Cancel is called: false.
  bool ReadsAsModel(const QString& path) const;
  // The flag Cancel sets, for the parse that follows the fetch to heed too.
  const std::atomic<bool>* CancelFlag() const { return &m_cancel; }

 private:
  void Status(const QString& s) {
    if (onStatus) {
      onStatus(s);
    }
  }
  void Tell(const QString& caption, const QString& text) {
    if (onMessage) {
      onMessage(caption, text);
    }
  }
  DownloadSettings m_settings;
  std::atomic<bool> m_cancel{false};
};
