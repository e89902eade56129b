#pragma once
// The strip of nine radio buttons under the chart: the quantities of the
// chosen content kind. A click emits propertySelect with the button's index
// at once (connect it directly); m_nProperty changes only through
// UpdateButtons and ReadButtons, as the owner exchanges it.

#include <QButtonGroup>
#include <QRadioButton>
#include <array>

#include "MyDialog.h"
#include "OptionKind.h"

class CPropertyPanel : public CMyDialog {
  Q_OBJECT

 public:
  explicit CPropertyPanel(QWidget* parent = nullptr);

  // Captions the buttons for content kind 0 ... 3 and shows the ones it has.
  void ShowPropertyNames(OptionKind kind);
  // m_nProperty to the buttons (the checked one), and back.
  void UpdateButtons();
  void ReadButtons();
  QRadioButton* Button(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }

  int m_nProperty = 0;

 signals:
  void propertySelect(int index);

 private:
  std::array<QRadioButton*, 9> m_buttons{};
  QButtonGroup m_group;
};
