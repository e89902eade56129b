#pragma once
// Loading a run folder while the program stays live: the files are read on a
// worker thread into a store of their own, the GUI thread goes on handling
// events, and a load that lasts over a second shows a progress dialog whose
// Cancel abandons it. The store in use is never touched by a load.

#include <QString>
#include <memory>

class CSimulationData;
class IMessageSink;
class QProgressDialog;
class QWidget;

// Told what a load does, for a caller that takes part in it (tests hold a
// load back and press its Cancel); the program sets none. It must outlive
// the loads it watches.
class IRunLoadWatcher {
 public:
  virtual ~IRunLoadWatcher() = default;
  // On the load's worker, before it reads.
  virtual void BeforeReading() {}
  // On the GUI thread, once the progress dialog has appeared.
  virtual void ProgressShown(QProgressDialog& progress) { (void)progress; }
};

class CRunLoader {
 public:
  struct Job;

  // Starts reading `dir` at once, before the GUI exists (the program's
  // start-up overlaps the load with Qt's own); the first Load of the same
  // folder takes it over.
  static void StartEarly(const QString& dir);

  // Loads `dir` (GUI thread). The load's messages go to `sink` once it has
  // ended, never from the worker; a cancelled load says nothing. Returns the
  // loaded store, or null when the load failed or was cancelled (`cancelled`
  // tells which).
  std::unique_ptr<CSimulationData> Load(const QString& dir, QWidget* parent, IMessageSink* sink,
                                        bool* cancelled = nullptr);
  bool Loading() const { return m_pJob != nullptr; }
  // Abandons the load under way, as its Cancel button does.
  void Cancel();

  // How long a load runs before its progress dialog shows.
  void SetProgressDelay(int ms) { m_nProgressDelayMs = ms; }
  void SetWatcher(IRunLoadWatcher* watcher) { m_pWatcher = watcher; }

 private:
  int m_nProgressDelayMs = 1000;
  Job* m_pJob = nullptr;  // the load under way
  IRunLoadWatcher* m_pWatcher = nullptr;
};
