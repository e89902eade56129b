#include "MyChart.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <utility>

#include "ChartHover.h"
#include "ImageFile.h"
#include "WholeFile.h"

CMyChart::CMyChart(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  ClearAll();
}

void CMyChart::ClearAll() {
  m_curves.Clear();
  m_nHover = -1;
  m_nBandMode = BandMode::None;
  m_zoom.ForgetValueBox();
  SetFixedYRange(std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN());
}

void CMyChart::SetFixedYRange(float lo, float hi) {
  m_fFixedYMin = lo;
  m_fFixedYMax = hi;
}

void CMyChart::SetSections(std::vector<ChartSection> sections, std::vector<float> boundaries) {
  m_sections = std::move(sections);
  m_boundaries = std::move(boundaries);
}

void CMyChart::AddPoint(float x, float y) { m_curves.AddPoint(x, y); }

void CMyChart::AddSeries(const QString& name, const QString& unit, int axis) {
  SeriesLook look;
  look.m_strName = name;
  look.m_strUnit = unit;
  look.m_nAxis = axis;
  m_curves.AddSeries(look);
}

TimeRange CMyChart::WholeRange() const { return m_curves.Times({m_axes.m_fXMin, m_axes.m_fXMax}); }

TimeRange CMyChart::ShownRange() const { return m_zoom.Shown(WholeRange(), PointCount()); }

void CMyChart::ZoomChanged() {
  m_nHover = -1;
  update();
}

void CMyChart::ZoomTo(const TimeRange& range) {
  m_zoom.Show(range, WholeRange(), PointCount());
  ZoomChanged();
}

void CMyChart::ResetView() {
  m_zoom.Reset();
  ZoomChanged();
}

QString CMyChart::HoverText() const { return ChartHoverText(m_curves, m_nHover, m_strYLabel, m_strXUnit); }

ChartPaintInput CMyChart::PaintInput() {
  ChartPaintInput in;
  in.curves = &m_curves;
  in.title = m_strTitle;
  in.xLabel = m_strXLabel;
  in.yLabel = m_strYLabel;
  in.y2Label = m_strY2Label;
  in.bands = m_nBandMode;
  in.sections = &m_sections;
  in.boundaries = &m_boundaries;
  in.whole = WholeRange();
  in.shown = ShownRange();
  // A run that grew to the zoomed range is shown whole: no zoom.
  m_zoom.Settle(in.shown, in.whole);
  in.zoomed = m_zoom.Zoomed();
  in.valueBoxed = m_zoom.ValueBoxed();
  const AxisSpan fixed{m_fFixedYMin, m_fFixedYMax};
  in.left = AxisRange(m_curves, 0, m_nBandMode, fixed, m_zoom.ValueBox(0));
  in.right = AxisRange(m_curves, 1, m_nBandMode, fixed, m_zoom.ValueBox(1));
  in.cursorTime = m_fCursorTime;
  in.hover = m_nHover;
  in.hoverText = HoverText();
  in.box = m_zoom.Box();
  return in;
}

void CMyChart::Paint(QPainter& painter, QSize size, bool everySegment, bool overlays) {
  m_axes = PaintChart(painter, size, PaintInput(), everySegment, overlays);
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

QString CMyChart::DataText(QChar separator) const {
  return m_dataSource ? m_dataSource(separator) : OwnDataText(separator);
}

QString CMyChart::OwnDataText(QChar separator) const {
  return m_curves.DataText(m_strXLabel, m_strYColumn.isEmpty() ? m_strYLabel : m_strYColumn, separator);
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
