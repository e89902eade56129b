#include "SaveImageDialog.h"

#include <QFileDialog>
#include <QMessageBox>

void AskAndSaveImage(QWidget* parent, const QString& suggested, const std::function<bool(const QString&)>& save) {
  const QString path =
      QFileDialog::getSaveFileName(parent, QStringLiteral("Save Image"), suggested, QStringLiteral("PNG (*.png)"));
  if (!path.isEmpty() && !save(path)) {
    QMessageBox::warning(parent, QStringLiteral("Save Image"), QStringLiteral("Cannot write %1.").arg(path));
  }
}
