#pragma once
// For the start-up benchmark: once a window of the given class has painted
// for the first time, every window closes and the program ends, so that the
// process's life is the time from start to the first painted window.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

class CQuitAfterFirstPaint : public QObject {
 public:
  explicit CQuitAfterFirstPaint(const char* windowClass) : m_szClass(windowClass) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || m_bDone || !watched->isWidgetType()) return false;
    if (!static_cast<QWidget*>(watched)->window()->inherits(m_szClass)) return false;
    m_bDone = true;
    // After this paint and the flush that follows it.
    QTimer::singleShot(0, qApp, [] {
      QApplication::closeAllWindows();
      QCoreApplication::quit();
    });
    return false;
  }

 private:
  const char* m_szClass;
  bool m_bDone = false;
};
