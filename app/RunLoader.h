#pragma once
// Loading a run folder while the program stays live: the files are read on a
// worker thread into a store of their own, the GUI thread goes on handling
// events, and a load that lasts over a second shows a progress dialog whose
// Cancel abandons it. The store in use is never touched by a load.

#include <QString>
#include <functional>
#include <memory>

class CSimulationData;
class IMessageSink;
class QProgressDialog;
class QWidget;

class CRunLoader {
 public:
  struct Job;
  ~CRunLoader();

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

  int m_nProgressDelayMs = 1000;
  // Called once the progress dialog has appeared (tests press its Cancel).
  std::function<void(QProgressDialog&)> onProgressShown;
  // Called on the worker before it reads (tests hold a load back with it).
  std::function<void()> beforeReading;

 private:
  Job* m_pJob = nullptr;  // the load under way
};
