#pragma once
// The OpenGL view: one GL context showing one of four scenes by its mode
// (the line plot, the static body, the animated body, the space suit on the
// moon), with the camera the mouse moves, the player's two timers, and the
// models the scene loaders install. What it shows of the run (quantity,
// layer, section, wire drawing, the clock, playing) it reads from the run's
// view state, and it redraws when that changes, not in a loop.
//
// In a window the scene is drawn by a GL widget inside the view; without a
// display (Qt's offscreen platform) by the view's own EGL context into a
// framebuffer of its own, and the picture painted as the view's content. The
// drawing code is the same, and draws into whichever context is current.

#include <QBasicTimer>
#include <QPoint>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "AnimationModel.h"
#include "BodyScene.h"
#include "FontLists.h"
#include "Garment.h"
#include "LinePlot.h"
#include "MessageSink.h"
#include "ModelOBJ.h"
#include "ModelSlot.h"
#include "PlotScene.h"
#include "ViewCamera.h"
#include "ViewMode.h"

class CSimulationData;
class CHeadlessGl;
class CGlCanvas;
class QOpenGLContext;

class COpenGLView : public QWidget {
  Q_OBJECT

 public:
  explicit COpenGLView(QWidget* parent = nullptr);
  ~COpenGLView() override;

  // Sets the camera for the current mode and redraws.
  void ResetCamera();
  // The body scenes' camera as reset, the body turned to show its front,
  // back, left or right side.
  enum class Facing { Front, Back, Left, Right };
  void TurnTo(Facing facing);
  // Asks for a redraw; every change that should become visible calls it.
  virtual void RenderScene();

  // The scene as drawn now at the view's size: a frame drawn and read back.
  // Null when no context can be made (GlError() says why).
  QImage grabFramebuffer();
  // Why the last picture could not be drawn, when it could not.
  const QString& GlError() const { return m_strGlError; }
  // The context the scene draws in, made current on this thread (the
  // window's GL widget's, or the view's own without a display), and let go.
  void makeCurrent();
  void doneCurrent();
  // The window's context (null without a display, or before it is shown).
  QOpenGLContext* context() const;

  // The data store whose colours the scene shows and whose clock timer 1
  // asks to advance; the program folder (models, backdrop); where messages go.
  void SetData(CSimulationData* data);
  CSimulationData* Data() const { return m_pData; }
  void SetModuleDir(const QString& dir) { m_strModuleDir = dir; }
  const QString& ModuleDir() const { return m_strModuleDir; }
  void SetMessageSink(IMessageSink* sink) { m_pSink = sink; }
  IMessageSink* MessageSink() const { return m_pSink; }

  // The player: timer 0 (100 ms) turns or walks the body (the plot's view
  // stays as the user left it), timer 1 (1000 ms) advances the clock; they run while the view state plays. OnTimer is
  // the timers' handler (tests call it).
  bool TimersRunning() const { return m_timer0.isActive() || m_timer1.isActive(); }
  void OnTimer(int id);

  // The body part (0 Head ... 5 Foot) drawn nearest at pixel `at` of the
  // body scenes, or -1; `garment` says whether the garment (or suit) was hit.
  int PickPart(QPoint at, bool* garment = nullptr);

  // Whether every model the current scene draws is installed and was read
  // (the static body and garment, the walking body, or the suit and the moon).
  bool SceneModelsRead() const;

  // Whether the scene as drawn now shows the no-data grey somewhere: a
  // part, garment part, suit part, ring or the room without a value.
  bool ShowsNoData() const;

  // The projection's aspect ratio for a window of w x h (a height of 0 counts as 1).
  static double AspectRatio(int w, int h) { return static_cast<double>(w) / (h == 0 ? 1 : h); }
  // The projection's vertical field of view, in degrees: 45, and in a
  // window taller than wide as much more as keeps the width of a square
  // window's view, so that nothing leaves the picture sideways (the walking
  // body's stride in a narrow window).
  static double FieldOfViewY(int w, int h);

  // The scene shown; setting it draws nothing yet (callers reset the camera
  // or redraw when they are done).
  ViewMode Mode() const { return m_nMode; }
  void SetMode(ViewMode mode) { m_nMode = mode; }
  // The line plot's axis captions: 0 x, 1 y, 2 z (the quantity). They are
  // kept as the plot draws them, in at most 255 bytes of UTF-8 each.
  QString AxisTitle(int axis) const { return QString::fromUtf8(m_szAxisTitle[axis]); }
  void SetAxisTitles(const QString& x, const QString& y, const QString& z);
  // The line plot's curves (plot mode), and a redraw. `note` is written in
  // the middle of a plot without curves ("no data").
  void SetCurves(std::vector<PlotCurve> curves, std::string note = {});
  const std::vector<PlotCurve>& Curves() const { return m_plot.Curves(); }
  const std::string& PlotNote() const { return m_plot.Note(); }
  const PlotBox& Box() const { return m_plot.Box(); }

  // The walking body's frame, 0 ... FrameCount() - 1 (a movie or a picture
  // sets it; the player's timer walks on from it).
  int Frame() const { return m_nFrame; }
  int FrameCount() const { return m_nFrameCount; }
  // Clamped into the frames there are; no redraw.
  void SetFrame(int frame);

  // Where the camera stands: as ResetCamera and the mouse leave it, or as a
  // caller sets it (a figure's copy of the view, a benchmark's turn); a set
  // camera redraws.
  const ViewCamera& Camera() const { return m_camera; }
  void SetCamera(const ViewCamera& camera);

  // The scenes' models as the loaders install them (null until then).
  const CModelOBJ* BodyModel() const { return m_pBody.Get(); }
  const CGarment* GarmentModel() const { return m_pGarment.Get(); }
  const CGarment* SpaceSuitModel() const { return m_pSpaceSuit.Get(); }
  const COBJ* MoonModel() const { return m_pMoon.Get(); }
  const CAnimationModel* AnimationModel() const { return m_pAnimation.Get(); }
  // Whether the walking body's loader has been started, and waiting for it.
  bool AnimationLoadStarted() const { return m_animationJob.Started(); }
  void JoinLoaders() { m_animationJob.Join(); }

 signals:
  // A left click without a drag at `at` (the view's pixels).
  void clicked(QPoint at);
  // A frame has been painted.
  void framePainted();

 protected:
  // The frame's drawing, in the context made current by the caller.
  virtual void initializeGL();
  virtual void resizeGL(int w, int h);
  virtual void paintGL();
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // The loaders install the models they read into the view's slots.
  friend bool LoadBodyModel(COpenGLView* view, const QString& path);
  friend bool LoadGarmentModel(COpenGLView* view, const QString& path);
  friend bool LoadAnimationModel(COpenGLView* view, const QString& path);
  friend bool LoadSpaceSuitScene(COpenGLView* view);
  // Tests and benchmarks compare the drawing with the reference way, which
  // rebuilds the glyph lists every frame and sends every vertex on its own.
  friend class CDrawingComparison;
  friend class CGlCanvas;
  // A frame drawn by the view's own EGL context (no display).
  QImage RenderHeadless();
  void SetReferenceDrawing(bool on);
  void StartTimers();
  void StopTimers();
  // Whether the view state plays (not without a store).
  bool Playing() const;
  // The body's and garment's drawing (solid or wire) as the view state says.
  void ApplyWireMode();
  void InitGL();
  void SetupProjection(int w, int h);
  void CleanupGL();
  void LoadBackdropTexture();
  void DrawBackdrop();
  void EnsureFontLists();

  // The body scene as the view shows it now.
  BodyScene Scene() const;

  ViewMode m_nMode = ViewMode::Plot;
  char m_szAxisTitle[3][256] = {};
  CModelSlot<CModelOBJ> m_pBody;
  CModelSlot<CGarment> m_pGarment;
  CModelSlot<CGarment> m_pSpaceSuit;
  CModelSlot<COBJ> m_pMoon;
  CModelSlot<CAnimationModel> m_pAnimation;
  int m_nFrameCount = 13;
  int m_nFrame = 0;
  bool m_bGLReady = false;
  ViewCamera m_camera;
  QPoint m_ptLast;  // the pointer where a drag last stood
  // Loaders running on worker threads for this view; joined before it goes.
  CBackgroundJob m_animationJob;

  CSimulationData* m_pData = nullptr;
  std::vector<QMetaObject::Connection> m_stateConnections;
  IMessageSink* m_pSink = nullptr;
  QString m_strModuleDir;
  QBasicTimer m_timer0, m_timer1;
  bool m_bCaptured = false;
  bool m_bDragged = false;
  int m_nWheelAccum = 0;
  unsigned m_nBackdropTexture = 0;
  bool m_bFontListsReady = false;
  bool m_bReference = false;
  bool m_bGoing = false;  // in the destructor
  std::vector<GlyphBitmap> m_glyphs;
  CPlotScene m_plot;
  CGlCanvas* m_canvas = nullptr;            // in a window: the GL widget that draws
  std::unique_ptr<CHeadlessGl> m_headless;  // without a display: the view's own context
  QString m_strGlError;
};
