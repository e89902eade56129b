#pragma once
// One card of the scientific view's column of body-part panels: a framed,
// grey-shaded card with the part's picture at its top left, the part's name,
// and a list of entries ("Body Property", "Body Comfort", the fabric layers,
// the fibres). A click on an entry selects it (drawn bold) and emits
// optionSelect with its id, at once (connect it directly). The outline is a
// rounded rectangle united with the picture's opaque pixels.

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

#include "PanelLogic.h"

struct COption {
  QString m_strText;
  int m_nId = 0;
};

class CMyPanel : public QWidget {
  Q_OBJECT

 public:
  explicit CMyPanel(QWidget* parent = nullptr);

  // Entries are added before the panel is created: they set its height.
  void AddOption(const QString& text, int id) { m_options.push_back({text, id}); }
  // Shows the panel in `parent` at (x, y) with its caption and picture.
  void CreatePanel(const QString& caption, const QImage& picture, QWidget* parent, int x, int y);
  void ClearSelection();
  // Moves the panel by (dx, dy) from where it was created.
  void OffsetPanel(int dx, int dy);
  const std::vector<COption>& Options() const { return m_options; }

  // The entry drawn bold (an index into Options(), -1 for none). Select
  // marks one without emitting optionSelect: a view showing what another
  // control chose.
  int Selected() const { return m_nSelected; }
  void Select(int index);
  // The card's height as its entries make it, set when it is created.
  int Height() const { return m_nHeight; }

 signals:
  void optionSelect(int id);
  // The mouse moved over the panel, at `pos` in the parent's coordinates.
  void mouseMovedOver(QPoint pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString m_strCaption;
  int m_nWidth = panel::kWidth, m_nHeight = panel::kBaseHeight;
  QRect m_rcPanel;
  int m_nSelected = -1;
  std::vector<COption> m_options;
  QImage m_picture;
};
