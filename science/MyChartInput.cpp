// The chart's mouse and keys: the hover box follows the pointer, the wheel
// zooms the time axis about it, a drag pans, Shift+drag zooms to a box, a
// double click or Home shows the whole run, and the context menu copies and
// saves.

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

#include "ChartHover.h"
#include "MyChart.h"

void CMyChart::UpdateHover(int x) {
  const int hover = HoverIndexAt(x, m_axes, Points());
  if (hover != m_nHover) {
    m_nHover = hover;
    update();
  }
}

void CMyChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return QWidget::mousePressEvent(event);
  }
  m_zoom.Press(event->position().toPoint(), (event->modifiers() & Qt::ShiftModifier) != 0, ShownRange());
  m_nHover = -1;
  update();
}

void CMyChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!m_zoom.Dragging()) {
    UpdateHover(at.x());
  } else if (m_zoom.Drag(at, m_axes, WholeRange(), PointCount())) {
    ZoomChanged();
  }
  QWidget::mouseMoveEvent(event);
}

void CMyChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_zoom.Dragging()) {
    return QWidget::mouseReleaseEvent(event);
  }
  if (m_zoom.Release(event->position().toPoint(), m_axes, WholeRange(), PointCount())) {
    ZoomChanged();
  }
}

void CMyChart::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_zoom.EndDrag();
    ResetView();
  }
}

void CMyChart::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (m_zoom.Wheel(event->angleDelta().y(), event->position().x(), m_axes, WholeRange(), PointCount())) {
    ZoomChanged();
  }
}

void CMyChart::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
    ResetView();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CMyChart::leaveEvent(QEvent* event) {
  if (m_nHover >= 0) {
    m_nHover = -1;
    update();
  }
  QWidget::leaveEvent(event);
}

void CMyChart::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("Copy Data"), this, &CMyChart::CopyData);
  menu.addAction(QStringLiteral("Save Data as CSV..."), this, [this] {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Data"), m_strTitle + QStringLiteral(".csv"), QStringLiteral("CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !SaveData(path, &error)) {
      QMessageBox::warning(this, QStringLiteral("Save Data"), QStringLiteral("Cannot write %1.\n%2").arg(path, error));
    }
  });
  for (const char* format : {"PNG", "SVG"}) {
    const QString f = QLatin1String(format);
    menu.addAction(QStringLiteral("Save Image as %1...").arg(f), this, [this, f] {
      const QString path =
          QFileDialog::getSaveFileName(this, QStringLiteral("Save Image"), m_strTitle + QLatin1Char('.') + f.toLower(),
                                       QStringLiteral("%1 (*.%2)").arg(f, f.toLower()));
      QString error;
      if (!path.isEmpty() && !SaveImage(path, &error)) {
        QMessageBox::warning(this, QStringLiteral("Save Image"),
                             QStringLiteral("Cannot write %1.\n%2").arg(path, error));
      }
    });
  }
  menu.exec(event->globalPos());
}
