#pragma once
// The runs a command (or a whole batch of them) draws from, each loaded once:
// every output asks the cache for its run and its compared runs, and a run
// read for one figure serves the next. A run that fails to load is tried once
// and stays failed. A caller may let a run go once its last output is made.

#include <QString>
#include <map>
#include <memory>

#include "SimulationData.h"

class CRunCache {
 public:
  CRunCache();
  ~CRunCache();
  CRunCache(const CRunCache&) = delete;
  CRunCache& operator=(const CRunCache&) = delete;

  // The run in `dir`, loaded now or earlier, its messages on standard error
  // (once, as it loads); null when it does not load. Its view state is as a
  // run's views open, whatever an earlier output set.
  CSimulationData* Get(const QString& dir);
  // Lends the run to an owner of its own for a while (the main window of a
  // window screenshot); Return gives it back. Null when it does not load.
  std::unique_ptr<CSimulationData> Lend(const QString& dir);
  void Return(const QString& dir, std::unique_ptr<CSimulationData> run);
  // How much of the run in `dir` to read when it is first asked for (Whole
  // unless said): a batch says it once for all the outputs that show it.
  void SetScope(const QString& dir, LoadScope scope);
  // Lets the run go (its memory too); asked again, it is loaded again.
  void Release(const QString& dir);
  // How many runs were read from their files so far.
  int Loads() const { return m_loads; }
  // One name for a run however its folder is written (a trailing
  // separator, "..", a link): what the cache keys it by.
  static QString KeyOf(const QString& dir);

 private:
  std::map<QString, std::unique_ptr<CSimulationData>> m_runs;  // null: did not load
  std::map<QString, LoadScope> m_scopes;
  int m_loads = 0;
};
