#pragma once
// The program as the user starts it: find a run folder (the argument, else
// the folder dialog, as often as it takes), load it, and run the main window
// until it closes. The application object owns the loaded run.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "MessageBoxSink.h"
#include "RunLoader.h"

class CDataDirectoryDlg;
class CSimulationData;

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
  QString m_strModuleDir;
  std::unique_ptr<CSimulationData> m_pData;
  CRunLoader m_loader;
  CMessageBoxSink m_boxes;
  IMessageSink* m_pSink = &m_boxes;  // where load messages go (tests record them)
  // The folder dialog: the chosen folder, or nothing when it was cancelled.
  // `asItWas`: the load of the folder chosen last was cancelled, so the
  // dialog comes back as the user left it.
  std::function<std::optional<QString>(bool asItWas)> m_chooseFolder;
  // Runs the main window until it closes (tests drive it themselves).
  std::function<void(CCorvaneApp&)> m_runMainWindow;

 private:
  QPointer<CDataDirectoryDlg> m_pFolderDlg;
};
