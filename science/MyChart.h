#pragma once
// The line chart of the scientific view: a white page with a centred title,
// x and y axes of ten intervals, grey grid lines, tick labels, the x caption
// and the y caption (rotated, in its strip), the data as lines and, when
// asked, one of three comfort scales as coloured bands behind them. The owner
// fills it (ClearAll, captions, band mode, AddPoint, AddSeries for each
// further curve) and calls update(); the chart recomputes its layout, ranges
// and fonts on every paint. Several curves get a legend, their own colours
// and, for a second unit, a y axis on the right.
//
// The time axis is the chart's own to zoom: the wheel zooms about the
// pointer, a drag pans, Shift+drag zooms to a box, and a double click or
// Home shows the whole run again.

#include <QPoint>
#include <QWidget>
#include <vector>

#include "ChartFigure.h"
#include "ChartLogic.h"
#include "TimeZoom.h"

// One curve of the chart: its points in time order, what the legend, the
// hover box and an export call it, and how it is drawn.
struct CChartSeries {
  std::vector<CChartDataSet> m_points;
  QString m_strName;    // the legend's text
  QString m_strUnit;    // of the values, for the hover box
  QString m_strColumn;  // the column's name in exported data (the name when empty)
  int m_nAxis = 0;      // 0 the left y axis, 1 the right one
  int m_nColour = -1;   // place in the palette; -1 its place among the curves
  // The line style (SetLineStyle): 0 solid; a compared run's curves take
  // their run's (a second run's dashed, in the palette place of the first
  // run's curve of the same part and quantity).
  int m_nStyle = 0;
  int m_nRun = 0;    // which of the compared runs: 0 the first
  QString m_strRun;  // the run's name, while runs are compared
  // Kept as points are added, so that a paint need not walk every point
  // twice. The y range starts where a paint's search does.
  float m_fXMin, m_fXMax, m_fYMin = 1000000, m_fYMax = -1000000;
  bool m_bSorted = true;  // in time order (the visible points are found by halving)
  CChartSeries();
  void Add(float x, float y);
};

// A marked span of the x axis (a layer of a thickness profile): its name
// stands above it, and a dashed line at each boundary between neighbours.
struct ChartSection {
  float from = 0, to = 0;
  QString name;
};

class CMyChart : public QWidget {
  Q_OBJECT

 public:
  explicit CMyChart(QWidget* parent = nullptr);

  void SetTitle(const QString& title) { m_strTitle = title; }
  // Appends a point to the curve being filled: the first until AddSeries
  // begins another.
  void AddPoint(float x, float y);
  // Begins a further curve, which AddPoint then fills; returns it.
  CChartSeries& AddSeries(const QString& name, const QString& unit, int axis);
  // Removes every curve but an empty first one, and switches the bands off
  // and a box's value range with them; captions, title, the x range and
  // the shown time range stay.
  void ClearAll();
  const std::vector<CChartDataSet>& Points() const { return m_curves.front().m_points; }
  CChartSeries& Series(int index) { return m_curves[static_cast<std::size_t>(index)]; }
  const std::vector<CChartSeries>& Curves() const { return m_curves; }
  // What the legend reads, as drawn (nothing for a chart of one curve).
  QStringList LegendTexts() const;

  // Paints the chart into `painter` as a window of `size` would show it.
  // With `everySegment` the lines are drawn segment by segment however many
  // points fall on one pixel column (the plain way, for comparisons).
  // `overlays`: the time cursor, the hover box and the zoom box, which only
  // the screen shows.
  void Paint(QPainter& painter, QSize size, bool everySegment = false, bool overlays = false);
  // What a figure of the chart shows, under `title`: the curves, captions,
  // time range and value ranges as the chart has them.
  ChartFigureContent FigureContent(const QString& title) const;
  // The chart as a picture of `size`.
  QImage Render(QSize size, bool everySegment = false);

  // What the chart shows as text: a header of the axis captions, then one
  // row per point, time and value, separated by `separator`. Several curves
  // give a value column each, a row per time any of them holds.
  virtual QString DataText(QChar separator) const;
  // The context menu's commands: the data as tab-separated text on the
  // clipboard, as a CSV file, and the picture as PNG or, by the file's
  // suffix, SVG. False when the file cannot be written.
  void CopyData() const;
  // `error`, when given, says why a file was not written.
  bool SaveData(const QString& path, QString* error = nullptr) const;
  bool SaveImage(const QString& path, QString* error = nullptr);
  // The point of the first curve under the mouse, and what the chart says
  // at its time: each curve's value with its unit.
  int HoverIndex() const { return m_nHover; }
  QString HoverText() const;

  // The time range the axis shows: the whole run unless zoomed.
  TimeRange ShownRange() const;
  bool Zoomed() const { return m_bZoomed; }
  // Where the last paint put times on the x axis.
  const TimeScale& Scale() const { return m_timeScale; }
  // The x tick labels as last painted.
  const std::vector<QString>& XLabels() const { return m_xLabels; }
  // Shows `range` (fitted into the run), or the whole run again.
  void ZoomTo(const TimeRange& range);
  void ResetView();

  // The time the data store's clock shows (the 3D player's), drawn as a thin
  // line; NaN for none.
  float m_fCursorTime;

  // The x axis' unit as the hover box reads it.
  QString m_strXUnit = QStringLiteral("min");
  // The left axis' values whatever the curves hold (a profile keeps the
  // run's range, so that its line moves as the player runs); NaN: from the
  // curves. ClearAll lets the curves decide again.
  float m_fFixedYMin, m_fFixedYMax;
  // Marked spans and the boundaries drawn between them; none by default.
  std::vector<ChartSection> m_sections;
  std::vector<float> m_boundaries;

  // Whether the window shows the overlays (off while the page is taken as a
  // picture).
  bool m_bOverlays = true;
  BandMode m_nBandMode = BandMode::None;
  QString m_strXLabel = QStringLiteral("X Label");
  QString m_strYLabel = QStringLiteral("Y Label");
  // The right y axis' caption, drawn when a curve takes that axis.
  QString m_strY2Label;
  QString m_strTitle = QStringLiteral("Chart Title");
  // The y column's name in the data the chart exports (the y caption when empty).
  QString m_strYColumn;
  int m_nYTicks = 10, m_nXTicks = 10;
  float m_fYMin = 0, m_fYMax = 0;    // the left axis
  float m_fY2Min = 0, m_fY2Max = 0;  // the right axis
  float m_fXMin = 0, m_fXMax = 0;    // only ever widened, by painting
  float m_fYStep = 0, m_fXStep = 0;
  ChartLayout m_layout;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  struct Axis {
    float lo, hi;
  };
  void DrawSeries(QPainter& painter, const CChartSeries& s, Axis y, bool everySegment) const;
  void DrawRightAxis(QPainter& painter, const QFont& caption, int w) const;
  void DrawCursorAndHover(QPainter& painter, int chartWidth) const;
  void DrawSections(QPainter& painter, const QFont& font) const;
  QColor FirstColour() const;
  QColor ColourOf(std::size_t index) const;
  Axis AxisRange(int axis) const;
  // The run's whole time range as the next paint draws it.
  TimeRange WholeRange() const;
  void SetShown(const TimeRange& range);
  void UpdateHover(int x);

  int m_nHover = -1;
  TimeScale m_timeScale;  // where times stand on the x axis, from the last paint
  std::vector<CChartSeries> m_curves;
  // The time window (when zoomed) and, after a box, the value windows of
  // the two y axes; the time window outlives a refill, the value windows not.
  bool m_bZoomed = false;
  TimeRange m_view;
  bool m_bValueBox = false;
  Axis m_valueBox[2] = {{0, 1}, {0, 1}};
  std::vector<QString> m_xLabels;
  // A drag: where it began and what was shown then; Shift makes it a box.
  bool m_bDragging = false, m_bBoxing = false;
  QPoint m_ptPress, m_ptDrag;
  TimeRange m_pressRange;
  int m_nWheelAccum = 0;
};
