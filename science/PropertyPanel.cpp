#include "PropertyPanel.h"

#include "CaptionTables.h"

CPropertyPanel::CPropertyPanel(QWidget* parent) : CMyDialog(parent) {
  resize(DialogUnitsToPixels(0, 0, 536, 71).size());
  // Three rows of three, in dialog units.
  static const int kLeft[3] = {12, 180, 341}, kTop[3] = {8, 28, 48};
  for (int i = 0; i < 9; ++i) {
    auto* b = new QRadioButton(PropertyCaption(0, i), this);
    b->setGeometry(DialogUnitsToPixels(kLeft[i % 3], kTop[i / 3], 154, 10));
    m_group.addButton(b, i);
    m_buttons[static_cast<std::size_t>(i)] = b;
  }
  m_group.setExclusive(true);
  connect(&m_group, &QButtonGroup::idClicked, this, &CPropertyPanel::propertySelect);
  UpdateButtons();
}

void CPropertyPanel::ShowPropertyNames(int kind) {
  const int shown = PropertyCount(kind);
  for (int i = 0; i < 9; ++i) {
    QRadioButton* b = m_buttons[static_cast<std::size_t>(i)];
    if (i < shown) {
      b->setText(PropertyCaption(kind, i));
      b->show();
    } else {
      b->hide();  // keeps its caption
    }
  }
}

void CPropertyPanel::UpdateButtons() {
  if (m_nProperty >= 0 && m_nProperty < 9) m_buttons[static_cast<std::size_t>(m_nProperty)]->setChecked(true);
}

void CPropertyPanel::ReadButtons() {
  if (m_group.checkedId() >= 0) m_nProperty = m_group.checkedId();
}
