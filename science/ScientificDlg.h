#pragma once
// The scientific view: a column of six body-part option panels at the left,
// the chart (body properties and comfort over time) or the 3D line plot
// (fabric layers and fibres over thickness and time) beside it, and the
// property panel of the chosen kind's quantities below. The column glides
// to follow the mouse when it is taller than the page.

#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <array>
#include <memory>

#include "CurveSelection.h"
#include "MyChart.h"
#include "MyDialog.h"
#include "MyPanel.h"
#include "OpenGLView.h"
#include "PropertyPanel.h"

class CSimulationData;
class QPropertyAnimation;

class CScientificDlg : public CMyDialog {
  Q_OBJECT

 public:
  // `moduleDir` is the program's folder, ending with a separator, where the
  // body-part pictures are.
  CScientificDlg(CSimulationData* data, const QString& moduleDir, QWidget* parent = nullptr);

  void OnOptionSelect(int id);
  // A plain click on quantity q: it alone (for every part with All parts).
  void OnPropertySelect(int q);
  // A Ctrl+click: q joins the chart's curves, or leaves them when shown;
  // refused with a word in the status line when the chart has no room.
  void OnPropertyAdd(int q);
  // The "All parts" check box.
  void OnAllParts(bool on);
  const CCurveSelection& Selection() const { return m_selection; }
  // A second run beside this one (none: the comparison ends): every chart
  // draws its curves dashed in the colours of this run's, and the legends
  // and data columns name each curve's run. The store must outlive the
  // comparison.
  void SetComparison(const CSimulationData* other);
  const CSimulationData* Comparison() const { return m_pCompared; }
  // The mouse at (x, y) of the page sets where the panel column glides to.
  void OnMouseMove(int x, int y);
  // One tick of the glide (the 10 ms timer's handler).
  void OnTimer();
  bool Gliding() const { return m_glide.isActive(); }
  // Ends what is under way (the property panel's slide), as for a picture.
  void Settle();
  // The data store's clock moved (the 3D player): the chart's time cursor
  // follows it.
  void OnClockMoved();
  // The page as a picture: what the window shows, without the chart's
  // cursor and hover box.
  QImage Picture();
  // The line plot as a PNG file of the view's size; false when not written.
  bool SavePlotImage(const QString& path);

  std::array<CMyPanel*, 6> m_panels{};
  int m_nColumnHeight = 10;
  int m_nScrollTarget = 0;
  int m_nPanelScroll = 0;  // the column's current offset
  CMyChart* m_chart = nullptr;
  // The 3D line plot, made when a plot is first chosen: a window without a
  // GL view opens without loading the GL driver.
  COpenGLView* m_plotView = nullptr;
  COpenGLView* PlotView();
  CPropertyPanel* m_pPropertyPanel = nullptr;
  int m_nOption = 0;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SlideInPropertyPanel();
  // Draws what the selection holds, in the chart or the plot.
  void ShowSelection();
  void FillChart();

  CSimulationData* m_pData;
  const CSimulationData* m_pCompared = nullptr;
  CCurveSelection m_selection;  // what the chart or plot shows
  QRect m_plotArea;
  QBasicTimer m_glide;  // runs only while the column moves
  QPointer<QPropertyAnimation> m_slide;
};
