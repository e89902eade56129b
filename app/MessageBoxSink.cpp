#include "MessageBoxSink.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

void CMessageBoxSink::Message(const QString& caption, const QString& text, MessageIcon icon) {
  Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
  const QMessageBox::Icon kind = icon == MessageIcon::Information ? QMessageBox::Information
                                 : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                  : QMessageBox::Critical;
  QMessageBox box(kind, caption, text, QMessageBox::Ok, m_pParent.data());
  box.exec();
}
