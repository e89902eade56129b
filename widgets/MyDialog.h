#pragma once
// The base of the views that fill the main window (the scientific view, the
// 3D view) and of the property panel: a plain white page on which labels
// and buttons draw without boxes of their own, where Enter and Escape never
// close anything, and whose layout is given in dialog units.

#include <QRect>
#include <QWidget>

// Dialog units of an 8-point dialog font at 96 dpi as pixels: a horizontal
// unit is 1.5 pixels, a vertical one 1.625, both times `pixelRatio`. Widget
// geometry is in Qt's device-independent pixels, which Qt itself scales by
// the screen's device pixel ratio, so layouts pass 1; device pixels (a GL
// viewport, a picture of the screen) pass the widget's devicePixelRatioF().
QRect DialogUnitsToPixels(int x, int y, int w, int h, double pixelRatio = 1.0);

class QKeyEvent;
// Enter and Escape: the keys by which a dialog would close. Our windows take
// them and close by nothing.
bool IsDialogCloseKey(const QKeyEvent& event);

class CMyDialog : public QWidget {
  Q_OBJECT

 public:
  explicit CMyDialog(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
