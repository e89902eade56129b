#pragma once
// File > Export Figure's size, asked as the command line takes it: pixels
// at 96 dpi (the screen's text sizes), or a width in millimetres at a
// resolution (a journal's text sizes), with a journal's one- and two-column
// widths at hand. The last choice is kept in the user's settings.

#include <QDialog>
#include <QSize>
#include <optional>

#include "Figure.h"

class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

struct FigureSizeChoice {
  bool millimetres = false;
  QSize pixels{800, 500};
  double widthMm = 85;
  int dpi = 300;
};

// The figure's size a choice asks for; none where the command line would
// refuse it.
std::optional<FigureSize> FigureSizeOf(const FigureSizeChoice& choice);

// The last choice, or pixels of `shown` (the chart's size on the screen)
// when there is none.
FigureSizeChoice LoadFigureSizeChoice(QSize shown);
void SaveFigureSizeChoice(const FigureSizeChoice& choice);

class CFigureSizeDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFigureSizeDlg(const FigureSizeChoice& initial, QWidget* parent = nullptr);
  FigureSizeChoice Choice() const;
  // One of the preset widths (85 or 170 mm).
  void UsePreset(double widthMm);
  void UsePixels(QSize pixels);

 private:
  QRadioButton* m_pPixels;
  QRadioButton* m_pMillimetres;
  QSpinBox* m_pWidth;
  QSpinBox* m_pHeight;
  QDoubleSpinBox* m_pWidthMm;
  QSpinBox* m_pDpi;
};
