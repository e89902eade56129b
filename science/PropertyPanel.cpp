#include "PropertyPanel.h"

#include <QInputEvent>
#include <algorithm>

#include "CaptionTables.h"

CPropertyPanel::CPropertyPanel(QWidget* parent) : CMyDialog(parent) {
  resize(DialogUnitsToPixels(0, 0, 536, 71).size());
  // Three rows of three, in dialog units.
  static const int kLeft[3] = {12, 180, 341}, kTop[3] = {8, 28, 48};
  for (int i = 0; i < 9; ++i) {
    auto* b = new QRadioButton(PropertyCaption(OptionKind::Body, i), this);
    b->setGeometry(DialogUnitsToPixels(kLeft[i % 3], kTop[i / 3], 154, 10));
    m_group.addButton(b, i);
    m_buttons[static_cast<std::size_t>(i)] = b;
    b->installEventFilter(this);
  }
  m_group.setExclusive(true);
  connect(&m_group, &QButtonGroup::idClicked, this, [this](int i) {
    if (m_clickModifiers & Qt::ControlModifier) {
      emit propertyAdd(i);
    } else {
      emit propertySelect(i);
    }
  });
  // A fourth row, in the room under the buttons that the page shows.
  m_allParts = new QCheckBox(QStringLiteral("All parts"), this);
  m_allParts->setGeometry(DialogUnitsToPixels(kLeft[0], 62, 154, 10));
  m_allParts->resize(m_allParts->sizeHint().width(), m_allParts->height());
  connect(m_allParts, &QCheckBox::clicked, this, &CPropertyPanel::allPartsToggled);
  m_profile = new QCheckBox(QStringLiteral("Profile"), this);
  m_profile->setGeometry(DialogUnitsToPixels(kLeft[0], 62, 154, 10));
  m_profile->resize(m_profile->sizeHint().width(), m_profile->height());
  m_profile->setToolTip(QStringLiteral("The quantity through all the part's layers at the player's time"));
  connect(m_profile, &QCheckBox::clicked, this, &CPropertyPanel::profileToggled);
  m_difference = new QCheckBox(QStringLiteral("A - B"), this);
  m_difference->setGeometry(DialogUnitsToPixels(kLeft[0], 62, 154, 10));
  m_difference->resize(m_difference->sizeHint().width(), m_difference->height());
  m_difference->setToolTip(QStringLiteral("The first run's values less the second's, where both hold one"));
  m_difference->hide();
  connect(m_difference, &QCheckBox::clicked, this, &CPropertyPanel::differenceToggled);
  m_status = new QLabel(this);
  m_status->setGeometry(DialogUnitsToPixels(kLeft[1], 62, 330, 10));
  ShowPropertyNames(OptionKind::Body);
  SetProperty(0);
}

namespace {
// Makes a button's caption readable whole: the button grows into the room
// before the next column, and only a caption longer than that gets a
// smaller font, measured with the font it is drawn in.
void FitCaption(QRadioButton* b, int width, int room) {
  b->setFont(QFont());
  b->resize(std::max(width, std::min(room, b->sizeHint().width())), b->height());
  QFont f = b->font();
  while (b->sizeHint().width() > b->width() && f.pointSizeF() > 6) {
    f.setPointSizeF(f.pointSizeF() - 0.5);
    b->setFont(f);
  }
}
}  // namespace

bool CPropertyPanel::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      m_clickModifiers = static_cast<QInputEvent*>(event)->modifiers();
      break;
    default:
      break;
  }
  return CMyDialog::eventFilter(watched, event);
}

void CPropertyPanel::MarkShown(const std::vector<int>& indices) {
  // Several marks need a group that lets them stand together.
  m_group.setExclusive(false);
  for (int i = 0; i < 9; ++i) {
    m_buttons[static_cast<std::size_t>(i)]->setChecked(std::find(indices.begin(), indices.end(), i) != indices.end());
  }
  m_group.setExclusive(indices.size() <= 1);
}

void CPropertyPanel::ShowPropertyNames(OptionKind kind) {
  // The charts' curves can be every part's; the 3D plot is one part's.
  m_allParts->setVisible(IsChartKind(kind));
  m_profile->setVisible(kind == OptionKind::Fabric);
  LayoutRow();
  const int shown = PropertyCount(kind);
  const int width = DialogUnitsToPixels(0, 0, 154, 10).width(), room = DialogUnitsToPixels(0, 0, 166, 10).width();
  const int visible = this->width();  // the owner sizes the panel to what its page shows
  for (int i = 0; i < 9; ++i) {
    QRadioButton* b = m_buttons[static_cast<std::size_t>(i)];
    if (i < shown) {
      b->setText(PropertyCaption(kind, i));
      const int last = visible - b->x() - 4;  // the last column: up to the visible edge
      FitCaption(b, std::min(width, last), i % 3 < 2 ? std::min(room, last) : last);
      b->show();
    } else {
      b->hide();  // keeps its caption
    }
  }
}

void CPropertyPanel::ShowDifference(bool shown) {
  m_difference->setVisible(shown);
  LayoutRow();
}

void CPropertyPanel::LayoutRow() {
  int x = DialogUnitsToPixels(12, 0, 0, 0).x();
  for (QCheckBox* box : {m_allParts, m_profile, m_difference}) {
    if (box->isVisibleTo(this)) {
      box->move(x, box->y());
      x += box->width() + DialogUnitsToPixels(0, 0, 8, 0).width();
    }
  }
  // The status line after the boxes, as far as the visible edge.
  m_status->setGeometry(x, m_status->y(), std::max(0, width() - x - 4), m_status->height());
  SetStatus(m_status->toolTip());
}

void CPropertyPanel::SetStatus(const QString& text) {
  m_status->setText(text);
  m_status->setToolTip(text);
  QFont f;
  m_status->setFont(f);
  while (m_status->sizeHint().width() > m_status->width() && f.pointSizeF() > 6) {
    f.setPointSizeF(f.pointSizeF() - 0.5);
    m_status->setFont(f);
  }
}

void CPropertyPanel::SetProperty(int index) {
  if (index >= 0 && index < static_cast<int>(m_buttons.size())) {
    m_nProperty = index;
    m_buttons[static_cast<std::size_t>(index)]->setChecked(true);
  }
}

void CPropertyPanel::ReadButtons() {
  if (m_group.checkedId() >= 0) {
    m_nProperty = m_group.checkedId();
  }
}
