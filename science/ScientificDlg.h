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
#include "ProfileChart.h"
#include "PropertyPanel.h"

class CSimulationData;
class QLabel;
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
  // The "Profile" check box: a fabric option shows its quantity through all
  // the part's layers at the player's time instead of the 3D plot.
  void OnProfile(bool on);
  bool ProfileShown() const { return m_bProfile; }
  // The "A - B" box while two runs (no more) are compared: each chart curve
  // and the profile as the first run's values less the second's.
  void OnDifference(bool on);
  bool DifferenceShown() const { return m_bDifference; }
  // The chart the page shows (the time chart or the profile), or null while
  // it shows the line plot: what a picture or a figure of the page draws.
  CMyChart* ShownChart() const;
  // The profile at fabric step `step` until the player's clock next moves
  // (a picture of a time the clock's samples may not reach).
  void ShowProfileAt(int step);
  const CCurveSelection& Selection() const { return m_selection; }
  // Other runs beside this one, up to seven (none: the comparison ends).
  // One draws its curves dashed in the colours of this run's; more take
  // each a colour and a line style of its own, and leave the chart room for
  // one quantity of one part. The legends and data columns name each
  // curve's run. Returns the refusal (also in the status line) when the
  // runs do not fit, the comparison then as it was. The stores must outlive
  // the comparison.
  QString SetComparison(const std::vector<const CSimulationData*>& others);
  // Why `runs` runs in all (`what` naming the one asked for) would not fit
  // the chart as it is, in the status line's words; empty when they would.
  QString ComparisonRefusal(int runs, const QString& what) const;
  const std::vector<const CSimulationData*>& Comparison() const { return m_compared; }
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
  // The line plot's data as its context menu gives it: the comma-separated
  // text of the command line's export, on the clipboard or in a file.
  QString PlotDataText() const;
  void CopyPlotData() const;
  // What the plot says of the runs it draws while runs are compared (it
  // draws the first alone); empty otherwise.
  QString PlotRunText() const;
  bool SavePlotData(const QString& path, QString* error = nullptr) const;

  // The option column's card of body part `part` (0 HEAD ... 5 FOOT).
  CMyPanel* Panel(int part) const { return m_panels.at(static_cast<std::size_t>(part)); }
  // The column's full height, where its scroll is heading and where it is.
  int ColumnHeight() const { return m_nColumnHeight; }
  int ScrollTarget() const { return m_nScrollTarget; }
  int PanelScroll() const { return m_nPanelScroll; }
  CMyChart* Chart() const { return m_chart; }
  CProfileChart* ProfileChart() const { return m_profileChart; }
  // The 3D line plot, made on first call (hidden until a plot shows).
  COpenGLView* PlotView();
  // The same, or null while no plot was chosen yet.
  COpenGLView* PlotViewMade() const { return m_plotView; }
  CPropertyPanel* PropertyPanel() const { return m_pPropertyPanel; }
  // The option chosen last, encoded (0 for none yet).
  int Option() const { return m_nOption; }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::array<CMyPanel*, 6> m_panels{};
  int m_nColumnHeight = 10;
  int m_nScrollTarget = 0;
  int m_nPanelScroll = 0;  // the column's current offset
  CMyChart* m_chart = nullptr;
  // The fabric option's thickness profile, in the plot's place while the
  // "Profile" box is checked: a chart of its own, so that the time chart's
  // zoom and range never meet positions.
  CProfileChart* m_profileChart = nullptr;
  // The 3D line plot, made when a plot is first chosen: a window without a
  // GL view opens without loading the GL driver.
  COpenGLView* m_plotView = nullptr;
  CPropertyPanel* m_pPropertyPanel = nullptr;
  int m_nOption = 0;

  void SlideInPropertyPanel();
  // Draws what the selection holds, in the chart or the plot.
  void ShowSelection();
  void FillChart();
  void FillProfile();
  // The chart's and the profile's data as the run's files wrote it, for
  // their Copy Data and Save Data.
  QString ChartText(QChar separator) const;
  QString ProfileText(QChar separator) const;
  // What FillProfile shows; with `exact`, the files' own values beside.
  struct ProfileInput {
    FabricProfile profile;
    std::optional<ComparedProfile> compared;
    std::optional<ValueRange> range;
  };
  ProfileInput BuildProfiles(bool exact) const;
  void ShowPlotMenu(QPoint at);
  void UpdatePlotRun(bool plotShown);
  // Every run's name as the legends give it, this run's first.
  std::vector<QString> RunNames() const;

  CSimulationData* m_pData;
  std::vector<const CSimulationData*> m_compared;  // the runs beside this one
  CCurveSelection m_selection;                     // what the chart or plot shows
  QRect m_plotArea;
  bool m_bProfile = false;
  bool m_bDifference = false;
  int m_nProfileStep = -1;  // a fabric step asked for; -1: the clock's
  // The shown quantity's range over the part's whole run, taken when the
  // profile is chosen rather than at every step of the player.
  std::optional<ValueRange> m_profileRange;
  QLabel* m_pPlotRun = nullptr;  // which run the plot draws, while runs are compared
  QBasicTimer m_glide;           // runs only while the column moves
  QPointer<QPropertyAnimation> m_slide;
};
