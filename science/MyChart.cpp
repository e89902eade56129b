#include "MyChart.h"

#include <QBuffer>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "ChartCurves.h"
#include "ChartHover.h"
#include "ChartLegend.h"
#include "ChartPalette.h"
#include "ChartUnits.h"
#include "ImageFile.h"
#include "RunComparison.h"
#include "WholeFile.h"

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

CChartSeries::CChartSeries()
    : m_fXMin(std::numeric_limits<float>::infinity()), m_fXMax(-std::numeric_limits<float>::infinity()) {}

void CChartSeries::Add(float x, float y) {
  if (!m_points.empty()) {
    m_bSorted = m_bSorted && x >= m_points.back().m_fX;
  }
  m_points.push_back({x, y});
  m_fXMin = std::min(m_fXMin, x);
  m_fXMax = std::max(m_fXMax, x);
  m_fYMin = std::min(m_fYMin, y);
  m_fYMax = std::max(m_fYMax, y);
}

CMyChart::CMyChart(QWidget* parent)
    : QWidget(parent),
      m_fCursorTime(std::numeric_limits<float>::quiet_NaN()),
      m_fFixedYMin(std::numeric_limits<float>::quiet_NaN()),
      m_fFixedYMax(std::numeric_limits<float>::quiet_NaN()) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  ClearAll();
}

void CMyChart::ClearAll() {
  m_curves.assign(1, CChartSeries());
  m_nHover = -1;
  m_nBandMode = BandMode::None;
  m_bValueBox = false;
  m_fFixedYMin = std::numeric_limits<float>::quiet_NaN();
  m_fFixedYMax = std::numeric_limits<float>::quiet_NaN();
}

void CMyChart::AddPoint(float x, float y) { m_curves.back().Add(x, y); }

CChartSeries& CMyChart::AddSeries(const QString& name, const QString& unit, int axis) {
  CChartSeries& s = m_curves.emplace_back();
  s.m_strName = name;
  s.m_strUnit = unit;
  s.m_nAxis = axis;
  return s;
}

QStringList CMyChart::LegendTexts() const {
  QStringList texts;
  if (m_curves.size() > 1) {
    for (const CChartSeries& s : m_curves) {
      texts << s.m_strName;
    }
  }
  return texts;
}

QColor CMyChart::FirstColour() const {
  return m_nBandMode != BandMode::None ? QColor(Qt::black) : QColor(210, 100, 100);
}

QColor CMyChart::ColourOf(std::size_t index) const {
  const CChartSeries& s = m_curves[index];
  return CurveColour(s.m_nColour >= 0 ? s.m_nColour : static_cast<int>(index), FirstColour());
}

TimeRange CMyChart::WholeRange() const {
  float lo = m_fXMin, hi = m_fXMax;
  for (const CChartSeries& s : m_curves) {
    lo = std::min(lo, s.m_fXMin);
    hi = std::max(hi, s.m_fXMax);
  }
  return {lo, hi};
}

TimeRange CMyChart::ShownRange() const {
  const TimeRange whole = WholeRange();
  return m_bZoomed ? FitRange(m_view, whole, MinimumSpan(whole, static_cast<int>(Points().size()))) : whole;
}

void CMyChart::SetShown(const TimeRange& range) {
  const TimeRange whole = WholeRange();
  m_view = FitRange(range, whole, MinimumSpan(whole, static_cast<int>(Points().size())));
  m_bZoomed = whole.Span() > 0 && !IsWhole(m_view, whole);
  m_nHover = -1;
  update();
}

void CMyChart::ZoomTo(const TimeRange& range) { SetShown(range); }

void CMyChart::ResetView() {
  m_bZoomed = false;
  m_bValueBox = false;
  m_nHover = -1;
  update();
}

CMyChart::Axis CMyChart::AxisRange(int axis) const {
  if (m_bValueBox) {
    return m_valueBox[axis];
  }
  Axis a{1000000, -1000000};
  for (const CChartSeries& s : m_curves) {
    if (s.m_nAxis == axis) {
      a.lo = std::min(a.lo, s.m_fYMin);
      a.hi = std::max(a.hi, s.m_fYMax);
    }
  }
  if (axis == 0 && m_nBandMode != BandMode::None) {
    a = {0, 100};
  }
  if (axis == 0 && !std::isnan(m_fFixedYMin) && !std::isnan(m_fFixedYMax)) {
    a = {m_fFixedYMin, m_fFixedYMax};
  }
  WidenFlatRange(a.lo, a.hi);
  return a;
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
  const QFont tickFont = ArialBold(12);
  const QFontMetrics tm(tickFont);
  const bool rightAxis =
      std::any_of(m_curves.begin(), m_curves.end(), [](const CChartSeries& s) { return s.m_nAxis == 1; });
  // Several curves: a legend in rows under the title, the plot below it.
  const QStringList legendTexts = LegendTexts();
  LegendLayout legend;
  if (!legendTexts.isEmpty()) {
    const ChartLayout plain = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), !m_strYLabel.isEmpty());
    std::vector<int> widths;
    for (const QString& t : legendTexts) {
      widths.push_back(tm.horizontalAdvance(t) + 4);  // the painter's measure may round up
    }
    legend = LayoutLegend(widths, plain.originX, plain.originX + plain.axisWidth, plain.originY - plain.axisHeight,
                          tm.height() + 2);
  }
  m_layout = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), !m_strYLabel.isEmpty(),
                         legend.height > 0 ? legend.height + 4 : 0, rightAxis);
  const ChartLayout& l = m_layout;

  // Ranges: y from the data, x only ever widened.
  const TimeRange whole = WholeRange();
  m_fXMin = static_cast<float>(whole.lo);
  m_fXMax = static_cast<float>(whole.hi);
  const Axis left = AxisRange(0), right = AxisRange(1);
  m_fYMin = left.lo;
  m_fYMax = left.hi;
  m_fY2Min = right.lo;
  m_fY2Max = right.hi;
  m_fYStep = (m_fYMax - m_fYMin) / static_cast<float>(m_nYTicks);
  m_fXStep = (m_fXMax - m_fXMin) / static_cast<float>(m_nXTicks);
  const TimeRange shown = ShownRange();
  m_bZoomed = m_bZoomed && !IsWhole(shown, whole);

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
  // Zoomed, the labels read the shown range by the same rule.
  m_xLabels = m_bZoomed ? ZoomedTickLabels(shown.lo, shown.Span() / m_nXTicks, m_nXTicks)
                        : TimeTickLabels(m_fXMin, m_fXStep, m_nXTicks);
  for (int i = 0; i <= m_nXTicks; ++i) {
    const int x = columns[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(x, l.originY - 3, x, l.originY + 3);
    }
    p.setPen(Qt::black);
    // The last label ("90", "480") ends inside the chart.
    const QString& label = m_xLabels[static_cast<std::size_t>(i)];
    TextAt(p, std::min(x + 2, w - tm.horizontalAdvance(label) - 1), l.originY + 8, label);
  }
  if (rightAxis) {
    DrawRightAxis(p, caption, w);
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

  // The legend: each curve's line, in its colour and style, and its name.
  p.setFont(tickFont);
  for (std::size_t i = 0; i < legend.entries.size(); ++i) {
    const QRect& e = legend.entries[i];
    QPen pen = Pen(ColourOf(i), 2);
    SetLineStyle(pen, m_curves[i].m_nStyle);
    p.setPen(pen);
    p.drawLine(e.left() + 2, e.center().y(), e.left() + kLegendSample - 2, e.center().y());
    p.setPen(Qt::black);
    const QRect text(e.left() + kLegendSample + kLegendGap, e.top(), e.width() - kLegendSample - kLegendGap,
                     e.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
               tm.elidedText(legendTexts[static_cast<qsizetype>(i)], Qt::ElideRight, text.width()));
  }

  // Every curve stands at its own times on the labels' scale: the first
  // label's time at the y axis, the last one's at the last tick.
  m_timeScale = {shown, l.originX, columns.back() - l.originX};
  DrawSections(p, tickFont);
  // A zoomed chart keeps its lines between the axis' ends, and a box's
  // values between the x axis and the y axis' top.
  if (m_bZoomed || m_bValueBox) {
    const int top = m_bValueBox ? l.originY - l.axisHeight : 0, bottom = m_bValueBox ? l.originY : h;
    const int from = m_bZoomed ? l.originX : 0, to = m_bZoomed ? columns.back() : w;
    p.setClipRect(QRect(QPoint(from, top), QPoint(to, bottom)));
  }
  for (std::size_t i = 0; i < m_curves.size(); ++i) {
    const CChartSeries& s = m_curves[i];
    QPen pen = bands ? Pen(ColourOf(i), 4) : Pen(ColourOf(i), 2);
    SetLineStyle(pen, s.m_nStyle);
    p.setPen(pen);
    DrawSeries(p, s, s.m_nAxis == 1 ? right : left, everySegment);
  }
  p.setClipping(false);
  // Overlays are for the screen: a saved or copied picture never holds them.
  if (overlays) {
    DrawCursorAndHover(p, w);
  }
}

void CMyChart::DrawRightAxis(QPainter& p, const QFont& caption, int w) const {
  const ChartLayout& l = m_layout;
  const int x = l.originX + l.axisWidth;
  p.setPen(Pen(Qt::black, 2));
  p.drawLine(x, l.originY, x, l.originY - l.axisHeight);
  const std::vector<int> rows = YTickRows(l, m_nYTicks);
  std::vector<float> values;
  const float step = (m_fY2Max - m_fY2Min) / static_cast<float>(m_nYTicks);
  for (int i = 0; i <= m_nYTicks; ++i) {
    values.push_back(step * static_cast<float>(i) + m_fY2Min);
  }
  const std::vector<QString> labels = FormatAxisValues(values);
  for (int i = 0; i <= m_nYTicks; ++i) {
    const int y = rows[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(x - 3, y, x + 3, y);
    }
    p.setPen(Qt::black);
    TextAt(p, x + 8, y - 6, labels[static_cast<std::size_t>(i)]);
  }
  if (m_strY2Label.isEmpty()) {
    return;
  }
  // Its caption reads downwards at the chart's right edge.
  p.save();
  QFont font = caption;
  while (QFontMetrics(font).horizontalAdvance(m_strY2Label) > height() - 4 && font.pixelSize() > 6) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  p.setFont(font);
  const QFontMetrics fm(font);
  const int half = fm.horizontalAdvance(m_strY2Label) / 2;
  p.translate(QPoint(std::min(w - 3, l.areaWidth + 5) - fm.ascent(), l.originY - l.axisHeight / 2));
  p.rotate(90);
  p.drawText(QPoint(-half, 0), m_strY2Label);
  p.restore();
}

void CMyChart::DrawSections(QPainter& p, const QFont& font) const {
  if (m_sections.empty()) {
    return;
  }
  const int left = m_layout.originX, right = m_layout.originX + m_timeScale.pixels;
  const int top = m_layout.originY - m_layout.axisHeight;
  auto column = [&](double x) { return m_timeScale.Column(x); };
  p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
  for (float b : m_boundaries) {
    const int x = column(b);
    if (x > left && x < right) {
      p.drawLine(x, m_layout.originY, x, top);
    }
  }
  // Each name over the middle of its span, cut to the span's width (a thin
  // layer keeps what fits), never past the axis' ends.
  p.setFont(font);
  p.setPen(Qt::black);
  const QFontMetrics fm(font);
  for (const ChartSection& s : m_sections) {
    const int from = std::max(left, column(s.from)), to = std::min(right, column(s.to));
    if (to < left || from > right) {
      continue;
    }
    const int room = std::max(to - from, 8);
    const QString text = fm.elidedText(s.name, Qt::ElideRight, room);
    const int width = fm.horizontalAdvance(text);
    const int x = std::clamp((from + to) / 2 - width / 2, left, std::max(left, right - width));
    p.drawText(QRect(x, top + 2, width + 1, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
  }
}

void CMyChart::DrawCursorAndHover(QPainter& p, int chartWidth) const {
  const int n = static_cast<int>(Points().size());
  const QFont small = ArialBold(12);
  p.setFont(small);
  const int top = YTickRows(m_layout, m_nYTicks).back();
  const int left = m_layout.originX, right = m_layout.originX + m_timeScale.pixels;
  if (m_bBoxing) {
    p.setPen(QPen(QColor(40, 40, 160), 1, Qt::DashLine));
    p.drawRect(QRect(m_ptPress, m_ptDrag).normalized());
  }
  if (n < 2) {
    return;
  }
  if (!std::isnan(m_fCursorTime)) {
    const int x = m_timeScale.Column(m_fCursorTime);
    if (!m_bZoomed || (x >= left && x <= right)) {
      p.setPen(Pen(QColor(40, 40, 160), 1));
      p.drawLine(x, m_layout.originY, x, top);
      p.setPen(QColor(40, 40, 160));
      // Right of the line, or left of it where the chart ends first: the
      // label of the run's last minute reads whole.
      const QString label = QStringLiteral("%1 min").arg(FormatTickLabel(m_fCursorTime));
      const int width = p.fontMetrics().horizontalAdvance(label);
      TextAt(p, x + 3 + width < chartWidth - 1 ? x + 3 : std::max(0, x - 3 - width), top - 14, label);
    }
  }
  if (m_nHover < 0 || m_nHover >= n) {
    return;
  }
  // A ring on every curve at the hovered time, then the box that reads them.
  const CChartDataSet& d = Points()[static_cast<std::size_t>(m_nHover)];
  QPoint at(m_timeScale.Column(d.m_fX), m_layout.originY);
  for (std::size_t i = 0; i < m_curves.size(); ++i) {
    const CChartSeries& s = m_curves[i];
    const int j = i == 0 ? m_nHover : NearestInTime(s.m_points, d.m_fX);
    if (j < 0 || std::isnan(s.m_points[static_cast<std::size_t>(j)].m_fY)) {
      continue;
    }
    const float v = s.m_points[static_cast<std::size_t>(j)].m_fY;
    const bool onRight = s.m_nAxis == 1;
    const QPoint ring(m_timeScale.Column(s.m_points[static_cast<std::size_t>(j)].m_fX),
                      ValueRow(m_layout, v, onRight ? m_fY2Min : m_fYMin, onRight ? m_fY2Max : m_fYMax));
    // A box's value range leaves some values off the plot: no ring there.
    if (m_bValueBox && (ring.y() < m_layout.originY - m_layout.axisHeight || ring.y() > m_layout.originY)) {
      continue;
    }
    p.setPen(Pen(i == 0 ? QColor(Qt::black) : ColourOf(i), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(ring, 4, 4);
    p.setBrush(Qt::NoBrush);
    if (i == 0) {
      at = ring;
    }
  }
  const QStringList lines = HoverText().split(QLatin1Char('\n'));
  const QFontMetrics fm(small);
  int textWidth = 0;
  for (const QString& line : lines) {
    textWidth = std::max(textWidth, fm.horizontalAdvance(line));
  }
  const int lineHeight = fm.height();
  const int boxHeight = lineHeight * static_cast<int>(lines.size()) + 4;
  QRect box(at.x() + 8, at.y() - boxHeight - 4, textWidth + 8, boxHeight);
  if (box.right() > chartWidth) {
    box.moveRight(at.x() - 8);
  }
  if (box.top() < 0) {
    box.moveTop(std::max(0, at.y() + 8));
  }
  p.setPen(Pen(Qt::black, 1));
  p.fillRect(box, QColor(255, 255, 225));
  p.drawRect(box);
  for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
    p.drawText(QRect(box.left() + 4, box.top() + 2 + k * lineHeight, textWidth, lineHeight),
               Qt::AlignVCenter | Qt::AlignLeft, lines[k]);
  }
}

QString CMyChart::HoverText() const {
  if (m_nHover < 0 || m_nHover >= static_cast<int>(Points().size())) {
    return {};
  }
  const float t = Points()[static_cast<std::size_t>(m_nHover)].m_fX;
  std::vector<HoverValue> values;
  for (std::size_t i = 0; i < m_curves.size(); ++i) {
    const CChartSeries& s = m_curves[i];
    HoverValue v;
    v.name = s.m_strName;
    // The only curve's unit is its caption's, as the owner wrote it.
    v.unit = s.m_strUnit.isEmpty() && m_curves.size() == 1 ? UnitOf(m_strYLabel) : s.m_strUnit;
    const int j = i == 0 ? m_nHover : NearestInTime(s.m_points, t);
    v.held = j >= 0;
    v.value = j >= 0 ? s.m_points[static_cast<std::size_t>(j)].m_fY : 0.0f;
    v.run = s.m_nRun > 0 ? s.m_strRun : QString();
    v.time = j >= 0 ? s.m_points[static_cast<std::size_t>(j)].m_fX : t;
    values.push_back(v);
  }
  return HoverLines(t, values, m_strXUnit).join(QLatin1Char('\n'));
}

namespace {
QString Cell(float v, bool held) {
  if (!held || std::isnan(v)) {
    return {};  // a value the run does not hold is an empty cell
  }
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return QString::fromLatin1(buf, r.ptr - buf);
}
}  // namespace

QString CMyChart::DataText(QChar separator) const {
  if (m_curves.size() > 1) {
    std::vector<CurveColumn> columns;
    for (const CChartSeries& s : m_curves) {
      columns.push_back({s.m_strColumn.isEmpty() ? s.m_strName : s.m_strColumn, &s.m_points});
    }
    return CurvesText(m_strXLabel, columns, separator);
  }
  // One curve: its rows as they are, in their order, under the axis captions.
  QString out = DelimitedField(m_strXLabel, separator) + separator +
                DelimitedField(m_strYColumn.isEmpty() ? m_strYLabel : m_strYColumn, separator) + QLatin1Char('\n');
  for (const CChartDataSet& d : Points()) {
    out += Cell(d.m_fX, true) + separator + Cell(d.m_fY, true) + QLatin1Char('\n');
  }
  return out;
}

void CMyChart::CopyData() const { QGuiApplication::clipboard()->setText(DataText(QLatin1Char('\t'))); }

bool CMyChart::SaveData(const QString& path, QString* error) const {
  QString reason;
  return WriteWholeFile(path, DataText(QLatin1Char(',')).toUtf8(), error ? error : &reason);
}

bool CMyChart::SaveImage(const QString& path, QString* error) {
  const QSize size = this->size().isEmpty() ? QSize(800, 500) : this->size();
  if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    return WritePng(Render(size), path, error);
  }
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(m_strTitle);
  QPainter p(&svg);
  Paint(p, size);
  p.end();
  QString reason;
  return WriteWholeFile(path, bytes, error ? error : &reason);
}

// Each segment is drawn on its own, as separate lines are, so the picture is
// the union of the segments. Where many points share a pixel column, their
// segments within it are vertical and together cover that column from the
// lowest to the highest of them: one segment from there to there gives the
// same pixels, whatever the number of points.
void CMyChart::DrawSeries(QPainter& p, const CChartSeries& s, Axis y, bool everySegment) const {
  const std::vector<CChartDataSet>& points = s.m_points;
  const int count = static_cast<int>(points.size());
  if (count < 2) {
    return;
  }
  // Zoomed, only the points on the shown range, and one either side for
  // the lines that leave it.
  int first = 0, end = count;
  if (m_bZoomed && s.m_bSorted) {
    auto before = [](const CChartDataSet& d, double t) { return d.m_fX < t; };
    const double lo = m_timeScale.shown.lo, hi = m_timeScale.shown.hi;
    first = static_cast<int>(std::lower_bound(points.begin(), points.end(), lo, before) - points.begin()) - 1;
    end = static_cast<int>(std::lower_bound(points.begin(), points.end(), hi, before) - points.begin()) + 1;
    first = std::max(0, first);
    end = std::min(count, end);
  }
  const int n = end - first;
  if (n < 2) {
    return;
  }
  // ValueRow's and TimeScale::Column's arithmetic, with what is the same for
  // every point hoisted.
  const double rows = static_cast<double>(m_layout.axisHeight - 10) / (static_cast<double>(y.hi) - y.lo);
  const TimeScale& ts = m_timeScale;
  const double columns = ts.shown.Span() > 0 ? ts.pixels / ts.shown.Span() : 0.0;
  auto at = [&](int j) {
    const CChartDataSet& d = points[static_cast<std::size_t>(j)];
    const double column = ts.origin + (static_cast<double>(d.m_fX) - ts.shown.lo) * columns;
    const double row = m_layout.originY - rows * (static_cast<double>(d.m_fY) - y.lo);
    return QPoint(static_cast<int>(std::floor(column + 0.5)), static_cast<int>(std::floor(row + 1e-3)));
  };
  // A value the run does not hold breaks the line: the gap shows.
  auto held = [&](int j) { return !std::isnan(points[static_cast<std::size_t>(j)].m_fY); };
  if (s.m_nStyle != 0) {
    // A compared run's curve: its dashes run on from point to point, so each
    // unbroken stretch is one line (segments of a pixel or two would each
    // start a dash anew, and the curve would look solid).
    QPolygon stretch;
    auto flush = [&] {
      if (stretch.size() > 1) {
        p.drawPolyline(stretch);
      }
      stretch.clear();
    };
    for (int j = first; j < end; ++j) {
      if (!held(j)) {
        flush();
        continue;
      }
      const QPoint q = at(j);
      if (stretch.isEmpty() || stretch.back() != q) {
        stretch << q;
      }
    }
    flush();
    return;
  }
  if (everySegment || n <= m_layout.axisWidth) {
    bool linked = held(first);
    QPoint previous = linked ? at(first) : QPoint();
    for (int j = first + 1; j < end; ++j) {
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
  for (int j = first; j < end; ++j) {
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
