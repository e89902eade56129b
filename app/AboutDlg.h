#pragma once
// "About Corvane": the icon, the name and version, and what Corvane is.

#include <QDialog>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};
