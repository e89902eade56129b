#pragma once
// The strip of nine radio buttons under the chart: the quantities of the
// chosen content kind. A click emits propertySelect with the button's index
// at once (connect it directly), a Ctrl+click propertyAdd; Property()
// changes only through SetProperty and ReadButtons, as the owner exchanges
// it. Under the buttons, for the charts, the "All parts" check box and the
// status line where the owner says why a click did not do what it asked;
// for the fabric layers, in the same place, the "Profile" check box; while
// two runs are compared, the "A - B" check box after them.

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <array>
#include <vector>

#include "MyDialog.h"
#include "OptionKind.h"

class CPropertyPanel : public CMyDialog {
  Q_OBJECT

 public:
  explicit CPropertyPanel(QWidget* parent = nullptr);

  // Captions the buttons for content kind 0 ... 3 and shows the ones it has.
  void ShowPropertyNames(OptionKind kind);
  // The quantity chosen (0 ... 8): set, it checks its button; ReadButtons
  // takes it back from the checked one.
  int Property() const { return m_nProperty; }
  void SetProperty(int index);
  void ReadButtons();
  QRadioButton* Button(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }
  // Marks the quantities the chart shows (several after Ctrl+clicks).
  void MarkShown(const std::vector<int>& indices);
  QCheckBox* AllParts() const { return m_allParts; }
  QCheckBox* Profile() const { return m_profile; }
  // "A - B": the difference of two compared runs; shown while two are and
  // a chart or a profile is on the page.
  QCheckBox* Difference() const { return m_difference; }
  void ShowDifference(bool shown);
  // The status line, in the room the row leaves it: a text longer than that
  // gets a smaller font, and reads whole in its tool tip.
  void SetStatus(const QString& text);
  QString Status() const { return m_status->text(); }

 signals:
  void propertySelect(int index);
  void propertyAdd(int index);
  void allPartsToggled(bool on);
  void profileToggled(bool on);
  void differenceToggled(bool on);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int m_nProperty = 0;
  std::array<QRadioButton*, 9> m_buttons{};
  QButtonGroup m_group;
  QCheckBox* m_allParts = nullptr;
  QCheckBox* m_profile = nullptr;
  QCheckBox* m_difference = nullptr;
  QLabel* m_status = nullptr;
  // The fourth row: the check boxes shown, left to right, then the status.
  void LayoutRow();
  // The modifiers of the input that clicked a button last.
  Qt::KeyboardModifiers m_clickModifiers;
};
