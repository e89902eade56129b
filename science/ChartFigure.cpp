#include "ChartFigure.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ChartPalette.h"
#include "PolylineSimplify.h"

namespace {
constexpr double kVectorTolerancePt = 0.02;

// A curve as one path: a stretch of held values after another, each begun
// anew after a value the run does not hold.
class CurvePath {
 public:
  CurvePath(const ChartFigureLayout& l, const FigureAxis& axis, double pixelsPerPt)
      : m_l(l), m_axis(axis), m_pixelsPerPt(pixelsPerPt) {}

  void Add(const CChartDataSet& d) {
    if (std::isnan(d.m_fY)) {
      Flush();
      m_open = false;
      return;
    }
    const QPointF q(m_l.Column(d.m_fX), m_l.Row(m_axis, d.m_fY));
    if (m_pixelsPerPt <= 0) {
      m_stretch.push_back(q);
      return;
    }
    // Raster: the points of one pixel column gather until the next begins.
    const auto column = static_cast<long>(std::floor(q.x() * m_pixelsPerPt));
    if (m_count > 0 && column != m_column) {
      Flush();
    }
    if (m_count == 0) {
      m_column = column;
      m_first = m_low = m_high = q;
      m_lowAt = m_highAt = 0;
    } else if (q.y() < m_low.y()) {
      m_low = q;
      m_lowAt = m_count;
    } else if (q.y() > m_high.y()) {
      m_high = q;
      m_highAt = m_count;
    }
    m_last = q;
    ++m_count;
  }

  QPainterPath Finish() {
    Flush();
    return m_path;
  }

 private:
  // A vector stretch ends: its points, made fewer where they lie along one
  // line to within a fiftieth of a point, go into the path.
  void EndStretch() {
    for (const QPointF& q : SimplifyPolyline(m_stretch, kVectorTolerancePt)) {
      Emit(q);
    }
    m_stretch.clear();
  }
  void Emit(const QPointF& q) {
    if (m_open) {
      m_path.lineTo(q);
    } else {
      m_path.moveTo(q);
      m_open = true;
    }
  }
  // A column's points in their order: first, the extremes, last.
  void Flush() {
    EndStretch();
    if (m_count == 0) {
      return;
    }
    Emit(m_first);
    if (m_count > 1) {
      const bool lowFirst = m_lowAt <= m_highAt;
      for (const QPointF& q : {lowFirst ? m_low : m_high, lowFirst ? m_high : m_low, m_last}) {
        if (q != m_path.currentPosition()) {
          Emit(q);
        }
      }
    }
    m_count = 0;
  }

  const ChartFigureLayout& m_l;
  const FigureAxis& m_axis;
  double m_pixelsPerPt;
  QPainterPath m_path;
  bool m_open = false;
  long m_column = 0;
  int m_count = 0, m_lowAt = 0, m_highAt = 0;
  QPointF m_first, m_low, m_high, m_last;
  std::vector<QPointF> m_stretch;  // vector output: the held points since the last gap
};

QPen LinePen(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine) {
  return QPen(c, width, style, Qt::FlatCap, Qt::RoundJoin);
}

// A curve's pen in its run's line style.
QPen CurvePen(const QColor& c, double width, int style) {
  QPen pen = LinePen(c, width);
  SetLineStyle(pen, style);
  return pen;
}
}  // namespace

void PaintChartFigure(QPainter& p, QSizeF pagePt, const FigureStyle& s, const ChartFigureContent& c,
                      double pixelsPerPt) {
  const ChartFigureLayout L = LayoutChartFigure(c.text, pagePt, s);
  const QRectF& plot = L.plot;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(L.page, Qt::white);

  // Light grid lines at the left axis' ticks, under everything.
  p.setPen(LinePen(QColor(210, 210, 210), s.gridPt));
  for (const double v : L.y.ticks) {
    const double y = L.Row(L.y, v);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }

  // The comfort scale: each band a gradient from its top colour to its
  // bottom one, over the plot's width.
  double bandTop = 0;
  for (const ComfortBandEdge& b : ComfortBandScale(c.bands)) {
    const double lower = b.lower < 0 ? 1.0 : b.lower;
    const QRectF r(QPointF(plot.left(), plot.top() + bandTop * plot.height()),
                   QPointF(plot.right(), plot.top() + lower * plot.height()));
    QLinearGradient ramp(r.topLeft(), r.bottomLeft());
    ramp.setColorAt(0, QColor(b.top));
    ramp.setColorAt(1, QColor(b.bottom));
    p.fillRect(r, ramp);
    bandTop = lower;
  }

  // A profile's layer boundaries, dashed.
  p.setPen(LinePen(QColor(90, 90, 90), s.gridPt * 1.5, Qt::DashLine));
  for (const double b : c.boundaries) {
    const double x = L.Column(b);
    if (x > plot.left() && x < plot.right()) {
      p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
  }

  // The curves, within the plot.
  p.save();
  p.setClipRect(plot);
  const double width = c.bands != BandMode::None ? s.bandCurvePt : s.curvePt;
  for (const FigureCurve& curve : c.curves) {
    if (!curve.points) {
      continue;
    }
    CurvePath path(L, curve.axis == 1 ? L.y2 : L.y, pixelsPerPt);
    for (const CChartDataSet& d : *curve.points) {
      path.Add(d);
    }
    p.setPen(CurvePen(curve.colour, width, curve.style));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path.Finish());
  }
  p.restore();

  // The axes and their ticks, pointing out of the plot.
  const double tick = s.tickLengthPt;
  p.setPen(LinePen(Qt::black, s.axisPt));
  p.drawLine(plot.bottomLeft(), plot.topLeft());
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  for (const double v : L.x.ticks) {
    const double x = L.Column(v);
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
  }
  for (const double v : L.y.ticks) {
    const double y = L.Row(L.y, v);
    p.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
  }
  if (c.text.rightAxis) {
    p.drawLine(plot.bottomRight(), plot.topRight());
    for (const double v : L.y2.ticks) {
      const double y = L.Row(L.y2, v);
      p.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + tick, y));
    }
  }

  // The legend's samples, each in its entry's colour and style.
  for (std::size_t i = 0; i < L.legendSamples.size() && i < c.legend.size(); ++i) {
    p.setPen(CurvePen(c.legend[i].colour, width, c.legend[i].style));
    p.drawLine(L.legendSamples[i]);
  }

  p.setPen(Qt::black);
  for (const FigureTextBox& box : L.texts) {
    DrawFigureText(p, box);
  }
  p.restore();
}
