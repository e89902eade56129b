#include "AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "MyDialog.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Corvane"));
  setFixedSize(DialogUnitsToPixels(0, 0, 170, 62).size());
  auto* icon = new QLabel(this);
  icon->setPixmap(windowIcon().pixmap(32, 32));
  icon->setGeometry(DialogUnitsToPixels(14, 14, 21, 20));
  auto* name = new QLabel(QStringLiteral("Corvane, Version " CORVANE_VERSION), this);
  name->setGeometry(DialogUnitsToPixels(42, 14, 119, 8));
  auto* what = new QLabel(QStringLiteral("A viewer of clothing thermal-comfort simulation runs."), this);
  what->setWordWrap(true);
  what->setGeometry(DialogUnitsToPixels(42, 24, 124, 16));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  ok->setGeometry(DialogUnitsToPixels(113, 41, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
