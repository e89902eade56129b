#include "MyPanel.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

#include "PanelLogic.h"

CMyPanel::CMyPanel(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void CMyPanel::CreatePanel(const QString& caption, const QImage& picture, QWidget* parent, int x, int y) {
  m_strCaption = caption;
  m_picture = picture;
  m_nHeight = panel::Height(static_cast<int>(m_options.size()));
  m_rcPanel = QRect(x, y, m_nWidth, m_nHeight);
  setParent(parent);
  setWindowTitle(caption);
  setGeometry(m_rcPanel);
  // The outline: a rounded card below the picture's top, and the picture's
  // opaque pixels.
  QBitmap shape(m_nWidth, m_nHeight);
  shape.fill(Qt::color0);
  QPainter p(&shape);
  p.setBrush(Qt::color1);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRect(0, panel::kFrameTop, m_nWidth, m_nHeight - panel::kFrameTop), 5, 5);
  p.end();
  QRegion outline(shape);
  if (!m_picture.isNull()) {
    outline = outline.united(panel::OpaqueRegion(m_picture));
  }
  setMask(outline);
  show();
}

void CMyPanel::ClearSelection() { Select(-1); }

void CMyPanel::Select(int index) {
  // Only an entry there is can be marked; anything else marks none.
  const int row = index >= 0 && index < static_cast<int>(m_options.size()) ? index : -1;
  if (m_nSelected >= 0) {
    update(panel::RowRect(m_nSelected));
  }
  m_nSelected = row;
  if (row >= 0) {
    update(panel::RowRect(row));
  }
}

void CMyPanel::OffsetPanel(int dx, int dy) { move(m_rcPanel.topLeft() + QPoint(dx, dy)); }

void CMyPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The card: three frames of grey, each a pixel inside the one before, and
  // a gradient within.
  QRect r = rect().adjusted(0, panel::kFrameTop, 0, 0);
  for (int i = 0; i < 3; ++i) {
    r.adjust(1, 1, -1, -1);
    p.fillRect(r, QColor(233 - 2 * i, 233 - 2 * i, 233 - 2 * i));
  }
  r.adjust(1, 1, -1, -1);
  for (int k = 0; k < r.height(); ++k) {
    const int g = panel::GradientGrey(k, r.height());
    p.fillRect(QRect(r.left(), r.top() + k, r.width(), 1), QColor(g, g, g));
  }
  // The picture, its pure black left out.
  if (!m_picture.isNull()) {
    QPixmap picture = QPixmap::fromImage(m_picture);
    picture.setMask(picture.createMaskFromColor(Qt::black));
    p.drawPixmap(0, 0, picture);
  }
  QFont captionFont(QStringLiteral("Arial Unicode MS"));
  captionFont.setPointSize(10);
  captionFont.setBold(true);
  p.setFont(captionFont);
  p.setPen(Qt::black);
  p.drawText(QRect(55, 20, 65, 30), Qt::AlignVCenter | Qt::AlignLeft, m_strCaption);

  QFont entryFont(QStringLiteral("Tahoma"));
  entryFont.setPointSize(9);
  QFont selectedFont = entryFont;
  selectedFont.setBold(true);
  std::vector<int> ids;
  for (const COption& o : m_options) {
    ids.push_back(o.m_nId);
  }
  const std::vector<QColor> colours = panel::TextColours(ids);
  for (std::size_t i = 0; i < m_options.size(); ++i) {
    p.setFont(static_cast<int>(i) == m_nSelected ? selectedFont : entryFont);
    p.setPen(colours[i]);
    p.drawText(panel::RowRect(static_cast<int>(i)), Qt::AlignVCenter | Qt::AlignLeft, m_options[i].m_strText);
  }
  if (m_options.empty()) {
    p.setFont(entryFont);
    p.setPen(QColor(255, 0, 0));
    p.drawText(panel::RowRect(0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("NONE OPTION!"));
  }
}

void CMyPanel::mouseMoveEvent(QMouseEvent* event) {
  // The owner scrolls the column while the mouse is over a panel.
  emit mouseMovedOver(mapToParent(event->position().toPoint()));
  const int y = event->position().toPoint().y();
  const bool overRows =
      panel::kFirstRowTop < y && y < panel::kFirstRowTop + static_cast<int>(m_options.size()) * panel::kRowHeight;
  setCursor(overRows ? Qt::PointingHandCursor : Qt::ArrowCursor);
  QWidget::mouseMoveEvent(event);
}

void CMyPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return QWidget::mousePressEvent(event);
  }
  const int row = panel::RowAt(event->position().toPoint().y(), static_cast<int>(m_options.size()));
  if (row < 0) {
    return;
  }
  update(m_nSelected >= 0 ? panel::RowRect(m_nSelected) : QRect(35, 30, 120, 20));
  m_nSelected = row;
  emit optionSelect(m_options[static_cast<std::size_t>(row)].m_nId);
  update(panel::RowRect(row));
}
