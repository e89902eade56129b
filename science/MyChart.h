#pragma once
// The line chart of the scientific view: a white page with a centred title,
// x and y axes of ten intervals, grey grid lines, tick labels, the x caption
// and the y caption (rotated, in its strip), the data as a line and, when
// asked, one of three comfort scales as coloured bands behind it. The owner
// fills it (ClearAll, captions, band mode, AddPoint) and calls update(); the
// chart recomputes its layout, ranges and fonts on every paint.

#include <QPoint>
#include <QWidget>
#include <vector>

#include "ChartLogic.h"

struct CChartDataSet {
  float m_fX = 0, m_fY = 0;
};

class CMyChart : public QWidget {
  Q_OBJECT

 public:
  explicit CMyChart(QWidget* parent = nullptr);

  void SetTitle(const QString& title) { m_strTitle = title; }
  void AddPoint(float x, float y);
  // Removes every point and switches the bands off; captions, title and the
  // x range stay.
  void ClearAll();
  const std::vector<CChartDataSet>& Points() const { return m_series; }

  // Paints the chart into `painter` as a window of `size` would show it.
  // With `everySegment` the line is drawn segment by segment however many
  // points fall on one pixel column (the plain way, for comparisons).
  // `overlays`: the time cursor and the hover box, which only the screen shows.
  void Paint(QPainter& painter, QSize size, bool everySegment = false, bool overlays = false);
  // The chart as a picture of `size`.
  QImage Render(QSize size, bool everySegment = false);

  // What the chart shows as text: a header of the axis captions, then one
  // row per point, time and value, separated by `separator`.
  QString DataText(QChar separator) const;
  // The context menu's commands: the data as tab-separated text on the
  // clipboard, as a CSV file, and the picture as PNG or, by the file's
  // suffix, SVG. False when the file cannot be written.
  void CopyData() const;
  bool SaveData(const QString& path) const;
  bool SaveImage(const QString& path);
  // The point under the mouse, and what the chart says of it: its time and
  // value with the value's unit.
  int HoverIndex() const { return m_nHover; }
  QString HoverText() const;

  // The time the data store's clock shows (the 3D player's), drawn as a thin
  // line; NaN for none.
  float m_fCursorTime;

  // Whether the window shows the overlays (off while the page is taken as a
  // picture).
  bool m_bOverlays = true;
  BandMode m_nBandMode = BandMode::None;
  QString m_strXLabel = QStringLiteral("X Label");
  QString m_strYLabel = QStringLiteral("Y Label");
  QString m_strTitle = QStringLiteral("Chart Title");
  // The y column's name in the data the chart exports (the y caption when empty).
  QString m_strYColumn;
  int m_nYTicks = 10, m_nXTicks = 10;
  float m_fYMin = 0, m_fYMax = 0;
  float m_fXMin = 0, m_fXMax = 0;  // only ever widened, by painting
  float m_fYStep = 0, m_fXStep = 0;
  ChartLayout m_layout;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void DrawSeries(QPainter& painter, bool everySegment) const;
  void DrawCursorAndHover(QPainter& painter) const;
  int m_nHover = -1;
  SeriesXMap m_xmap;  // where the points stand, from the last paint
  std::vector<CChartDataSet> m_series;
  // The points' ranges, kept as they are added, so that a paint need not
  // walk every point twice. The y range starts where a paint's search does.
  float m_fDataXMin = 0, m_fDataXMax = 0, m_fDataYMin = 0, m_fDataYMax = 0;
};
