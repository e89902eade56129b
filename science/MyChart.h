#pragma once
// The line chart of the scientific view: a white page with a centred title,
// x and y axes of ten intervals, grey grid lines, tick labels, the x caption
// and the y caption (rotated, in its strip), the data as lines and, when
// asked, one of three comfort scales as coloured bands behind them. The owner
// fills it (ClearAll, captions, band mode, AddPoint, AddSeries for each
// further curve) and calls update(); the chart lays out its axes, ranges and
// fonts anew on every paint. Several curves get a legend, their own colours
// and, for a second unit, a y axis on the right.
//
// The time axis is the chart's own to zoom: the wheel zooms about the
// pointer, a drag pans, Shift+drag zooms to a box, and a double click or
// Home shows the whole run again.
//
// The widget wires its parts together: the curves (CChartSeriesModel), the
// zoom (CChartZoom), the hover (ChartHover.h), the axes (ChartAxes.h) and
// the painter (ChartPainter.h), each of them free of any window.

#include <QPoint>
#include <QWidget>
#include <functional>
#include <limits>
#include <vector>

#include "ChartAxes.h"
#include "ChartFigure.h"
#include "ChartLogic.h"
#include "ChartPainter.h"
#include "ChartSeries.h"
#include "ChartZoom.h"
#include "TimeZoom.h"

class CMyChart : public QWidget {
  Q_OBJECT

 public:
  explicit CMyChart(QWidget* parent = nullptr);

  // The captions: the title, the x axis', the y axis' and the right y
  // axis' (drawn when a curve takes that axis).
  void SetTitle(const QString& title) { m_strTitle = title; }
  const QString& Title() const { return m_strTitle; }
  void SetXLabel(const QString& label) { m_strXLabel = label; }
  const QString& XLabel() const { return m_strXLabel; }
  void SetYLabel(const QString& label) { m_strYLabel = label; }
  const QString& YLabel() const { return m_strYLabel; }
  void SetY2Label(const QString& label) { m_strY2Label = label; }
  const QString& Y2Label() const { return m_strY2Label; }
  // The y column's name in the data the chart exports (the y caption when empty).
  void SetYColumn(const QString& column) { m_strYColumn = column; }
  // The x axis' unit as the hover box reads it ("min" by default).
  void SetXUnit(const QString& unit) { m_strXUnit = unit; }
  // The comfort scale behind the curves, if any; ClearAll switches it off.
  void SetBandMode(BandMode mode) { m_nBandMode = mode; }
  BandMode Bands() const { return m_nBandMode; }
  // The left axis' values whatever the curves hold (a profile keeps the
  // run's range, so that its line moves as the player runs); NaN: from the
  // curves. ClearAll lets the curves decide again.
  void SetFixedYRange(float lo, float hi);
  // Marked spans of the x axis, and the boundaries drawn between them.
  void SetSections(std::vector<ChartSection> sections, std::vector<float> boundaries);
  const std::vector<ChartSection>& Sections() const { return m_sections; }
  const std::vector<float>& Boundaries() const { return m_boundaries; }
  // The time the data store's clock shows (the 3D player's), drawn as a thin
  // line; NaN for none.
  void SetCursorTime(float minutes) { m_fCursorTime = minutes; }
  float CursorTime() const { return m_fCursorTime; }
  // Whether the window shows the overlays (off while the page is taken as a
  // picture).
  void SetOverlays(bool on) { m_bOverlays = on; }

  // Appends a point to the curve being filled: the first until AddSeries
  // begins another.
  void AddPoint(float x, float y);
  // Names the first curve, or begins a further one that AddPoint then fills.
  void SetFirstLook(const SeriesLook& look) { m_curves.SetFirstLook(look); }
  void AddSeries(const SeriesLook& look) { m_curves.AddSeries(look); }
  void AddSeries(const QString& name, const QString& unit, int axis);
  // Removes every curve but an empty first one, and switches the bands off
  // and a box's value range with them; captions, title, the x range and
  // the shown time range stay.
  void ClearAll();
  const std::vector<CChartDataSet>& Points() const { return m_curves.Points(); }
  const std::vector<CChartSeries>& Curves() const { return m_curves.Curves(); }
  // What the legend reads, as drawn (nothing for a chart of one curve).
  QStringList LegendTexts() const { return m_curves.LegendTexts(); }

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
  // give a value column each, a row per time any of them holds. The owner's
  // source, when it gives one, writes the same at full precision.
  QString DataText(QChar separator) const;
  // Where DataText comes from: the owner's text of what the chart shows, as
  // the run's files wrote it (the chart itself holds floats, as it draws).
  void SetDataSource(std::function<QString(QChar)> source) { m_dataSource = std::move(source); }
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
  bool Zoomed() const { return m_zoom.Zoomed(); }
  // The axes as the last paint laid them out: where the plot stands, the
  // ranges, the ticks and their labels, where times stand.
  const ChartAxes& Axes() const { return m_axes; }
  const ChartLayout& Layout() const { return m_axes.layout; }
  const TimeScale& Scale() const { return m_axes.scale; }
  const std::vector<QString>& XLabels() const { return m_axes.xLabels; }
  // Shows `range` (fitted into the run), or the whole run again.
  void ZoomTo(const TimeRange& range);
  void ResetView();
  // The value column's name in the chart's data.
  const QString& YColumn() const { return m_strYColumn; }

 protected:
  // The text of what the chart holds, at a float's precision.
  virtual QString OwnDataText(QChar separator) const;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  // The x range painted so far forgotten: the next paint spans the curves
  // alone (a profile's axis starts at the skin, whatever came before).
  void ForgetXRange() { m_axes.m_fXMin = m_axes.m_fXMax = 0; }

 private:
  // The run's whole time range as the next paint draws it: the x range
  // painted so far, widened by the curves.
  TimeRange WholeRange() const;
  int PointCount() const { return static_cast<int>(Points().size()); }
  // What a paint draws, the zoom settled first.
  ChartPaintInput PaintInput();
  void UpdateHover(int x);
  // After the zoom changed: no hover, and a redraw.
  void ZoomChanged();

  CChartSeriesModel m_curves;
  std::function<QString(QChar)> m_dataSource;
  CChartZoom m_zoom;
  ChartAxes m_axes;  // as the last paint laid them out
  BandMode m_nBandMode = BandMode::None;
  QString m_strTitle = QStringLiteral("Chart Title");
  QString m_strXLabel = QStringLiteral("X Label");
  QString m_strYLabel = QStringLiteral("Y Label");
  QString m_strY2Label;
  QString m_strYColumn;
  QString m_strXUnit = QStringLiteral("min");
  float m_fFixedYMin = std::numeric_limits<float>::quiet_NaN();
  float m_fFixedYMax = std::numeric_limits<float>::quiet_NaN();
  std::vector<ChartSection> m_sections;
  std::vector<float> m_boundaries;
  float m_fCursorTime = std::numeric_limits<float>::quiet_NaN();
  bool m_bOverlays = true;
  int m_nHover = -1;
};
