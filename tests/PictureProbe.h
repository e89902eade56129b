#pragma once
// Reading the program's pictures and menus in tests: how many pixels of an
// area pass a test, the colour scale's red top, a menu item by its text.

#include <QAction>
#include <QColor>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QRect>

// Pixels of `image` in `area` whose colour passes `test`.
template <class Test>
int CountPixels(const QImage& image, QRect area, Test test) {
  int n = 0;
  area &= image.rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      n += test(QColor(image.pixel(x, y)));
    }
  }
  return n;
}

// The red at the top of the colour scale (and of nothing else a scene draws near it).
inline bool ScaleRed(const QColor& c) { return c.red() > 200 && c.green() < 50 && c.blue() < 50; }

// The item of a menu of `bar` with exactly this text, or null.
inline QAction* MenuItem(const QMenuBar& bar, const QString& text) {
  for (const QAction* menu : bar.actions()) {
    if (menu->menu()) {
      for (QAction* a : menu->menu()->actions()) {
        if (a->text() == text) {
          return a;
        }
      }
    }
  }
  return nullptr;
}
