#include "ChartPainter.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "ChartHover.h"
#include "ChartLegend.h"
#include "ChartPalette.h"
#include "RunComparison.h"

QColor SeriesColour(const CChartSeriesModel& curves, std::size_t index, BandMode bands) {
  const QColor first = bands != BandMode::None ? QColor(Qt::black) : QColor(210, 100, 100);
  const SeriesLook& look = curves.Curves()[index].Look();
  return CurveColour(look.m_nColour >= 0 ? look.m_nColour : static_cast<int>(index), first);
}

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

// `font` made smaller, a pixel at a time down to 6, until `text` is no
// longer than `room` (measured on `device` when given): a caption reads
// whole.
QFont ShrunkToFit(QFont font, const QString& text, int room, QPaintDevice* device = nullptr) {
  auto width = [&] { return (device ? QFontMetrics(font, device) : QFontMetrics(font)).horizontalAdvance(text); };
  while (width() > room && font.pixelSize() > 6) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

// The x at which `text` starts: `x` where the text fits in a width of `w`
// from there; else moved left (never past 1) so that it ends inside, its
// font made smaller first when it is wider than the chart.
int FitTextX(QPainter& p, int x, int w, const QString& text) {
  p.setFont(ShrunkToFit(p.font(), text, w - 2, p.device()));
  const int width = p.fontMetrics().horizontalAdvance(text);
  return std::max(1, std::min(x, w - width - 1));
}

// Text drawn with its top-left corner at (x, y), as the chart places it.
void TextAt(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

QPen Pen(const QColor& c, int width) {
  return {c, static_cast<qreal>(width), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin};
}

// One paint of the chart: the page, what it shows, and the axes as laid
// out so far.
class CChartPage {
 public:
  CChartPage(QPainter& painter, QSize size, const ChartPaintInput& in)
      : p(painter), w(size.width()), h(size.height()), m_in(in), m_curves(*in.curves) {}

  ChartAxes Paint(bool everySegment, bool overlays);

 private:
  QColor ColourOf(std::size_t index) const { return SeriesColour(m_curves, index, m_in.bands); }
  void DrawCaptions(const QFont& caption);
  void DrawTicks(const QFont& tickFont, const QFontMetrics& tm);
  void DrawBands();
  void DrawLegend(const LegendLayout& legend, const QStringList& texts, const QFontMetrics& tm);
  void DrawRightAxis(const QFont& caption);
  void DrawSections(const QFont& font);
  void DrawSeries(const CChartSeries& s, AxisSpan y, bool everySegment);
  void DrawCursorAndHover();

  QPainter& p;
  const int w, h;
  const ChartPaintInput& m_in;
  const CChartSeriesModel& m_curves;
  ChartAxes m_axes;
};

ChartAxes CChartPage::Paint(bool everySegment, bool overlays) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(0, 0, w, h), Qt::white);
  const bool bands = m_in.bands != BandMode::None;
  const QString& title = m_in.title;

  // Title, sized to fit the plot area's width.
  const int areaWidth = bands ? w - 75 : w - 5, areaHeight = h - 20;
  p.setPen(Qt::black);
  p.setFont(ArialBold(FitFontHeight(24, static_cast<int>(title.size()), areaWidth)));
  TextAt(p, FitTextX(p, w / 2 - static_cast<int>(title.size()) / 2 * p.fontMetrics().averageCharWidth(), w, title), 10,
         title);

  // Caption fonts, sized by the longer side's caption.
  const int captionHeight = areaWidth > areaHeight ? FitFontHeight(16, static_cast<int>(m_in.yLabel.size()), areaHeight)
                                                   : FitFontHeight(16, static_cast<int>(m_in.xLabel.size()), areaWidth);
  const QFont caption = ArialBold(captionHeight);
  const QFontMetrics cm(caption);
  const QFont tickFont = ArialBold(12);
  const QFontMetrics tm(tickFont);
  const bool rightAxis = m_curves.HasRightAxis();
  // Several curves: a legend in rows under the title, the plot below it.
  const QStringList legendTexts = m_curves.LegendTexts();
  LegendLayout legend;
  const bool yCaption = !m_in.yLabel.isEmpty();
  if (!legendTexts.isEmpty()) {
    const ChartLayout plain = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), yCaption);
    std::vector<int> widths;
    for (const QString& t : legendTexts) {
      widths.push_back(tm.horizontalAdvance(t) + 4);  // the painter's measure may round up
    }
    legend = LayoutLegend(widths, plain.originX, plain.originX + plain.axisWidth, plain.originY - plain.axisHeight,
                          tm.height() + 2);
  }
  const ChartLayout layout = LayoutChart(w, h, bands, cm.height(), cm.averageCharWidth(), yCaption,
                                         legend.height > 0 ? legend.height + 4 : 0, rightAxis);
  m_axes = LayOutAxes(layout, m_in.whole, m_in.shown, m_in.zoomed, m_in.left, m_in.right);

  DrawCaptions(caption);
  DrawTicks(tickFont, tm);
  if (rightAxis) {
    DrawRightAxis(caption);
  }
  DrawBands();
  DrawLegend(legend, legendTexts, tm);
  DrawSections(tickFont);

  // A zoomed chart keeps its lines between the axis' ends, and a box's
  // values between the x axis and the y axis' top.
  const ChartLayout& l = m_axes.layout;
  if (m_in.zoomed || m_in.valueBoxed) {
    const int top = m_in.valueBoxed ? l.originY - l.axisHeight : 0, bottom = m_in.valueBoxed ? l.originY : h;
    const int from = m_in.zoomed ? l.originX : 0, to = m_in.zoomed ? m_axes.columns.back() : w;
    p.setClipRect(QRect(QPoint(from, top), QPoint(to, bottom)));
  }
  const std::vector<CChartSeries>& curves = m_curves.Curves();
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const CChartSeries& s = curves[i];
    QPen pen = bands ? Pen(ColourOf(i), 4) : Pen(ColourOf(i), 2);
    SetLineStyle(pen, s.Look().m_nStyle);
    p.setPen(pen);
    DrawSeries(s, s.Look().m_nAxis == 1 ? m_in.right : m_in.left, everySegment);
  }
  p.setClipping(false);
  // Overlays are for the screen: a saved or copied picture never holds them.
  if (overlays) {
    DrawCursorAndHover();
  }
  return m_axes;
}

void CChartPage::DrawCaptions(const QFont& caption) {
  const ChartLayout& l = m_axes.layout;
  const QFontMetrics cm(caption);
  // Axes and the x caption.
  p.setPen(Pen(Qt::black, 2));
  p.drawLine(l.originX, l.originY, l.originX, l.originY - l.axisHeight);
  p.drawLine(l.originX, l.originY, l.originX + l.axisWidth, l.originY);
  p.setFont(caption);
  p.setPen(Qt::black);
  const QString& x = m_in.xLabel;
  TextAt(p, FitTextX(p, l.originX + l.axisWidth / 2 - static_cast<int>(x.size()) / 2 * cm.averageCharWidth(), w, x),
         l.areaHeight - 11, x);
  // The y caption, turned to read upwards, centred on the y axis in its strip.
  const QString& y = m_in.yLabel;
  if (y.isEmpty()) {
    return;
  }
  p.save();
  // Read whole: a caption longer than the chart is high gets a smaller
  // font, and its middle moves so that both ends stay inside.
  const QFont yFont = ShrunkToFit(caption, y, h - 4);
  p.setFont(yFont);
  const QFontMetrics ym(yFont);
  const int half = ym.horizontalAdvance(y) / 2;
  p.translate(5, std::clamp(l.originY - l.axisHeight / 2, half + 2, std::max(half + 2, h - half - 2)));
  p.rotate(-90);
  p.drawText(QPoint(-half, ym.ascent()), y);
  p.restore();
}

void CChartPage::DrawTicks(const QFont& tickFont, const QFontMetrics& tm) {
  // y ticks, grid lines and labels; x ticks and labels.
  const ChartLayout& l = m_axes.layout;
  p.setFont(tickFont);
  for (int i = 0; i <= kChartTicks; ++i) {
    const int y = m_axes.rows[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(l.originX - 3, y, l.originX + 3, y);
      p.setPen(Pen(QColor(128, 128, 128), 1));
      p.drawLine(l.originX, y, l.originX + l.axisWidth, y);
    }
    const QString& label = m_axes.yLabels[static_cast<std::size_t>(i)];
    p.setPen(Qt::black);
    TextAt(p, l.originX - 6 * static_cast<int>(label.size()) - 10, y - 6, label);
  }
  for (int i = 0; i <= kChartTicks; ++i) {
    const int x = m_axes.columns[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(x, l.originY - 3, x, l.originY + 3);
    }
    p.setPen(Qt::black);
    // The last label ("90", "480") ends inside the chart.
    const QString& label = m_axes.xLabels[static_cast<std::size_t>(i)];
    TextAt(p, std::min(x + 2, w - tm.horizontalAdvance(label) - 1), l.originY + 8, label);
  }
}

void CChartPage::DrawBands() {
  // The comfort bands over the grid, and their labels.
  if (m_in.bands == BandMode::None) {
    return;
  }
  for (const ComfortBand& b : ComfortBands(m_axes.layout, m_in.bands, kChartTicks)) {
    for (const GradientStrip& s : GradientStrips(b.rect, b.top, b.bottom)) {
      p.fillRect(s.rect, s.colour);
    }
  }
  p.setPen(Qt::black);
  for (const ComfortLabel& c : ComfortLabels(m_axes.layout, m_in.bands, kChartTicks)) {
    TextAt(p, c.at.x(), c.at.y(), c.text);
  }
}

void CChartPage::DrawLegend(const LegendLayout& legend, const QStringList& texts, const QFontMetrics& tm) {
  // Each curve's line, in its colour and style, and its name.
  p.setFont(ArialBold(12));
  for (std::size_t i = 0; i < legend.entries.size(); ++i) {
    const QRect& e = legend.entries[i];
    QPen pen = Pen(ColourOf(i), 2);
    SetLineStyle(pen, m_curves.Curves()[i].Look().m_nStyle);
    p.setPen(pen);
    p.drawLine(e.left() + 2, e.center().y(), e.left() + kLegendSample - 2, e.center().y());
    p.setPen(Qt::black);
    const QRect text(e.left() + kLegendSample + kLegendGap, e.top(), e.width() - kLegendSample - kLegendGap,
                     e.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
               tm.elidedText(texts[static_cast<qsizetype>(i)], Qt::ElideRight, text.width()));
  }
}

void CChartPage::DrawRightAxis(const QFont& caption) {
  const ChartLayout& l = m_axes.layout;
  const int x = l.originX + l.axisWidth;
  p.setPen(Pen(Qt::black, 2));
  p.drawLine(x, l.originY, x, l.originY - l.axisHeight);
  for (int i = 0; i <= kChartTicks; ++i) {
    const int y = m_axes.rows[static_cast<std::size_t>(i)];
    if (i >= 1) {
      p.setPen(Pen(Qt::black, 1));
      p.drawLine(x - 3, y, x + 3, y);
    }
    p.setPen(Qt::black);
    TextAt(p, x + 8, y - 6, m_axes.y2Labels[static_cast<std::size_t>(i)]);
  }
  const QString& y2 = m_in.y2Label;
  if (y2.isEmpty()) {
    return;
  }
  // Its caption reads downwards at the chart's right edge, whole: a
  // caption longer than the page is high gets a smaller font.
  p.save();
  const QFont font = ShrunkToFit(caption, y2, h - 4);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int half = fm.horizontalAdvance(y2) / 2;
  p.translate(QPoint(std::min(w - 3, l.areaWidth + 5) - fm.ascent(), l.originY - l.axisHeight / 2));
  p.rotate(90);
  p.drawText(QPoint(-half, 0), y2);
  p.restore();
}

void CChartPage::DrawSections(const QFont& font) {
  if (!m_in.sections || m_in.sections->empty()) {
    return;
  }
  const ChartLayout& l = m_axes.layout;
  const TimeScale& scale = m_axes.scale;
  const int left = l.originX, right = l.originX + scale.pixels;
  const int top = l.originY - l.axisHeight;
  p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
  if (m_in.boundaries) {
    for (const float b : *m_in.boundaries) {
      const int x = scale.Column(b);
      if (x > left && x < right) {
        p.drawLine(x, l.originY, x, top);
      }
    }
  }
  // Each name over the middle of its span, cut to the span's width (a thin
  // layer keeps what fits), never past the axis' ends.
  p.setFont(font);
  p.setPen(Qt::black);
  const QFontMetrics fm(font);
  for (const ChartSection& s : *m_in.sections) {
    const int from = std::max(left, scale.Column(s.from)), to = std::min(right, scale.Column(s.to));
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

// Each segment is drawn on its own, as separate lines are, so the picture is
// the union of the segments. Where many points share a pixel column, their
// segments within it are vertical and together cover that column from the
// lowest to the highest of them: one segment from there to there gives the
// same pixels, whatever the number of points.
void CChartPage::DrawSeries(const CChartSeries& s, AxisSpan y, bool everySegment) {
  const std::vector<CChartDataSet>& points = s.Points();
  const int count = static_cast<int>(points.size());
  if (count < 2) {
    return;
  }
  // Zoomed, only the points on the shown range, and one either side for
  // the lines that leave it.
  int first = 0, end = count;
  if (m_in.zoomed && s.Sorted()) {
    auto before = [](const CChartDataSet& d, double t) { return d.m_fX < t; };
    const double lo = m_axes.scale.shown.lo, hi = m_axes.scale.shown.hi;
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
  const double rows = static_cast<double>(m_axes.layout.axisHeight - 10) / (static_cast<double>(y.hi) - y.lo);
  const TimeScale& ts = m_axes.scale;
  const double columns = ts.shown.Span() > 0 ? ts.pixels / ts.shown.Span() : 0.0;
  auto at = [&](int j) {
    const CChartDataSet& d = points[static_cast<std::size_t>(j)];
    const double column = ts.origin + (static_cast<double>(d.m_fX) - ts.shown.lo) * columns;
    const double row = m_axes.layout.originY - rows * (static_cast<double>(d.m_fY) - y.lo);
    return QPoint(static_cast<int>(std::floor(column + 0.5)), static_cast<int>(std::floor(row + 1e-3)));
  };
  // A value the run does not hold breaks the line: the gap shows.
  auto held = [&](int j) { return !std::isnan(points[static_cast<std::size_t>(j)].m_fY); };
  if (s.Look().m_nStyle != 0) {
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
  if (everySegment || n <= m_axes.layout.axisWidth) {
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

void CChartPage::DrawCursorAndHover() {
  const std::vector<CChartDataSet>& first = m_curves.Points();
  const int n = static_cast<int>(first.size());
  const ChartLayout& l = m_axes.layout;
  const TimeScale& scale = m_axes.scale;
  const QFont small = ArialBold(12);
  p.setFont(small);
  const int top = m_axes.rows.back();
  const int left = l.originX, right = l.originX + scale.pixels;
  if (m_in.box) {
    p.setPen(QPen(QColor(40, 40, 160), 1, Qt::DashLine));
    p.drawRect(*m_in.box);
  }
  if (n < 2) {
    return;
  }
  if (!std::isnan(m_in.cursorTime)) {
    const int x = scale.Column(m_in.cursorTime);
    if (!m_in.zoomed || (x >= left && x <= right)) {
      p.setPen(Pen(QColor(40, 40, 160), 1));
      p.drawLine(x, l.originY, x, top);
      p.setPen(QColor(40, 40, 160));
      // Right of the line, or left of it where the chart ends first: the
      // label of the run's last minute reads whole.
      const QString label = QStringLiteral("%1 min").arg(FormatTickLabel(m_in.cursorTime));
      const int width = p.fontMetrics().horizontalAdvance(label);
      TextAt(p, x + 3 + width < w - 1 ? x + 3 : std::max(0, x - 3 - width), top - 14, label);
    }
  }
  if (m_in.hover < 0 || m_in.hover >= n) {
    return;
  }
  // A ring on every curve at the hovered time, then the box that reads them.
  const CChartDataSet& d = first[static_cast<std::size_t>(m_in.hover)];
  QPoint at(scale.Column(d.m_fX), l.originY);
  const std::vector<CChartSeries>& curves = m_curves.Curves();
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const std::vector<CChartDataSet>& points = curves[i].Points();
    const int j = i == 0 ? m_in.hover : NearestInTime(points, d.m_fX);
    if (j < 0 || std::isnan(points[static_cast<std::size_t>(j)].m_fY)) {
      continue;
    }
    const auto v = static_cast<float>(points[static_cast<std::size_t>(j)].m_fY);
    const bool onRight = curves[i].Look().m_nAxis == 1;
    const QPoint ring(
        scale.Column(points[static_cast<std::size_t>(j)].m_fX),
        ValueRow(l, v, onRight ? m_axes.m_fY2Min : m_axes.m_fYMin, onRight ? m_axes.m_fY2Max : m_axes.m_fYMax));
    // A box's value range leaves some values off the plot: no ring there.
    if (m_in.valueBoxed && (ring.y() < l.originY - l.axisHeight || ring.y() > l.originY)) {
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
  const QStringList lines = m_in.hoverText.split(QLatin1Char('\n'));
  const QFontMetrics fm(small);
  int textWidth = 0;
  for (const QString& line : lines) {
    textWidth = std::max(textWidth, fm.horizontalAdvance(line));
  }
  const int lineHeight = fm.height();
  const int boxHeight = lineHeight * static_cast<int>(lines.size()) + 4;
  QRect box(at.x() + 8, at.y() - boxHeight - 4, textWidth + 8, boxHeight);
  if (box.right() > w) {
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
}  // namespace

ChartAxes PaintChart(QPainter& painter, QSize size, const ChartPaintInput& in, bool everySegment, bool overlays) {
  return CChartPage(painter, size, in).Paint(everySegment, overlays);
}
