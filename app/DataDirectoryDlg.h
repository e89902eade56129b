#pragma once
// "Select Data Directory...": a tree of folders (the file system's root, the
// user's home folder and the mounted volumes elsewhere), expanded lazily, the
// data files of the selected folder, and its path. The result is Dir().
// Its controls are named for tests and tools: "folders" (the tree), "files"
// (the list), "path" (the field) and "problem" (why OK did not take it).

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

class CDataDirectoryDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDataDirectoryDlg(QWidget* parent = nullptr);

  // The folder selected last, ending with a separator; empty until one is.
  const QString& Dir() const { return m_strDir; }

  // A top item for `path` (shown as `text`), expandable; `drive` gives it a
  // drive's icon, else a folder's.
  QTreeWidgetItem* AddRoot(const QString& text, const QString& path, bool drive = true);
  // Adds the subfolders of the item's folder as its children, once; false
  // when it has none (its expand button then goes).
  bool AddSubfolders(QTreeWidgetItem* item);
  // The real path of an item, ending with a separator (texts are for show).
  static QString ItemPath(const QTreeWidgetItem* item);
  void OnSelChanged(QTreeWidgetItem* item);
  // OK: the folder in the path field, when there is one; nothing chosen does nothing.
  void OnOK();

 protected:
  // A folder dropped on the dialog is chosen, as if selected and confirmed.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The first time a folder opens: its subfolders, and it becomes the
  // chosen one unless it already is.
  void OnItemExpanding(QTreeWidgetItem* item);

  QString m_strDir;
  QTreeWidget* m_tree = nullptr;
  QListWidget* m_list = nullptr;
  // The chosen folder's path; a folder may be typed or pasted here too.
  QLineEdit* m_path = nullptr;
  QLabel* m_problem = nullptr;  // why OK did not take what was typed
};
