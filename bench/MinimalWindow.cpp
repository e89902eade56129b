// minimal_window: the least a Qt program does to show a window: the
// application, one plain widget of the main window's size, shown; it ends
// after its first paint. bench_startup measures corvane against it.

#include <QApplication>
#include <QWidget>

#include "FirstPaint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CQuitAfterFirstPaint quit("QWidget");
  QWidget window;
  window.resize(1001, 686);
  window.show();
  return app.exec();
}
