#include "CorvaneApp.h"

#include <QApplication>
#include <QIcon>

#include "CorvaneDlg.h"
#include "DataDirectory.h"
#include "DataDirectoryDlg.h"
#include "ModuleDir.h"
#include "RecentRuns.h"
#include "SimulationData.h"

CCorvaneApp::CCorvaneApp() : m_strModuleDir(ModuleDir()) {
  m_chooseFolder = []() -> std::optional<QString> {
    CDataDirectoryDlg dlg;  // each pass a fresh dialog, nothing preselected
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.m_strDir;
  };
  m_runMainWindow = [](CCorvaneApp& app) {
    CCorvaneDlg main(app);
    main.exec();
  };
}

CCorvaneApp::~CCorvaneApp() = default;

bool CCorvaneApp::OpenRun(const QString& dir, QWidget* parent, const std::function<void()>& beforeReplace) {
  m_boxes.SetParent(parent);
  std::unique_ptr<CSimulationData> loaded = m_loader.Load(dir, parent, m_pSink);
  if (!loaded) return false;
  if (beforeReplace) beforeReplace();
  m_pData = std::move(loaded);
  m_pData->SetMessageSink(m_pSink);
  SaveRecentRuns(WithRecentRun(LoadRecentRuns(), m_pData->m_strDataDir));
  return true;
}

bool CCorvaneApp::FindAndLoadRun(const QString& argument) {
  QString given = argument;
  bool fromArgument = !argument.trimmed().isEmpty();
  for (;;) {
    if (fromArgument) {
      // A folder that is not there gets no message: the folder dialog follows.
      const QString dir = RunFolderOf(given);
      if (!dir.isEmpty() && OpenRun(dir, nullptr)) return true;
    }
    const std::optional<QString> chosen = m_chooseFolder();
    if (!chosen) return false;
    given = *chosen;
    fromArgument = true;
  }
}

int CCorvaneApp::InitInstance(const QString& argument) {
  QApplication::setWindowIcon(QIcon(m_strModuleDir + QStringLiteral("corvane.png")));
  if (!FindAndLoadRun(argument)) return 0;
  m_runMainWindow(*this);
  return 0;
}
