#include "CorvaneApp.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPointer>

#include "CorvaneDlg.h"
#include "DataDirectory.h"
#include "DataDirectoryDlg.h"
#include "ModuleDir.h"
#include "RecentRuns.h"
#include "SimulationData.h"

namespace {
// The program's own shell: the folder dialog and the main window.
class CDialogShell : public IAppShell {
 public:
  ~CDialogShell() override { delete m_pFolderDlg.data(); }  // null when its window deleted it

  std::optional<QString> ChooseFolder(bool asItWas) override {
    // Each pass a fresh dialog with nothing selected, unless the user
    // cancelled the load of the folder chosen in it: then it comes back as it was.
    // The dialog stands over the window that asks for it, which owns it and
    // may delete it first (the main window closing): the pointer then clears.
    if (!asItWas || !m_pFolderDlg) {
      delete m_pFolderDlg.data();
      m_pFolderDlg = new CDataDirectoryDlg(QApplication::activeWindow());
    }
    if (m_pFolderDlg->exec() != QDialog::Accepted) {
      return std::nullopt;
    }
    return m_pFolderDlg->Dir();
  }
  void RunMainWindow(CCorvaneApp& app) override {
    CCorvaneDlg main(app);
    main.exec();
  }

 private:
  QPointer<CDataDirectoryDlg> m_pFolderDlg;
};
}  // namespace

CCorvaneApp::CCorvaneApp()
    : m_strModuleDir(::ModuleDir()), m_pOwnShell(std::make_unique<CDialogShell>()), m_pShell(m_pOwnShell.get()) {}

CCorvaneApp::~CCorvaneApp() = default;

bool CCorvaneApp::OpenRun(const QString& dir, QWidget* parent, const std::function<void()>& beforeReplace,
                          bool* cancelled, bool remember) {
  m_boxes.SetParent(parent);
  std::unique_ptr<CSimulationData> loaded = m_loader.Load(dir, parent, m_pSink, cancelled);
  if (!loaded) {
    return false;
  }
  if (beforeReplace) {
    beforeReplace();
  }
  m_pData = std::move(loaded);
  m_pData->SetMessageSink(m_pSink);
  if (remember) {
    SaveRecentRuns(WithRecentRun(LoadRecentRuns(), m_pData->Run().m_strDataDir));
  }
  return true;
}

bool CCorvaneApp::FindAndLoadRun(const QString& argument) {
  QString given = argument;
  bool fromArgument = !argument.trimmed().isEmpty();
  for (;;) {
    bool cancelled = false;
    if (fromArgument) {
      // A folder that is not there gets no message: the folder dialog follows.
      const QString dir = RunFolderOf(given);
      if (!dir.isEmpty() && OpenRun(dir, nullptr, {}, &cancelled)) {
        return true;
      }
    }
    const std::optional<QString> chosen = Shell().ChooseFolder(cancelled);
    if (!chosen) {
      return false;
    }
    given = *chosen;
    fromArgument = true;
  }
}

int CCorvaneApp::InitInstance(const QString& argument) {
  QApplication::setWindowIcon(QIcon(m_strModuleDir + QStringLiteral("corvane-48.png")));
  // One family for the menus and dialogs as for the pages (metric-compatible
  // with the fonts the layouts were measured in): one font to load, not two.
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
  if (!FindAndLoadRun(argument)) {
    return 0;
  }
  Shell().RunMainWindow(*this);
  return 0;
}

std::vector<const CSimulationData*> CCorvaneApp::Compared() const {
  std::vector<const CSimulationData*> runs;
  for (const auto& r : m_compared) {
    runs.push_back(r.get());
  }
  return runs;
}
