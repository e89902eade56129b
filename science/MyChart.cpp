#include "MyChart.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
QFont ArialBold(int pixelHeight) {
  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  // A height of 0 asks for the default size, as it does of the platform.
  if (pixelHeight > 0) f.setPixelSize(pixelHeight);
  return f;
}

// Text drawn with its top-left corner at (x, y), as the chart places it.
void TextAt(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

QPen Pen(const QColor& c, int width) {
  QPen pen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  return pen;
}
}  // namespace

CMyChart::CMyChart(QWidget* parent) : QWidget(parent) { ClearAll(); }

void CMyChart::ClearAll() {
  m_series.clear();
  m_nBandMode = 0;
  m_fDataXMin = std::numeric_limits<float>::infinity(), m_fDataXMax = -m_fDataXMin;
  m_fDataYMin = 1000000, m_fDataYMax = -1000000;
}

void CMyChart::AddPoint(float x, float y) {
  m_series.push_back({x, y});
  m_fDataXMin = std::min(m_fDataXMin, x), m_fDataXMax = std::max(m_fDataXMax, x);
  m_fDataYMin = std::min(m_fDataYMin, y), m_fDataYMax = std::max(m_fDataYMax, y);
}

void CMyChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  Paint(p, size());
}

QImage CMyChart::Render(QSize size, bool everySegment) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  Paint(p, size, everySegment);
  return image;
}

void CMyChart::Paint(QPainter& p, QSize size, bool everySegment) {
  const int w = size.width(), h = size.height();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(0, 0, w, h), Qt::white);
  const bool bands = m_nBandMode > 0;

  // Title, sized to fit the plot area's width.
  const int areaWidth = bands ? w - 75 : w - 5, areaHeight = h - 20;
  p.setPen(Qt::black);
  p.setFont(ArialBold(FitFontHeight(24, static_cast<int>(m_strTitle.size()), areaWidth)));
  TextAt(p, w / 2 - static_cast<int>(m_strTitle.size()) / 2 * p.fontMetrics().averageCharWidth(), 10, m_strTitle);

  // Caption fonts, sized by the longer side's caption.
  const int captionHeight = areaWidth > areaHeight ? FitFontHeight(16, static_cast<int>(m_strYLabel.size()), areaHeight)
                                                   : FitFontHeight(16, static_cast<int>(m_strXLabel.size()), areaWidth);
  const QFont caption = ArialBold(captionHeight);
  const QFontMetrics cm(caption);
  m_layout = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), !m_strYLabel.isEmpty());
  const ChartLayout& l = m_layout;

  // Ranges: y from the data, x only ever widened.
  m_fXMin = std::min(m_fXMin, m_fDataXMin), m_fXMax = std::max(m_fXMax, m_fDataXMax);
  m_fYMin = m_fDataYMin, m_fYMax = m_fDataYMax;
  if (bands) m_fYMin = 0, m_fYMax = 100;
  WidenFlatRange(m_fYMin, m_fYMax);
  m_fYStep = (m_fYMax - m_fYMin) / static_cast<float>(m_nYTicks);
  m_fXStep = (m_fXMax - m_fXMin) / static_cast<float>(m_nXTicks);

  // Axes and the x caption.
  p.setPen(Pen(Qt::black, 2));
  p.drawLine(l.originX, l.originY, l.originX, l.originY - l.axisHeight);
  p.drawLine(l.originX, l.originY, l.originX + l.axisWidth, l.originY);
  p.setFont(caption);
  p.setPen(Qt::black);
  TextAt(p, l.originX + l.axisWidth / 2 - static_cast<int>(m_strXLabel.size()) / 2 * cm.averageCharWidth(),
         l.areaHeight - 11, m_strXLabel);
  // The y caption, turned to read upwards, centred on the y axis in its strip.
  if (!m_strYLabel.isEmpty()) {
    p.save();
    p.translate(5, l.originY - l.axisHeight / 2);
    p.rotate(-90);
    p.drawText(QPoint(-cm.horizontalAdvance(m_strYLabel) / 2, cm.ascent()), m_strYLabel);
    p.restore();
  }

  // y ticks, grid lines and labels; x ticks and labels.
  const QFont tickFont = ArialBold(12);
  const QFontMetrics tm(tickFont);
  p.setFont(tickFont);
  const std::vector<int> rows = YTickRows(l, m_nYTicks);
  for (int i = 0; i <= m_nYTicks; ++i) {
    const int y = rows[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(l.originX - 3, y, l.originX + 3, y);
      p.setPen(Pen(QColor(128, 128, 128), 1));
      p.drawLine(l.originX, y, l.originX + l.axisWidth, y);
    }
    const QString label = FormatAxisValue(m_fYStep * static_cast<float>(i) + m_fYMin);
    p.setPen(Qt::black);
    TextAt(p, l.originX - 6 * static_cast<int>(label.size()) - 10, y - 6, label);
  }
  const std::vector<int> columns = XTickColumns(l, m_nXTicks);
  for (int i = 0; i <= m_nXTicks; ++i) {
    const int x = columns[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(x, l.originY - 3, x, l.originY + 3);
    }
    p.setPen(Qt::black);
    TextAt(p, x + 2, l.originY + 8, FormatTickLabel(m_fXStep * static_cast<float>(i) + m_fXMin));
  }

  // The comfort bands over the grid, and their labels.
  if (m_nBandMode >= 1 && m_nBandMode <= 3) {
    for (const ComfortBand& b : ComfortBands(l, m_nBandMode, m_nXTicks))
      for (const GradientStrip& s : GradientStrips(b.rect, b.top, b.bottom)) p.fillRect(s.rect, s.colour);
    p.setPen(Qt::black);
    for (const ComfortLabel& c : ComfortLabels(l, m_nBandMode, m_nXTicks)) TextAt(p, c.at.x(), c.at.y(), c.text);
  }

  DrawSeries(p, everySegment);
}

// Each segment is drawn on its own, as separate lines are, so the picture is
// the union of the segments. Where many points share a pixel column, their
// segments within it are vertical and together cover that column from the
// lowest to the highest of them: one segment from there to there gives the
// same pixels, whatever the number of points.
void CMyChart::DrawSeries(QPainter& p, bool everySegment) const {
  const int n = static_cast<int>(m_series.size());
  if (n < 2) return;
  p.setPen(m_nBandMode > 0 ? Pen(Qt::black, 4) : Pen(QColor(210, 100, 100), 2));
  // SeriesPoint's arithmetic, with what is the same for every point hoisted.
  const double sx = static_cast<double>(m_layout.axisWidth - 5) / (n - 1);
  const float scale = static_cast<float>(m_layout.axisHeight - 10) / (m_fYMax - m_fYMin);
  auto at = [&](int j) {
    return QPoint(static_cast<int>(j * sx + m_layout.originX),
                  m_layout.originY - static_cast<int>(scale * (m_series[static_cast<std::size_t>(j)].m_fY - m_fYMin)));
  };
  QPoint previous = at(0);
  if (everySegment || n <= m_layout.axisWidth) {
    for (int j = 1; j < n; ++j) {
      const QPoint next = at(j);
      p.drawLine(previous, next);
      previous = next;
    }
    return;
  }
  // A column's own segments exist only where it holds two points or more
  // (a lone point there has only the segments to its neighbours).
  std::vector<QLine> lines;
  int low = previous.y(), high = previous.y(), inColumn = 1;
  for (int j = 1; j < n; ++j) {
    const QPoint next = at(j);
    if (next.x() == previous.x()) {
      low = std::min(low, next.y()), high = std::max(high, next.y());
      ++inColumn;
    } else {
      if (inColumn > 1) lines.emplace_back(previous.x(), low, previous.x(), high);
      lines.emplace_back(previous, next);
      low = high = next.y();
      inColumn = 1;
    }
    previous = next;
  }
  if (inColumn > 1) lines.emplace_back(previous.x(), low, previous.x(), high);
  p.drawLines(lines.data(), static_cast<int>(lines.size()));
}
