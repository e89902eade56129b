#include "DataDirectoryDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include "DataDirectory.h"

namespace {
constexpr int kPathRole = Qt::UserRole;          // the folder's real path
constexpr int kSearchedRole = Qt::UserRole + 1;  // its subfolders were added

// The platform's folder icon: closed, and open while it is the chosen one.
QIcon FolderIcon() {
  QStyle* style = QApplication::style();
  QIcon icon = style->standardIcon(QStyle::SP_DirClosedIcon);
  for (const QSize& size : icon.availableSizes()) {
    icon.addPixmap(style->standardIcon(QStyle::SP_DirOpenIcon).pixmap(size), QIcon::Selected);
  }
  return icon;
}
}  // namespace

CDataDirectoryDlg::CDataDirectoryDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Select Data Directory..."));
  setAcceptDrops(true);
  resize(555, 390);
  auto* top = new QHBoxLayout;
  m_tree = new QTreeWidget(this);
  m_tree->setObjectName(QStringLiteral("folders"));
  m_tree->setHeaderHidden(true);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("files"));
  m_list->setSortingEnabled(true);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("Data Files in this Directory:"), this));
  right->addWidget(m_list);
  top->addWidget(m_tree, 1);
  top->addLayout(right, 1);
  m_path = new QLineEdit(this);
  m_path->setObjectName(QStringLiteral("path"));
  m_path->setPlaceholderText(QStringLiteral("Folder of a run"));
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("problem"));
  m_problem->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDataDirectoryDlg::OnOK);
  connect(m_path, &QLineEdit::returnPressed, this, &CDataDirectoryDlg::OnOK);
  connect(m_path, &QLineEdit::textEdited, this, [this] { m_problem->hide(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_path);
  layout->addWidget(m_problem);
  layout->addWidget(buttons);

  // The file system's root, the user's home, and volumes mounted elsewhere.
  AddRoot(QStringLiteral("/"), QStringLiteral("/"));
  AddRoot(QDir::homePath(), QDir::homePath() + QLatin1Char('/'), false);
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    const QString root = v.rootPath();
    if (!v.isValid() || !v.isReady() || root == QLatin1String("/") || root.startsWith(QDir::homePath())) {
      continue;
    }
    if (root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys")) ||
        root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run"))) {
      continue;  // the system's own, not where runs are kept
    }
    AddRoot(root, root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
  }
  connect(m_tree, &QTreeWidget::itemExpanded, this, &CDataDirectoryDlg::OnItemExpanding);
  connect(m_tree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item, QTreeWidgetItem*) { OnSelChanged(item); });
  // Nothing is chosen until the user chooses: the path field has the focus,
  // so the tree does not make its first folder current on its own.
  m_path->setFocus();
}

void CDataDirectoryDlg::OnOK() {
  const QString typed = m_path->text().trimmed();
  if (typed.isEmpty()) {
    return;  // nothing chosen yet
  }
  const QString dir = RunFolderOf(typed);
  if (dir.isEmpty()) {
    m_problem->setText(QStringLiteral("There is no folder \"%1\".").arg(typed));
    m_problem->show();
    return;
  }
  m_strDir = dir;
  accept();
}

void CDataDirectoryDlg::OnItemExpanding(QTreeWidgetItem* item) {
  if (item->data(0, kSearchedRole).toBool()) {
    return;  // opened before: neither searched nor chosen again
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  AddSubfolders(item);
  if (m_tree->currentItem() != item) {
    m_tree->setCurrentItem(item);  // fills the file list and the path
  }
  QGuiApplication::restoreOverrideCursor();
}

QTreeWidgetItem* CDataDirectoryDlg::AddRoot(const QString& text, const QString& path, bool drive) {
  auto* item = new QTreeWidgetItem(m_tree, QStringList{text});
  item->setIcon(0, drive ? QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon)
                         : QApplication::style()->standardIcon(QStyle::SP_DirHomeIcon));
  item->setData(0, kPathRole, path);
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

bool CDataDirectoryDlg::AddSubfolders(QTreeWidgetItem* item) {
  if (!item || item->data(0, kSearchedRole).toBool()) {
    return item && item->childCount() > 0;
  }
  item->setData(0, kSearchedRole, true);
  const QString path = ItemPath(item);
  const QStringList folders = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  const QIcon folderIcon = FolderIcon();
  for (const QString& name : folders) {
    // Shown by its display name; its path keeps the real one, for file
    // systems where case matters.
    auto* child = new QTreeWidgetItem(item, QStringList{MakeDisplayName(name)});
    child->setIcon(0, folderIcon);
    child->setData(0, kPathRole, path + name + QLatin1Char('/'));
    child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  if (folders.isEmpty()) {
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
  }
  return !folders.isEmpty();
}

QString CDataDirectoryDlg::ItemPath(const QTreeWidgetItem* item) {
  return item ? item->data(0, kPathRole).toString() : QString();
}

void CDataDirectoryDlg::OnSelChanged(QTreeWidgetItem* item) {
  m_list->clear();
  m_strDir = ItemPath(item);
  m_path->setText(m_strDir);
  m_problem->hide();
  m_list->addItems(DataFilesIn(m_strDir));
}

void CDataDirectoryDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFolder(event->mimeData()->urls()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void CDataDirectoryDlg::dropEvent(QDropEvent* event) {
  const QString dir = DroppedFolder(event->mimeData()->urls());
  if (dir.isEmpty()) {
    return;
  }
  event->acceptProposedAction();
  m_strDir = dir;
  m_path->setText(dir);
  accept();
}
