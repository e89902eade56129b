#pragma once
// For the start-up benchmark: once a window of the given class has painted
// for the first time (its paint done and flushed to the screen), the program
// prints "painted NS" on standard output, NS being the monotonic clock in
// nanoseconds, and ends: every window closes.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

class CQuitAfterFirstPaint : public QObject {
 public:
  explicit CQuitAfterFirstPaint(const char* windowClass) : m_szClass(windowClass) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || m_bDone || !watched->isWidgetType()) {
      return false;
    }
    if (!static_cast<QWidget*>(watched)->window()->inherits(m_szClass)) {
      return false;
    }
    m_bDone = true;
    // After this paint and the flush that follows it.
    QTimer::singleShot(0, qApp, [] {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("painted %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QApplication::closeAllWindows();
      QCoreApplication::quit();
    });
    return false;
  }

 private:
  const char* m_szClass;
  bool m_bDone = false;
};
