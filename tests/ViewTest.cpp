// The view's camera, mouse, wheel and player timers, driven by calling the
// handlers (never by waiting).

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>
#include <cmath>

#include "OpenGLView.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {
class CTestView : public COpenGLView {
 public:
  using COpenGLView::mouseMoveEvent;
  using COpenGLView::mousePressEvent;
  using COpenGLView::mouseReleaseEvent;
  using COpenGLView::wheelEvent;

  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF p(x, y);
    QMouseEvent e(type, p, mapToGlobal(p), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                  Qt::NoModifier);
    if (type == QEvent::MouseButtonPress) {
      mousePressEvent(&e);
    } else if (type == QEvent::MouseButtonRelease) {
      mouseReleaseEvent(&e);
    } else {
      mouseMoveEvent(&e);
    }
  }
  void Wheel(int delta) {
    QWheelEvent e(QPointF(5, 5), mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    wheelEvent(&e);
  }
};

void Fill(CSimulationData& d, int samples, float interval) {
  for (int s = 0; s < samples; ++s) {
    for (int p = 0; p < kBodyPartCount; ++p) {
      BodyPropertyRow r;
      r.m_fTime = static_cast<float>(s) * interval;
      r.m_nPart = p;
      r.m_fSkinTemp = 33;
      EditRun(d).m_body.push_back(r);
    }
  }
  EditRun(d).m_nSamples = samples;
  EditRun(d).m_fSampleInterval = interval;
}
}  // namespace

TEST(View, CameraPerMode) {
  CTestView view;
  EXPECT_FLOAT_EQ(static_cast<float>(view.Camera().m_dRotX), -70.55f);
  EXPECT_FLOAT_EQ(static_cast<float>(view.Camera().m_dTransZ), -2.7f);
  EXPECT_EQ(view.Camera().m_dTransX, static_cast<double>(-1.2f)) << "single-precision constants";
  view.SetMode(ViewMode::Static);
  view.ResetCamera();
  EXPECT_EQ(view.Camera().m_dTransZ, static_cast<double>(-4.2f));
  EXPECT_EQ(view.Camera().m_dRotX, 0.0);
  EXPECT_EQ(view.Camera().m_fZoom, 1.2f);
  EXPECT_EQ(COpenGLView::AspectRatio(300, 0), 300.0);
  EXPECT_EQ(COpenGLView::AspectRatio(300, 150), 2.0);
  // 45 degrees up to a square window; taller, the square's width of view.
  const double rad = std::acos(-1.0) / 180;
  for (const auto& [w, h] : {std::pair{300, 150}, {300, 300}, {300, 0}}) {
    EXPECT_EQ(COpenGLView::FieldOfViewY(w, h), 45.0) << w << "x" << h;
  }
  for (const auto& [w, h] : {std::pair{300, 301}, {300, 600}, {300, 900}, {1, 1000}}) {
    const double aspect = static_cast<double>(w) / h;
    EXPECT_NEAR(std::tan(COpenGLView::FieldOfViewY(w, h) / 2 * rad) * aspect, std::tan(22.5 * rad), 1e-12)
        << w << "x" << h;
  }
}

TEST(View, LeftDragTurnsTheScene) {
  CTestView view;
  view.SetMode(ViewMode::Static);
  view.ResetCamera();
  view.Mouse(QEvent::MouseMove, 50, 50);  // no drag yet
  EXPECT_EQ(view.Camera().m_dRotY, 0.0);
  view.Mouse(QEvent::MouseButtonPress, 10, 10);
  view.Mouse(QEvent::MouseMove, 46, 10);
  EXPECT_NEAR(view.Camera().m_dRotY, 10.0, 1e-6);
  view.Mouse(QEvent::MouseMove, 46, 46);
  EXPECT_NEAR(view.Camera().m_dRotX, 10.0, 1e-6);
  view.Mouse(QEvent::MouseButtonRelease, 46, 46);
  view.Mouse(QEvent::MouseMove, 100, 100);
  EXPECT_NEAR(view.Camera().m_dRotY, 10.0, 1e-6);
  view.Mouse(QEvent::MouseButtonPress, 0, 0, Qt::RightButton);
  view.Mouse(QEvent::MouseMove, 36, 0);
  EXPECT_NEAR(view.Camera().m_dRotY, 10.0, 1e-6) << "the right button does not drag";
}

TEST(View, WheelZoomsByNotches) {
  CTestView view;
  view.SetMode(ViewMode::Static);
  view.ResetCamera();
  view.Wheel(120);
  EXPECT_FLOAT_EQ(view.Camera().m_fZoom, 1.2f * 1.1f);
  view.Wheel(-120);
  EXPECT_FLOAT_EQ(view.Camera().m_fZoom, 1.2f * 1.1f * 0.9f);
  view.ResetCamera();
  for (int i = 0; i < 10; ++i) {
    view.Wheel(120);
  }
  for (int i = 0; i < 10; ++i) {
    view.Wheel(-120);
  }
  EXPECT_NEAR(view.Camera().m_fZoom, 1.2 * std::pow(0.99, 10), 1e-4);
  const float before = view.Camera().m_fZoom;
  view.Wheel(60);
  EXPECT_EQ(view.Camera().m_fZoom, before) << "half a notch does nothing yet";
  view.Wheel(60);
  EXPECT_FLOAT_EQ(view.Camera().m_fZoom, before * 1.1f);
}

TEST(View, TimerZeroAnimatesOrTurns) {
  CSimulationData data;
  CTestView view;
  view.SetData(&data);
  view.SetMode(ViewMode::Dynamic);
  data.State().SetPlaying(true);
  std::vector<int> frames;
  for (int i = 0; i < 14; ++i) {
    view.OnTimer(0);
    frames.push_back(view.Frame());
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2}));
  view.SetMode(ViewMode::SpaceSuit);
  const double rot = view.Camera().m_dRotY;
  for (int i = 0; i < 10; ++i) {
    view.OnTimer(0);
  }
  EXPECT_NEAR(view.Camera().m_dRotY - rot, 50.0, 1e-9);
  EXPECT_EQ(view.Frame(), 2) << "frames only move in the animated scene";
}

// The view's timer asks the view state on; the state keeps the clock and
// stops the player at the end, and the timers stop with it.
TEST(View, TimerOneAdvancesTheClockAndStopsAtTheEnd) {
  CSimulationData data;
  Fill(data, 3, 1.0f / 60.0f);  // one second per sample
  CTestView view;
  view.SetData(&data);
  view.SetMode(ViewMode::Static);
  QSignalSpy spy(&data.State(), &CViewState::clockChanged);
  data.State().SetPlaying(true);
  EXPECT_TRUE(view.TimersRunning());
  view.OnTimer(1);
  EXPECT_EQ(data.State().Step(), 1);
  EXPECT_TRUE(data.State().Playing());
  view.OnTimer(1);
  view.OnTimer(1);
  EXPECT_EQ(data.State().Step(), 3);
  EXPECT_FALSE(data.State().Playing());
  EXPECT_FALSE(view.TimersRunning());
  EXPECT_EQ(spy.count(), 3);
  // Pressing Start at the end: the next tick stops again, the clock stays.
  data.State().SetPlaying(true);
  view.OnTimer(1);
  EXPECT_EQ(data.State().Step(), 3);
  EXPECT_FALSE(data.State().Playing());
  EXPECT_FALSE(view.TimersRunning());
}

TEST(View, StoppingThePlayerStopsBothTimers) {
  CSimulationData data;
  Fill(data, 5, 1.0f);
  CTestView view;
  view.SetData(&data);
  view.SetMode(ViewMode::Dynamic);
  data.State().SetPlaying(true);
  EXPECT_TRUE(view.TimersRunning());
  data.State().SetPlaying(false);
  EXPECT_FALSE(view.TimersRunning());
  // A tick already on its way changes nothing.
  QSignalSpy spy(&data.State(), &CViewState::clockChanged);
  view.OnTimer(0);
  EXPECT_EQ(view.Frame(), 0);
  view.OnTimer(1);
  EXPECT_EQ(data.State().StepSeconds(), 0);
  EXPECT_EQ(spy.count(), 0);
}

// The line plot keeps the view the user gave it while the player runs, and
// Home brings back the view it opened with.
TEST(View, ThePlotKeepsItsViewWhileThePlayerRunsAndHomeResetsIt) {
  CSimulationData data;
  Fill(data, 5, 1.0f / 60.0f);  // one second per sample
  CTestView view;
  view.SetData(&data);
  view.SetMode(ViewMode::Plot);
  view.ResetCamera();
  view.Wheel(240);
  view.Mouse(QEvent::MouseButtonPress, 10, 10);
  view.Mouse(QEvent::MouseMove, 46, 28);
  view.Mouse(QEvent::MouseButtonRelease, 46, 28);
  const float zoom = view.Camera().m_fZoom;
  const double rotX = view.Camera().m_dRotX, rotY = view.Camera().m_dRotY;
  EXPECT_FLOAT_EQ(zoom, 1.21f);
  data.State().SetPlaying(true);
  for (int i = 0; i < 3; ++i) {
    view.OnTimer(0);
    view.OnTimer(1);
  }
  EXPECT_EQ(data.State().Step(), 3) << "the player ran";
  EXPECT_EQ(view.Camera().m_fZoom, zoom);
  EXPECT_EQ(view.Camera().m_dRotX, rotX);
  EXPECT_EQ(view.Camera().m_dRotY, rotY);

  QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &home);
  EXPECT_FLOAT_EQ(view.Camera().m_fZoom, 1.0f);
  EXPECT_FLOAT_EQ(static_cast<float>(view.Camera().m_dRotX), -70.55f);
  EXPECT_FLOAT_EQ(static_cast<float>(view.Camera().m_dRotY), 4.11f);
}
