#pragma once
// The program as the user starts it: find a run folder (the argument, else
// the folder dialog, as often as it takes), load it, and run the main window
// until it closes. The application object owns the loaded run.

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "MessageBoxSink.h"
#include "RunLoader.h"

class CSimulationData;

class CCorvaneApp;

// Where the program meets its user before and around its main window: the
// folder dialog, and the main window's run. The program has its own; a test
// stands in for the user with another.
class IAppShell {
 public:
  virtual ~IAppShell() = default;
  // The folder chosen, or nothing when the choice was cancelled. `asItWas`:
  // the load of the folder chosen last was cancelled, so the dialog comes
  // back as the user left it.
  virtual std::optional<QString> ChooseFolder(bool asItWas) = 0;
  // Runs the main window until it closes.
  virtual void RunMainWindow(CCorvaneApp& app) = 0;
};

class CCorvaneApp {
 public:
  CCorvaneApp();
  ~CCorvaneApp();

  // The whole start-up: FindAndLoadRun, then the main window, modal. The
  // exit code is 0, also when the user cancels the folder choice.
  int InitInstance(const QString& argument);
  // From the argument (white space trimmed; the trailing separator may be
  // missing) or, when it names no folder or fails to load, from the folder
  // dialog, until a run loads (true) or the dialog is cancelled (false).
  bool FindAndLoadRun(const QString& argument);
  // Loads `dir` in place of the run held now; the held run stays when the
  // load fails or is cancelled. `parent` carries the progress and messages;
  // `beforeReplace` runs once the new run has loaded, while the old is still
  // held (its views go then).
  // `remember`: the run goes first in the recent runs of the user's settings.
  bool OpenRun(const QString& dir, QWidget* parent, const std::function<void()>& beforeReplace = {},
               bool* cancelled = nullptr, bool remember = true);

  // The program's folder, ending with a separator: its models and pictures.
  const QString& ModuleDir() const { return m_strModuleDir; }
  void SetModuleDir(const QString& dir) { m_strModuleDir = dir; }
  // The run held (null before the first load).
  CSimulationData* Data() const { return m_pData.get(); }
  // Holds `run` in place of the one held now; TakeData gives it up (a
  // cache lends runs and takes them back).
  void Adopt(std::unique_ptr<CSimulationData> run) { m_pData = std::move(run); }
  std::unique_ptr<CSimulationData> TakeData() { return std::move(m_pData); }
  // The runs shown beside the first (File > Compare With Run...), in the
  // order compared: up to seven.
  std::vector<const CSimulationData*> Compared() const;
  int ComparedCount() const { return static_cast<int>(m_compared.size()); }
  void AddCompared(std::unique_ptr<CSimulationData> run) { m_compared.push_back(std::move(run)); }
  void CloseComparison() { m_compared.clear(); }
  std::vector<std::unique_ptr<CSimulationData>> TakeCompared() { return std::move(m_compared); }
  // The loads of runs, one at a time, with their progress and Cancel.
  CRunLoader& Loader() { return m_loader; }
  const CRunLoader& Loader() const { return m_loader; }
  // Where load messages go: message boxes over `SetMessageParent`'s window,
  // unless a sink is set (a command's standard error, a test's record);
  // null sets the boxes back.
  IMessageSink* Sink() const { return m_pSink; }
  void SetMessageSink(IMessageSink* sink) { m_pSink = sink ? sink : &m_boxes; }
  void SetMessageParent(QWidget* parent) { m_boxes.SetParent(parent); }
  // The shell the program meets its user through; null for its own.
  void SetShell(IAppShell* shell) { m_pShell = shell ? shell : m_pOwnShell.get(); }
  IAppShell& Shell() const { return *m_pShell; }

 private:
  QString m_strModuleDir;
  std::unique_ptr<CSimulationData> m_pData;
  std::vector<std::unique_ptr<CSimulationData>> m_compared;
  CRunLoader m_loader;
  CMessageBoxSink m_boxes;
  IMessageSink* m_pSink = &m_boxes;
  std::unique_ptr<IAppShell> m_pOwnShell;
  IAppShell* m_pShell;
};
