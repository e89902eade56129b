#include "MyDialog.h"

#include <QFont>
#include <QKeyEvent>
#include <QPalette>
#include <cmath>

QRect DialogUnitsToPixels(int x, int y, int w, int h, double pixelRatio) {
  const double sx = 1.5 * pixelRatio, sy = 1.625 * pixelRatio;
  auto px = [](double v) { return static_cast<int>(std::lround(v)); };
  return QRect(px(x * sx), px(y * sy), px(w * sx), px(h * sy));
}

CMyDialog::CMyDialog(QWidget* parent) : QWidget(parent) {
  // White behind the page and behind every label and button on it.
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::Button, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  // The page's labels and buttons were measured in dialog units of an
  // 8-point dialog font; Liberation Sans has the metrics of the font it
  // names, so captions fit their boxes.
  static const bool substituted = [] {
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), QStringLiteral("Liberation Sans"));
    return true;
  }();
  Q_UNUSED(substituted)
  QFont dialogFont(QStringLiteral("MS Shell Dlg"));
  dialogFont.setPointSize(8);
  setFont(dialogFont);
}

bool IsDialogCloseKey(const QKeyEvent& event) {
  const int key = event.key();
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

void CMyDialog::keyPressEvent(QKeyEvent* event) {
  // Taken here, so that no view ever closes by them.
  if (IsDialogCloseKey(*event)) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}
