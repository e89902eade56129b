#include "RunLoader.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <thread>

#include "LoadCancel.h"
#include "SimulationData.h"
#include "ThreadName.h"

// One load on its worker: the store it fills, the messages it gave.
struct CRunLoader::Job {
  explicit Job(const QString& folder, IRunLoadWatcher* watcher = nullptr) : dir(folder) {
    store->SetMessageSink(&recorded);
    worker = std::thread([this, watcher] {
      NameThisThread("corvane-load");
      const CLoadCancelScope scope(&cancel);
      if (watcher) {
        watcher->BeforeReading();
      }
      loaded = store->Load(dir);
    });
  }
  ~Job() {
    cancel = true;  // one nobody waits for any more ends soon
    if (worker.joinable()) {
      worker.join();
    }
  }
  QString dir;
  std::unique_ptr<CSimulationData> store = std::make_unique<CSimulationData>();
  CRecordingMessageSink recorded;
  bool loaded = false;
  std::atomic<bool> cancel{false};
  std::thread worker;
};

namespace {
std::mutex g_earlyMutex;
std::unique_ptr<CRunLoader::Job> g_early;  // started before the GUI existed; joined at exit at the latest
}  // namespace

void CRunLoader::StartEarly(const QString& dir) {
  const std::lock_guard lock(g_earlyMutex);
  g_early = std::make_unique<Job>(dir);
}

void CRunLoader::Cancel() {
  if (m_pJob) {
    m_pJob->cancel = true;
  }
}

std::unique_ptr<CSimulationData> CRunLoader::Load(const QString& dir, QWidget* parent, IMessageSink* sink,
                                                  bool* cancelled) {
  std::unique_ptr<Job> job;
  {
    const std::lock_guard lock(g_earlyMutex);
    if (g_early && g_early->dir == dir) {
      job = std::move(g_early);
    }
  }
  if (!job) {
    job = std::make_unique<Job>(dir, m_pWatcher);
  }
  m_pJob = job.get();

  QEventLoop loop;
  std::atomic<bool> done{false};
  std::thread waiter([&] {
    job->worker.join();
    done = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });

  // Made when the load has lasted long enough to deserve one.
  std::unique_ptr<QProgressDialog> progress;
  QTimer showLater;
  showLater.setSingleShot(true);
  QObject::connect(&showLater, &QTimer::timeout, &loop, [&] {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("Loading %1 ...").arg(dir), QStringLiteral("Cancel"), 0,
                                                 0, parent);
    progress->setWindowTitle(QStringLiteral("Corvane"));
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setMinimumDuration(0);
    QObject::connect(progress.get(), &QProgressDialog::canceled, &loop, [this] { Cancel(); });
    progress->show();
    if (m_pWatcher) {
      m_pWatcher->ProgressShown(*progress);
    }
  });
  showLater.start(m_nProgressDelayMs);

  // The worker ends soon after a cancel: its readers stop at their next buffer.
  loop.exec();
  // The loop may also end because the program is quitting: then the load is
  // abandoned rather than waited for with the GUI frozen.
  if (!done) {
    job->cancel = true;
  }
  waiter.join();
  showLater.stop();
  progress.reset();
  m_pJob = nullptr;

  const bool wasCancelled = job->cancel.load();
  if (cancelled) {
    *cancelled = wasCancelled;
  }
  if (wasCancelled) {
    return nullptr;
  }
  job->store->SetMessageSink(sink);
  for (const auto& m : job->recorded.Entries()) {
    sink->Message(m.caption, m.text, m.icon);
  }
  if (!job->loaded) {
    return nullptr;
  }
  return std::move(job->store);
}
