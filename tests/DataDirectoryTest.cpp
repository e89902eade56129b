// The folder choice: display names, data files, the folder given, and the
// tree that is filled as it is opened.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DataDirectory.h"
#include "DataDirectoryDlg.h"

namespace {
void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
}  // namespace

TEST(DataDirectory, NamesFilesAndFolders) {
  const std::pair<const char*, const char*> names[] = {
      {"PROGRAM FILES", "Program files"}, {"DATA", "Data"}, {"DATA1", "Data1"}, {"MyData", "MyData"}, {"", ""}};
  for (const auto& [name, shown] : names) {
    EXPECT_EQ(MakeDisplayName(QLatin1String(name)), QLatin1String(shown));
  }

  QTemporaryDir dir;
  for (const char* f : {"a.DAT", "b.dat", "c.txt", ".hidden.dat", "dat"}) {
    Touch(dir.filePath(QLatin1String(f)));
  }
  QDir(dir.path()).mkdir(QStringLiteral("x.dat"));
  EXPECT_EQ(DataFilesIn(dir.path()),
            (QStringList{"a.DAT", "b.dat", "dat"}));  // a name without a point is its own extension

  // A folder given without its trailing separator is the same folder.
  EXPECT_EQ(RunFolderOf(QStringLiteral("  ") + dir.path() + QStringLiteral(" ")), dir.path() + QLatin1Char('/'));
  EXPECT_EQ(RunFolderOf(dir.path() + QLatin1Char('/')), dir.path() + QLatin1Char('/'));
  EXPECT_TRUE(RunFolderOf(dir.filePath(QStringLiteral("nowhere"))).isEmpty());
  EXPECT_TRUE(RunFolderOf(dir.filePath(QStringLiteral("a.DAT"))).isEmpty());
}

TEST(DataDirectory, TheTreeOpensLazilyAndPathsKeepTheRealNames) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("MYDATA/run1"));
  Touch(dir.filePath(QStringLiteral("MYDATA/configure.dat")));
  CDataDirectoryDlg dlg;
  QTreeWidgetItem* root = dlg.AddRoot(QStringLiteral("test"), dir.path() + QLatin1Char('/'));
  EXPECT_TRUE(dlg.AddSubfolders(root));
  ASSERT_EQ(root->childCount(), 1);
  QTreeWidgetItem* data = root->child(0);
  EXPECT_EQ(data->text(0), QStringLiteral("Mydata"));
  EXPECT_EQ(CDataDirectoryDlg::ItemPath(data), dir.path() + QStringLiteral("/MYDATA/"));
  dlg.m_tree->setCurrentItem(data);
  EXPECT_EQ(dlg.m_strDir, dir.path() + QStringLiteral("/MYDATA/"));
  ASSERT_EQ(dlg.m_list->count(), 1);
  EXPECT_EQ(dlg.m_list->item(0)->text(), QStringLiteral("configure.dat"));
  EXPECT_EQ(dlg.m_path->text(), dlg.m_strDir);
  // A folder without subfolders loses its expand button; asked again it adds nothing.
  ASSERT_TRUE(dlg.AddSubfolders(data));
  QTreeWidgetItem* run = data->child(0);
  EXPECT_FALSE(dlg.AddSubfolders(run));
  EXPECT_EQ(run->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
  EXPECT_FALSE(dlg.AddSubfolders(run));
  EXPECT_EQ(run->childCount(), 0);
  EXPECT_EQ(dlg.m_tree->topLevelItem(0)->text(0), QStringLiteral("/"));
}

// Nothing is chosen until the user chooses: OK alone does nothing, opening a
// folder does not choose it, and a typed folder is taken as it is.
TEST(DataDirectory, OnlyWhatTheUserChoosesIsTaken) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("runs/run1"));
  CDataDirectoryDlg dlg;
  QTreeWidgetItem* root = dlg.AddRoot(QStringLiteral("test"), dir.path() + QLatin1Char('/'));
  dlg.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(dlg.m_tree->currentItem(), nullptr);
  EXPECT_TRUE(dlg.m_strDir.isEmpty());
  dlg.OnOK();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_TRUE(dlg.isVisible()) << "OK without a choice does nothing";

  root->setExpanded(true);
  EXPECT_GT(root->childCount(), 0);
  EXPECT_EQ(dlg.m_tree->currentItem(), nullptr) << "expanding does not choose";

  dlg.m_path->setText(dir.filePath(QStringLiteral("nowhere")));
  dlg.OnOK();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.m_problem->text(), QStringLiteral("There is no folder \"%1\".").arg(dir.filePath("nowhere")));
  dlg.m_path->setText(dir.filePath(QStringLiteral("runs/run1")));
  dlg.OnOK();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_strDir, dir.path() + QStringLiteral("/runs/run1/"));
}
