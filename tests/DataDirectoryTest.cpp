// The folder choice: display names, data files, the folder given, and the
// tree that is filled as it is opened.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "DataDirectory.h"
#include "DataDirectoryDlg.h"

namespace {
void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// The dialog's controls, by the names it gives them.
struct Controls {
  explicit Controls(const CDataDirectoryDlg& dlg)
      : tree(dlg.findChild<QTreeWidget*>(QStringLiteral("folders"))),
        list(dlg.findChild<QListWidget*>(QStringLiteral("files"))),
        path(dlg.findChild<QLineEdit*>(QStringLiteral("path"))),
        problem(dlg.findChild<QLabel*>(QStringLiteral("problem"))) {}
  QTreeWidget* tree;
  QListWidget* list;
  QLineEdit* path;
  QLabel* problem;
};
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
  const Controls c(dlg);
  QTreeWidgetItem* root = dlg.AddRoot(QStringLiteral("test"), dir.path() + QLatin1Char('/'));
  EXPECT_TRUE(dlg.AddSubfolders(root));
  ASSERT_EQ(root->childCount(), 1);
  QTreeWidgetItem* data = root->child(0);
  EXPECT_EQ(data->text(0), QStringLiteral("Mydata"));
  EXPECT_EQ(CDataDirectoryDlg::ItemPath(data), dir.path() + QStringLiteral("/MYDATA/"));
  c.tree->setCurrentItem(data);
  EXPECT_EQ(dlg.Dir(), dir.path() + QStringLiteral("/MYDATA/"));
  ASSERT_EQ(c.list->count(), 1);
  EXPECT_EQ(c.list->item(0)->text(), QStringLiteral("configure.dat"));
  EXPECT_EQ(c.path->text(), dlg.Dir());
  // A folder without subfolders loses its expand button; asked again it adds nothing.
  ASSERT_TRUE(dlg.AddSubfolders(data));
  QTreeWidgetItem* run = data->child(0);
  EXPECT_FALSE(dlg.AddSubfolders(run));
  EXPECT_EQ(run->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
  EXPECT_FALSE(dlg.AddSubfolders(run));
  EXPECT_EQ(run->childCount(), 0);
  EXPECT_EQ(c.tree->topLevelItem(0)->text(0), QStringLiteral("/"));
}

// Nothing is chosen until the user chooses: OK alone does nothing, opening a
// folder chooses it as a click would, and a typed folder is taken as it is.
TEST(DataDirectory, OnlyWhatTheUserChoosesIsTaken) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("runs/run1"));
  CDataDirectoryDlg dlg;
  const Controls c(dlg);
  QTreeWidgetItem* root = dlg.AddRoot(QStringLiteral("test"), dir.path() + QLatin1Char('/'));
  dlg.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(c.tree->currentItem(), nullptr);
  EXPECT_TRUE(dlg.Dir().isEmpty());
  dlg.OnOK();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_TRUE(dlg.isVisible()) << "OK without a choice does nothing";

  // Opening a folder for the first time chooses it, as a click would: its
  // files and its path show. Opened again, it is neither searched nor chosen.
  Touch(dir.filePath(QStringLiteral("runs/configure.dat")));
  root->setExpanded(true);
  ASSERT_EQ(root->childCount(), 1);
  QTreeWidgetItem* runs = root->child(0);
  runs->setExpanded(true);
  EXPECT_EQ(c.tree->currentItem(), runs);
  EXPECT_EQ(dlg.Dir(), dir.path() + QStringLiteral("/runs/"));
  EXPECT_EQ(c.path->text(), dlg.Dir());
  ASSERT_EQ(c.list->count(), 1);
  EXPECT_EQ(c.list->item(0)->text(), QStringLiteral("configure.dat"));
  c.tree->setCurrentItem(root);
  runs->setExpanded(false);
  runs->setExpanded(true);
  EXPECT_EQ(c.tree->currentItem(), root) << "only the first opening chooses";
  EXPECT_EQ(runs->childCount(), 1);
  // Drives and folders carry the platform's icons; a folder's changes as it is chosen.
  EXPECT_FALSE(root->icon(0).isNull());
  EXPECT_FALSE(runs->icon(0).isNull());
  const QSize size = runs->icon(0).availableSizes().value(0);
  EXPECT_NE(runs->icon(0).pixmap(size, QIcon::Normal).toImage(), runs->icon(0).pixmap(size, QIcon::Selected).toImage());
  c.path->clear();

  c.path->setText(dir.filePath(QStringLiteral("nowhere")));
  dlg.OnOK();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(c.problem->text(), QStringLiteral("There is no folder \"%1\".").arg(dir.filePath("nowhere")));
  c.path->setText(dir.filePath(QStringLiteral("runs/run1")));
  dlg.OnOK();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Dir(), dir.path() + QStringLiteral("/runs/run1/"));
}
