#include "RunLoader.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <thread>

#include "LoadCancel.h"
#include "SimulationData.h"
#include "ThreadName.h"

std::unique_ptr<CSimulationData> CRunLoader::Load(const QString& dir, QWidget* parent, IMessageSink* sink,
                                                  bool* cancelled) {
  m_cancel = false;
  m_bLoading = true;
  auto store = std::make_unique<CSimulationData>();
  CRecordingMessageSink recorded;
  store->SetMessageSink(&recorded);

  QEventLoop loop;
  bool loaded = false;
  std::thread worker([&] {
    NameThisThread("corvane-load");
    const CLoadCancelScope scope(&m_cancel);
    if (beforeReading) beforeReading();
    loaded = store->Load(dir);
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
    QObject::connect(progress.get(), &QProgressDialog::canceled, &loop, [this] { m_cancel = true; });
    progress->show();
    if (onProgressShown) onProgressShown(*progress);
  });
  showLater.start(m_nProgressDelayMs);

  // The worker ends soon after a cancel: its readers stop at their next buffer.
  loop.exec();
  worker.join();
  showLater.stop();
  progress.reset();
  m_bLoading = false;

  const bool wasCancelled = m_cancel.load();
  if (cancelled) *cancelled = wasCancelled;
  if (wasCancelled) return nullptr;
  store->SetMessageSink(sink);
  for (const auto& m : recorded.m_entries) sink->Message(m.caption, m.text, m.icon);
  if (!loaded) return nullptr;
  return store;
}
