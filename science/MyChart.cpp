#include "MyChart.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {
QFont ArialBold(int pixelHeight) {
  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  // A height of 0 asks for the default size, as it does of the platform.
  if (pixelHeight > 0) {
    f.setPixelSize(pixelHeight);
  }
  return f;
}

// The x at which `text` starts: `x` where the text fits in a width of `w`
// from there; else moved left (never past 1) so that it ends inside, its
// font made smaller first when it is wider than the chart.
int FitTextX(QPainter& p, int x, int w, const QString& text) {
  while (p.fontMetrics().horizontalAdvance(text) > w - 2 && p.font().pixelSize() > 6) {
    QFont smaller = p.font();
    smaller.setPixelSize(p.font().pixelSize() - 1);
    p.setFont(smaller);
  }
  const int width = p.fontMetrics().horizontalAdvance(text);
  return std::max(1, std::min(x, w - width - 1));
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

CMyChart::CMyChart(QWidget* parent) : QWidget(parent), m_fCursorTime(std::numeric_limits<float>::quiet_NaN()) {
  setMouseTracking(true);
  ClearAll();
}

void CMyChart::ClearAll() {
  m_series.clear();
  m_nHover = -1;
  m_nBandMode = BandMode::None;
  m_fDataXMin = std::numeric_limits<float>::infinity();
  m_fDataXMax = -m_fDataXMin;
  m_fDataYMin = 1000000;
  m_fDataYMax = -1000000;
}

void CMyChart::AddPoint(float x, float y) {
  m_series.push_back({x, y});
  m_fDataXMin = std::min(m_fDataXMin, x);
  m_fDataXMax = std::max(m_fDataXMax, x);
  m_fDataYMin = std::min(m_fDataYMin, y);
  m_fDataYMax = std::max(m_fDataYMax, y);
}

void CMyChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  Paint(p, size(), false, m_bOverlays);
}

QImage CMyChart::Render(QSize size, bool everySegment) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  Paint(p, size, everySegment);
  return image;
}

void CMyChart::Paint(QPainter& p, QSize size, bool everySegment, bool overlays) {
  const int w = size.width(), h = size.height();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(0, 0, w, h), Qt::white);
  const bool bands = m_nBandMode != BandMode::None;

  // Title, sized to fit the plot area's width.
  const int areaWidth = bands ? w - 75 : w - 5, areaHeight = h - 20;
  p.setPen(Qt::black);
  p.setFont(ArialBold(FitFontHeight(24, static_cast<int>(m_strTitle.size()), areaWidth)));
  TextAt(
      p,
      FitTextX(p, w / 2 - static_cast<int>(m_strTitle.size()) / 2 * p.fontMetrics().averageCharWidth(), w, m_strTitle),
      10, m_strTitle);

  // Caption fonts, sized by the longer side's caption.
  const int captionHeight = areaWidth > areaHeight ? FitFontHeight(16, static_cast<int>(m_strYLabel.size()), areaHeight)
                                                   : FitFontHeight(16, static_cast<int>(m_strXLabel.size()), areaWidth);
  const QFont caption = ArialBold(captionHeight);
  const QFontMetrics cm(caption);
  m_layout = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), !m_strYLabel.isEmpty());
  const ChartLayout& l = m_layout;

  // Ranges: y from the data, x only ever widened.
  m_fXMin = std::min(m_fXMin, m_fDataXMin);
  m_fXMax = std::max(m_fXMax, m_fDataXMax);
  m_fYMin = m_fDataYMin;
  m_fYMax = m_fDataYMax;
  if (bands) {
    m_fYMin = 0;
    m_fYMax = 100;
  }
  WidenFlatRange(m_fYMin, m_fYMax);
  m_fYStep = (m_fYMax - m_fYMin) / static_cast<float>(m_nYTicks);
  m_fXStep = (m_fXMax - m_fXMin) / static_cast<float>(m_nXTicks);

  // Axes and the x caption.
  p.setPen(Pen(Qt::black, 2));
  p.drawLine(l.originX, l.originY, l.originX, l.originY - l.axisHeight);
  p.drawLine(l.originX, l.originY, l.originX + l.axisWidth, l.originY);
  p.setFont(caption);
  p.setPen(Qt::black);
  TextAt(p,
         FitTextX(p, l.originX + l.axisWidth / 2 - static_cast<int>(m_strXLabel.size()) / 2 * cm.averageCharWidth(), w,
                  m_strXLabel),
         l.areaHeight - 11, m_strXLabel);
  // The y caption, turned to read upwards, centred on the y axis in its strip.
  if (!m_strYLabel.isEmpty()) {
    p.save();
    // Read whole: a caption longer than the chart is high gets a smaller
    // font, and its middle moves so that both ends stay inside.
    QFont yFont = caption;
    while (QFontMetrics(yFont).horizontalAdvance(m_strYLabel) > h - 4 && yFont.pixelSize() > 6) {
      yFont.setPixelSize(yFont.pixelSize() - 1);
    }
    p.setFont(yFont);
    const QFontMetrics ym(yFont);
    const int half = ym.horizontalAdvance(m_strYLabel) / 2;
    p.translate(5, std::clamp(l.originY - l.axisHeight / 2, half + 2, std::max(half + 2, h - half - 2)));
    p.rotate(-90);
    p.drawText(QPoint(-half, ym.ascent()), m_strYLabel);
    p.restore();
  }

  // y ticks, grid lines and labels; x ticks and labels.
  const QFont tickFont = ArialBold(12);
  const QFontMetrics tm(tickFont);
  p.setFont(tickFont);
  const std::vector<int> rows = YTickRows(l, m_nYTicks);
  std::vector<float> tickValues;
  for (int i = 0; i <= m_nYTicks; ++i) {
    tickValues.push_back(m_fYStep * static_cast<float>(i) + m_fYMin);
  }
  const std::vector<QString> tickLabels = FormatAxisValues(tickValues);
  for (int i = 0; i <= m_nYTicks; ++i) {
    const int y = rows[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(l.originX - 3, y, l.originX + 3, y);
      p.setPen(Pen(QColor(128, 128, 128), 1));
      p.drawLine(l.originX, y, l.originX + l.axisWidth, y);
    }
    const QString& label = tickLabels[static_cast<std::size_t>(i)];
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
    // The last label ("90", "480") ends inside the chart.
    const QString label = FormatTickLabel(m_fXStep * static_cast<float>(i) + m_fXMin);
    TextAt(p, std::min(x + 2, w - tm.horizontalAdvance(label) - 1), l.originY + 8, label);
  }

  // The comfort bands over the grid, and their labels.
  if (m_nBandMode != BandMode::None) {
    for (const ComfortBand& b : ComfortBands(l, m_nBandMode, m_nXTicks)) {
      for (const GradientStrip& s : GradientStrips(b.rect, b.top, b.bottom)) {
        p.fillRect(s.rect, s.colour);
      }
    }
    p.setPen(Qt::black);
    for (const ComfortLabel& c : ComfortLabels(l, m_nBandMode, m_nXTicks)) {
      TextAt(p, c.at.x(), c.at.y(), c.text);
    }
  }

  m_xmap = MapSeriesX(static_cast<int>(m_series.size()),
                      [this](int j) { return m_series[static_cast<std::size_t>(j)].m_fX; });
  if (!m_xmap.byIndex && m_fXMax > m_fXMin) {
    // Points at their time stand on the x labels' scale: the first label's
    // time at the y axis, the last one's at the last tick.
    m_xmap.x0 = m_fXMin;
    m_xmap.span = static_cast<double>(m_fXMax) - m_fXMin;
    m_xmap.pixels = columns.back() - l.originX;
  }
  DrawSeries(p, everySegment);
  // Overlays are for the screen: a saved or copied picture never holds them.
  if (overlays) {
    DrawCursorAndHover(p);
  }
}

namespace {
// The first point at or after time t (points run in time order).
int IndexAtTime(const std::vector<CChartDataSet>& points, float t) {
  const auto it =
      std::lower_bound(points.begin(), points.end(), t, [](const CChartDataSet& p, float v) { return p.m_fX < v; });
  return it == points.end() ? static_cast<int>(points.size()) - 1 : static_cast<int>(it - points.begin());
}

QString Number(float v) { return QString::number(static_cast<double>(v), 'g', 6); }

// The unit of a caption such as "Temperature of Skin(Degree)".
QString UnitOf(const QString& caption) {
  const qsizetype open = caption.indexOf(QLatin1Char('('));
  const qsizetype close = caption.lastIndexOf(QLatin1Char(')'));
  return open >= 0 && close > open ? caption.mid(open + 1, close - open - 1) : QString();
}
}  // namespace

void CMyChart::DrawCursorAndHover(QPainter& p) const {
  const int n = static_cast<int>(m_series.size());
  if (n < 2) {
    return;
  }
  const QFont small = ArialBold(12);
  p.setFont(small);
  const int top = YTickRows(m_layout, m_nYTicks).back();
  if (!std::isnan(m_fCursorTime)) {
    const int j = IndexAtTime(m_series, m_fCursorTime);
    // By index, the cursor stands on its point; by time, at its own time.
    const int x =
        m_xmap.Column(m_layout, j, m_xmap.byIndex ? m_series[static_cast<std::size_t>(j)].m_fX : m_fCursorTime);
    p.setPen(Pen(QColor(40, 40, 160), 1));
    p.drawLine(x, m_layout.originY, x, top);
    p.setPen(QColor(40, 40, 160));
    TextAt(p, x + 3, top - 14, QStringLiteral("%1 min").arg(FormatTickLabel(m_fCursorTime)));
  }
  if (m_nHover >= 0 && m_nHover < n) {
    const CChartDataSet& d = m_series[static_cast<std::size_t>(m_nHover)];
    const QString text = HoverText();
    const QFontMetrics fm(small);
    QPoint at(m_xmap.Column(m_layout, m_nHover, d.m_fX), m_layout.originY);
    if (!std::isnan(d.m_fY)) {
      at = SeriesPoint(m_layout, 0, 1, d.m_fY, m_fYMin, m_fYMax);
      at.setX(m_xmap.Column(m_layout, m_nHover, d.m_fX));
      p.setPen(Pen(Qt::black, 1));
      p.setBrush(Qt::white);
      p.drawEllipse(at, 4, 4);
      p.setBrush(Qt::NoBrush);
    }
    QRect box(at.x() + 8, at.y() - fm.height() - 8, fm.horizontalAdvance(text) + 8, fm.height() + 4);
    if (box.right() > width()) {
      box.moveRight(at.x() - 8);
    }
    p.setPen(Pen(Qt::black, 1));
    p.fillRect(box, QColor(255, 255, 225));
    p.drawRect(box);
    p.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignVCenter | Qt::AlignLeft, text);
  }
}

QString CMyChart::HoverText() const {
  if (m_nHover < 0 || m_nHover >= static_cast<int>(m_series.size())) {
    return {};
  }
  const CChartDataSet& d = m_series[static_cast<std::size_t>(m_nHover)];
  if (std::isnan(d.m_fY)) {
    return QStringLiteral("%1 min: no data").arg(Number(d.m_fX));
  }
  const QString unit = UnitOf(m_strYLabel);
  return QStringLiteral("%1 min: %2%3")
      .arg(Number(d.m_fX), Number(d.m_fY), unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

QString CMyChart::DataText(QChar separator) const {
  QString out = m_strXLabel + separator + (m_strYColumn.isEmpty() ? m_strYLabel : m_strYColumn) + QLatin1Char('\n');
  for (const CChartDataSet& d : m_series) {
    char x[32], y[32];
    const auto rx = std::to_chars(x, x + sizeof x, d.m_fX);
    // A value the run does not hold is an empty cell.
    const auto ry = std::isnan(d.m_fY) ? std::to_chars_result{y, {}} : std::to_chars(y, y + sizeof y, d.m_fY);
    out += QString::fromLatin1(x, rx.ptr - x) + separator + QString::fromLatin1(y, ry.ptr - y) + QLatin1Char('\n');
  }
  return out;
}

void CMyChart::CopyData() const { QGuiApplication::clipboard()->setText(DataText(QLatin1Char('\t'))); }

bool CMyChart::SaveData(const QString& path) const {
  QSaveFile out(path);
  const QByteArray text = DataText(QLatin1Char(',')).toUtf8();
  return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

bool CMyChart::SaveImage(const QString& path) {
  const QSize size = this->size().isEmpty() ? QSize(800, 500) : this->size();
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) {
    return false;
  }
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(m_strTitle);
    QPainter p(&svg);
    Paint(p, size);
    p.end();
  } else if (!Render(size).save(&out, "PNG")) {
    return false;
  }
  return out.commit();
}

void CMyChart::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  const bool inside = x >= m_layout.originX && x <= m_layout.originX + m_layout.axisWidth;
  int hover = -1;
  if (inside && m_xmap.byIndex) {
    hover = NearestPointIndex(m_layout, static_cast<int>(m_series.size()), x);
  } else if (inside && !m_series.empty()) {
    // The point nearest in time to the pointer's time.
    const auto t = static_cast<float>(m_xmap.TimeAt(m_layout, x));
    const int after = IndexAtTime(m_series, t);
    hover = after;
    if (after > 0 &&
        t - m_series[static_cast<std::size_t>(after) - 1].m_fX < m_series[static_cast<std::size_t>(after)].m_fX - t) {
      hover = after - 1;
    }
  }
  if (hover != m_nHover) {
    m_nHover = hover;
    update();
  }
  QWidget::mouseMoveEvent(event);
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
    if (!path.isEmpty() && !SaveData(path)) {
      QMessageBox::warning(this, QStringLiteral("Save Data"), QStringLiteral("Cannot write %1.").arg(path));
    }
  });
  for (const char* format : {"PNG", "SVG"}) {
    const QString f = QLatin1String(format);
    menu.addAction(QStringLiteral("Save Image as %1...").arg(f), this, [this, f] {
      const QString path =
          QFileDialog::getSaveFileName(this, QStringLiteral("Save Image"), m_strTitle + QLatin1Char('.') + f.toLower(),
                                       QStringLiteral("%1 (*.%2)").arg(f, f.toLower()));
      if (!path.isEmpty() && !SaveImage(path)) {
        QMessageBox::warning(this, QStringLiteral("Save Image"), QStringLiteral("Cannot write %1.").arg(path));
      }
    });
  }
  menu.exec(event->globalPos());
}

// Each segment is drawn on its own, as separate lines are, so the picture is
// the union of the segments. Where many points share a pixel column, their
// segments within it are vertical and together cover that column from the
// lowest to the highest of them: one segment from there to there gives the
// same pixels, whatever the number of points.
void CMyChart::DrawSeries(QPainter& p, bool everySegment) const {
  const int n = static_cast<int>(m_series.size());
  if (n < 2) {
    return;
  }
  p.setPen(m_nBandMode != BandMode::None ? Pen(Qt::black, 4) : Pen(QColor(210, 100, 100), 2));
  // SeriesPoint's arithmetic, with what is the same for every point hoisted.
  const float scale = static_cast<float>(m_layout.axisHeight - 10) / (m_fYMax - m_fYMin);
  auto at = [&](int j) {
    const CChartDataSet& d = m_series[static_cast<std::size_t>(j)];
    return QPoint(m_xmap.Column(m_layout, j, d.m_fX), m_layout.originY - static_cast<int>(scale * (d.m_fY - m_fYMin)));
  };
  // A value the run does not hold breaks the line: the gap shows.
  auto held = [&](int j) { return !std::isnan(m_series[static_cast<std::size_t>(j)].m_fY); };
  if (everySegment || n <= m_layout.axisWidth) {
    bool linked = held(0);
    QPoint previous = linked ? at(0) : QPoint();
    for (int j = 1; j < n; ++j) {
      if (!held(j)) {
        linked = false;
        continue;
      }
      const QPoint next = at(j);
      if (linked) {
        p.drawLine(previous, next);
      }
      previous = next;
      linked = true;
    }
    return;
  }
  // A column's own segments exist only where it holds two points or more
  // (a lone point there has only the segments to its neighbours).
  std::vector<QLine> lines;
  bool linked = false;
  QPoint previous;
  int low = 0, high = 0, inColumn = 0;
  auto closeColumn = [&] {
    if (inColumn > 1) {
      lines.emplace_back(previous.x(), low, previous.x(), high);
    }
  };
  for (int j = 0; j < n; ++j) {
    if (!held(j)) {
      if (linked) {
        closeColumn();
      }
      linked = false;
      continue;
    }
    const QPoint next = at(j);
    if (!linked) {
      low = high = next.y();
      inColumn = 1;
    } else if (next.x() == previous.x()) {
      low = std::min(low, next.y());
      high = std::max(high, next.y());
      ++inColumn;
    } else {
      closeColumn();
      lines.emplace_back(previous, next);
      low = high = next.y();
      inColumn = 1;
    }
    previous = next;
    linked = true;
  }
  if (linked) {
    closeColumn();
  }
  p.drawLines(lines.data(), static_cast<int>(lines.size()));
}
