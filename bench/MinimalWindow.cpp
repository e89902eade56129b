// minimal_window [--gl]: the least a Qt program does to show a window: the
// application, one plain widget of the main window's size, shown; it ends
// after its first paint. With --gl the window is made for GL views (a hidden
// GL widget in it), as corvane's main window is. bench_startup measures
// corvane against both.

#include <QApplication>
#include <QOpenGLWidget>
#include <QWidget>
#include <cstring>

#include "FirstPaint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CQuitAfterFirstPaint quit("QWidget");
  QWidget window;
  window.resize(1001, 686);
  if (argc > 1 && std::strcmp(argv[1], "--gl") == 0) (new QOpenGLWidget(&window))->hide();
  window.show();
  return app.exec();
}
