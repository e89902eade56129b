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
  const int n = static_cast<int>(Points().size());
  const bool inside = x >= m_layout.originX && x <= m_layout.originX + m_layout.axisWidth && m_timeScale.pixels > 0;
  int hover = -1;
  if (inside && n > 0) {
    // The point nearest in time to the pointer's time; none before the
    // curve's first time or after its last (a run that starts late holds
    // nothing at 0).
    hover = NearestInTime(Points(), m_timeScale.TimeAt(x));
  }
  if (hover != m_nHover) {
    m_nHover = hover;
    update();
  }
}

void CMyChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return QWidget::mousePressEvent(event);
  }
  m_ptPress = m_ptDrag = event->position().toPoint();
  m_pressRange = ShownRange();
  m_bDragging = true;
  m_bBoxing = (event->modifiers() & Qt::ShiftModifier) != 0;
  m_nHover = -1;
  update();
}

void CMyChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!m_bDragging) {
    UpdateHover(at.x());
  } else if (m_bBoxing) {
    m_ptDrag = at;
    update();
  } else if (m_bZoomed && m_timeScale.pixels > 0) {
    // The time under the pointer stays under it.
    const double dt = -(at.x() - m_ptPress.x()) * m_pressRange.Span() / m_timeScale.pixels;
    SetShown(PanBy(m_pressRange, dt, WholeRange()));
  }
  QWidget::mouseMoveEvent(event);
}

void CMyChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_bDragging) {
    return QWidget::mouseReleaseEvent(event);
  }
  m_bDragging = false;
  if (!m_bBoxing) {
    return;
  }
  m_bBoxing = false;
  const QRect box = QRect(m_ptPress, event->position().toPoint()).normalized();
  // A box of a few pixels is a slip of the hand, not a range.
  if (box.width() < 4 || m_timeScale.pixels <= 0) {
    update();
    return;
  }
  const TimeRange shown = ShownRange();
  const double t0 = TimeAtColumn(shown, m_layout.originX, m_timeScale.pixels, box.left());
  const double t1 = TimeAtColumn(shown, m_layout.originX, m_timeScale.pixels, box.right());
  if (box.height() >= 4) {
    // Each y axis shows what the box spans on it.
    const double rows = m_layout.axisHeight - 10;
    const Axis axes[2] = {{m_fYMin, m_fYMax}, {m_fY2Min, m_fY2Max}};
    for (int a = 0; a < 2; ++a) {
      auto valueAt = [&](int y) {
        return static_cast<float>(axes[a].lo + (m_layout.originY - y) / rows * (axes[a].hi - axes[a].lo));
      };
      m_valueBox[a] = {valueAt(box.bottom()), valueAt(box.top())};
    }
    m_bValueBox = true;
  }
  SetShown(ZoomToBox(t0, t1, WholeRange(), MinimumSpan(WholeRange(), static_cast<int>(Points().size()))));
}

void CMyChart::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_bDragging = false;
    m_bBoxing = false;
    ResetView();
  }
}

void CMyChart::wheelEvent(QWheelEvent* event) {
  // One notch (120) is one step; fine-grained wheels add up to notches.
  m_nWheelAccum += event->angleDelta().y();
  const int notches = m_nWheelAccum / 120;
  event->accept();
  if (notches == 0 || m_timeScale.pixels <= 0) {
    return;
  }
  m_nWheelAccum -= notches * 120;
  const TimeRange shown = ShownRange(), whole = WholeRange();
  const double x = std::clamp(event->position().x(), static_cast<double>(m_layout.originX),
                              static_cast<double>(m_layout.originX + m_timeScale.pixels));
  const double anchor = TimeAtColumn(shown, m_layout.originX, m_timeScale.pixels, x);
  SetShown(ZoomAbout(shown, anchor, notches, whole, MinimumSpan(whole, static_cast<int>(Points().size()))));
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
