#include "OpenGLView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPainter>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Backdrop.h"
#include "HeadlessGl.h"
#include "SimulationData.h"

// The GL widget that draws the view's scene in a window: it fills the view,
// and leaves the mouse and the keys to it.
class CGlCanvas : public QOpenGLWidget {
 public:
  explicit CGlCanvas(COpenGLView* view) : QOpenGLWidget(view), m_view(view) {
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    setFormat(format);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void initializeGL() override { m_view->initializeGL(); }
  void resizeGL(int w, int h) override { m_view->resizeGL(w, h); }
  void paintGL() override { m_view->paintGL(); }

 private:
  COpenGLView* m_view;
};

COpenGLView::COpenGLView(QWidget* parent) : QWidget(parent) {
  if (!UseHeadlessGl()) {
    m_canvas = new CGlCanvas(this);
  }
  setFocusPolicy(Qt::ClickFocus);
  ResetCamera();
}

COpenGLView::~COpenGLView() {
  m_bGoing = true;
  // Workers first: nothing may install a model into a view that is going.
  m_animationJob.Join();
  CleanupGL();
  // The canvas's context goes with it: it must not call back into this
  // part of the object, which is going first.
  if (QOpenGLContext* ctx = context()) {
    disconnect(ctx, nullptr, this, nullptr);
  }
  delete m_canvas;
  m_canvas = nullptr;
  m_headless.reset();
}

QOpenGLContext* COpenGLView::context() const { return m_canvas ? m_canvas->context() : nullptr; }

void COpenGLView::makeCurrent() {
  if (m_canvas) {
    m_canvas->makeCurrent();
  } else if (m_headless) {
    m_headless->MakeCurrent();
  }
}

void COpenGLView::doneCurrent() {
  if (m_canvas) {
    m_canvas->doneCurrent();
  } else if (m_headless) {
    m_headless->DoneCurrent();
  }
}

QImage COpenGLView::grabFramebuffer() {
  if (!m_canvas) {
    return RenderHeadless();
  }
  m_strGlError.clear();
  // A view never shown has had no resize event: its canvas takes its size now.
  if (m_canvas->size() != size()) {
    m_canvas->setGeometry(rect());
  }
  QImage image = m_canvas->grabFramebuffer();
  if (image.isNull()) {
    m_strGlError = QStringLiteral("no OpenGL 2.1 context");
  }
  return image;
}

QImage COpenGLView::RenderHeadless() {
  m_strGlError.clear();
  if (!m_headless) {
    m_headless = CHeadlessGl::Create(&m_strGlError);
    if (!m_headless) {
      return QImage();
    }
  }
  const qreal ratio = devicePixelRatioF();
  const QSize pixels(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                     std::max(1, static_cast<int>(std::lround(height() * ratio))));
  if (!m_headless->MakeCurrent()) {
    m_strGlError = QStringLiteral("EGL cannot make the view's context current");
    return QImage();
  }
  if (!m_headless->BindTarget(pixels)) {
    m_headless->DoneCurrent();
    m_strGlError = QStringLiteral("no framebuffer of %1x%2 pixels").arg(pixels.width()).arg(pixels.height());
    return QImage();
  }
  if (!m_bGLReady) {
    initializeGL();
  }
  paintGL();
  QImage image = m_headless->ReadTarget();
  m_headless->DoneCurrent();
  return image;
}

void COpenGLView::paintEvent(QPaintEvent* event) {
  if (m_canvas) {
    QWidget::paintEvent(event);
    return;
  }
  // Without a display the view's content is the picture its own context drew.
  const QImage picture = RenderHeadless();
  QPainter painter(this);
  if (picture.isNull()) {
    painter.fillRect(rect(), Qt::black);
  } else {
    painter.drawImage(rect(), picture);
  }
}

void COpenGLView::resizeEvent(QResizeEvent* event) {
  if (m_canvas) {
    m_canvas->setGeometry(rect());
  }
  QWidget::resizeEvent(event);
}

void COpenGLView::SetData(CSimulationData* data) {
  // By their handles: the store shown before may be gone already.
  for (const QMetaObject::Connection& c : m_stateConnections) {
    disconnect(c);
  }
  m_stateConnections.clear();
  m_pData = data;
  if (!m_pData) {
    return;
  }
  const CViewState* state = &m_pData->State();
  m_stateConnections.push_back(connect(state, &CViewState::changed, this, &COpenGLView::RenderScene));
  m_stateConnections.push_back(connect(state, &CViewState::playingChanged, this, [this](bool playing) {
    if (playing) {
      StartTimers();
    } else {
      StopTimers();
    }
  }));
}

bool COpenGLView::Playing() const { return m_pData && m_pData->State().Playing(); }

void COpenGLView::ApplyWireMode() {
  const COBJ::DrawMode mode =
      m_pData && m_pData->State().WireMode() ? COBJ::DrawMode::WireFrame : COBJ::DrawMode::Filled;
  for (COBJ* m : {static_cast<COBJ*>(m_pBody.Get()), static_cast<COBJ*>(m_pGarment.Get())}) {
    if (m) {
      m->SetDrawMode(mode);
    }
  }
}

void COpenGLView::SetCurves(std::vector<PlotCurve> curves, std::string note) {
  m_plot.SetCurves(std::move(curves), std::move(note));
  RenderScene();
}

void COpenGLView::SetReferenceDrawing(bool on) {
  m_bReference = on;
  COBJ::s_bImmediate = on;
}

void COpenGLView::SetAxisTitles(const QString& x, const QString& y, const QString& z) {
  const QString* titles[3] = {&x, &y, &z};
  for (int a = 0; a < 3; ++a) {
    std::snprintf(m_szAxisTitle[a], sizeof m_szAxisTitle[a], "%s", titles[a]->toUtf8().constData());
  }
}

void COpenGLView::SetFrame(int frame) { m_nFrame = std::clamp(frame, 0, m_nFrameCount - 1); }

void COpenGLView::SetCamera(const ViewCamera& camera) {
  m_camera = camera;
  RenderScene();
}

void COpenGLView::ResetCamera() {
  // The angles are those of the float literals the camera has always had.
  if (m_nMode == ViewMode::Plot) {
    m_camera.m_dTransX = -1.2f;
    m_camera.m_dTransY = -0.3f;
    m_camera.m_dTransZ = -2.7f;
    m_camera.m_dRotX = -70.55f;
    m_camera.m_dRotY = 4.11f;
    m_camera.m_dRotZ = -65.0f;
    m_camera.m_fZoom = 1.0f;
  } else {
    m_camera.m_dTransX = 0.2f;
    m_camera.m_dTransY = -0.1f;
    m_camera.m_dTransZ = -4.2f;
    m_camera.m_dRotX = m_camera.m_dRotY = m_camera.m_dRotZ = 0.0;
    m_camera.m_fZoom = 1.2f;
  }
  RenderScene();
}

void COpenGLView::TurnTo(Facing facing) {
  ResetCamera();
  // The body faces the camera at rest; a quarter turn one way or the other
  // brings its left or right side round.
  switch (facing) {
    case Facing::Front:
      break;
    case Facing::Back:
      m_camera.m_dRotY = 180.0;
      break;
    case Facing::Left:
      m_camera.m_dRotY = -90.0;
      break;
    case Facing::Right:
      m_camera.m_dRotY = 90.0;
      break;
  }
  RenderScene();
}

void COpenGLView::RenderScene() {
  if (m_canvas) {
    m_canvas->update();
  } else {
    update();
  }
}

void COpenGLView::initializeGL() {
  if (QOpenGLContext* ctx = context()) {
    connect(ctx, &QOpenGLContext::aboutToBeDestroyed, this, &COpenGLView::CleanupGL, Qt::UniqueConnection);
  }
  InitGL();
  m_bGLReady = true;
}

void COpenGLView::InitGL() {
  glShadeModel(GL_SMOOTH);
  glClearColor(1, 1, 1, 1);
  glClearDepth(1.5);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  const float ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f}, diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  const float position[4] = {1.0f, 3.3f, 2.1f, 0.0f};
  glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT1, GL_POSITION, position);
  glEnable(GL_LIGHT1);
  LoadBackdropTexture();
  // The glyph lists take the fixed names 100 ... 354: made now, before any
  // model asks GL for list names, so that no other list can get them.
  m_bFontListsReady = false;
  EnsureFontLists();
}

// Frees what this view made in its context: textures, glyph lists and the
// models' compiled geometry. Runs before the context goes.
void COpenGLView::CleanupGL() {
  // A view that goes has joined its loaders first: a model may not arrive
  // while its context's objects are being freed.
  if (m_bGoing && m_animationJob.Running()) {
    qWarning("COpenGLView: GL cleaned up while a model loader still runs");
  }
  if (!m_bGLReady) {
    return;
  }
  makeCurrent();
  if (m_nBackdropTexture) {
    glDeleteTextures(1, &m_nBackdropTexture);
  }
  m_nBackdropTexture = 0;
  if (m_bFontListsReady) {
    DeleteFontLists();
  }
  m_bFontListsReady = false;
  for (COBJ* m : {static_cast<COBJ*>(m_pBody.Get()), static_cast<COBJ*>(m_pGarment.Get()),
                  static_cast<COBJ*>(m_pSpaceSuit.Get()), m_pMoon.Get(), static_cast<COBJ*>(m_pAnimation.Get())}) {
    if (m) {
      m->ReleaseGL();
    }
  }
  doneCurrent();
  m_bGLReady = false;
}

void COpenGLView::LoadBackdropTexture() {
  const BackdropPixels pixels = ReadBackdrop(FindBackdrop(m_strModuleDir));
  if (pixels.IsNull()) {
    return;  // the backdrop is drawn dark and untextured
  }
  glGenTextures(1, &m_nBackdropTexture);
  glBindTexture(GL_TEXTURE_2D, m_nBackdropTexture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, pixels.width, pixels.height, GL_RGB, GL_UNSIGNED_BYTE, pixels.rgb.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void COpenGLView::EnsureFontLists() {
  if (m_bFontListsReady && !m_bReference) {
    return;
  }
  if (m_glyphs.empty()) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    m_glyphs = RasteriseGlyphs(font);
  }
  if (m_bFontListsReady) {
    DeleteFontLists();
  }
  BuildFontLists(m_glyphs);
  m_bFontListsReady = true;
}

void COpenGLView::resizeGL(int w, int h) { SetupProjection(w, h); }

double COpenGLView::FieldOfViewY(int w, int h) {
  const double aspect = AspectRatio(w, h);
  if (!(aspect < 1.0) || aspect <= 0.0) {
    return 45.0;
  }
  const double halfDegrees = 22.5, toRadians = std::acos(-1.0) / 180.0;
  return 2.0 * std::atan(std::tan(halfDegrees * toRadians) / aspect) / toRadians;
}

void COpenGLView::SetupProjection(int w, int h) {
  const qreal ratio = devicePixelRatioF();
  const int pw = static_cast<int>(w * ratio), ph = static_cast<int>((h == 0 ? 1 : h) * ratio);
  glViewport(0, 0, pw, ph);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(FieldOfViewY(w, h), AspectRatio(w, h), static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void COpenGLView::DrawBackdrop() {
  glPushMatrix();
  glLoadIdentity();
  glTranslated(m_camera.m_dTransX, m_camera.m_dTransY, m_camera.m_dTransZ - 15);
  // The picture as it is, unlit: with lighting on, the white asked for would
  // give way to the last material a model set (a green part of the body
  // left the sky green after the static view).
  glDisable(GL_LIGHTING);
  if (m_nBackdropTexture) {
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, m_nBackdropTexture);
  } else {
    // Without the picture: a dark, untextured sky.
    glColor3f(0.02f, 0.02f, 0.06f);
  }
  glBegin(GL_QUADS);
  const float corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  for (const auto& c : corners) {
    glTexCoord2f(c[0], c[1]);
    glVertex3f(c[0] * 16 - 8, c[1] * 16 - 8, 0);
  }
  glEnd();
  glEnable(GL_LIGHTING);
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void COpenGLView::paintGL() {
  // The projection of the current size (a grab of a window never shown has
  // had no resize).
  SetupProjection(width(), height());
  if (m_nMode == ViewMode::Plot) {
    glClearColor(1, 1, 1, 1);
  } else {
    // Opaque: a picture taken of the window (which composes the view's
    // alpha over the page) shows the black the screen shows, not grey.
    glClearColor(0, 0, 0, 1);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_LIGHTING);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  if (m_nMode == ViewMode::SpaceSuit) {
    DrawBackdrop();
  }
  glPushMatrix();
  glLoadIdentity();
  if (IsBodyScene(m_nMode)) {
    EnsureFontLists();
    ApplyWireMode();
    DrawBodyScene(Scene());
  } else {
    glDisable(GL_LIGHTING);
    glTranslated(m_camera.m_dTransX, m_camera.m_dTransY, m_camera.m_dTransZ);
    glScalef(m_camera.m_fZoom, m_camera.m_fZoom, m_camera.m_fZoom);
    glRotated(m_camera.m_dRotX, 1, 0, 0);
    glRotated(m_camera.m_dRotY, 0, 1, 0);
    glRotated(m_camera.m_dRotZ, 0, 0, 1);
    EnsureFontLists();
    m_plot.Draw(m_szAxisTitle, m_bReference);
  }
  glPopMatrix();
  emit framePainted();
}

BodyScene COpenGLView::Scene() const {
  BodyScene s;
  s.mode = m_nMode;
  s.data = m_pData;
  s.camera = {m_camera.m_dTransX, m_camera.m_dTransY, m_camera.m_dTransZ, m_camera.m_dRotX,
              m_camera.m_dRotY,   m_camera.m_dRotZ,   m_camera.m_fZoom};
  s.body = m_pBody.Get();
  s.garment = m_pGarment.Get();
  s.suit = m_pSpaceSuit.Get();
  s.moon = m_pMoon.Get();
  s.animation = m_pAnimation.Get();
  s.frame = m_nFrame;
  s.reference = m_bReference;
  return s;
}

bool COpenGLView::ShowsNoData() const { return ::ShowsNoData(Scene()); }

bool COpenGLView::SceneModelsRead() const { return ::SceneModelsRead(Scene()); }

int COpenGLView::PickPart(QPoint at, bool* garmentHit) {
  if (!IsBodyScene(m_nMode) || !context()) {
    return -1;
  }
  makeCurrent();
  const qreal ratio = devicePixelRatioF();
  GLint viewport[4] = {0, 0, static_cast<GLint>(width() * ratio), static_cast<GLint>(height() * ratio)};
  GLuint hits[1024];
  glSelectBuffer(1024, hits);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(0);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(at.x() * ratio, viewport[3] - at.y() * ratio, 3, 3, viewport);
  gluPerspective(FieldOfViewY(width(), height()), AspectRatio(width(), height()), static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  DrawPickNames(Scene());
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  const GLint count = glRenderMode(GL_RENDER);
  doneCurrent();
  // Each hit: the number of names, the nearest and farthest depth, the names.
  int part = -1;
  GLuint nearest = ~0u;
  const GLuint* h = hits;
  for (GLint i = 0; i < count; ++i) {
    const GLuint names = h[0], zmin = h[1];
    if (names > 0 && zmin <= nearest) {
      const GLuint name = h[2 + names];
      if (name >= 101 && name <= 206) {
        nearest = zmin;
        part = static_cast<int>((name - 1) % 100);
        if (garmentHit) {
          *garmentHit = name >= 200;
        }
      }
    }
    h += 3 + names;
  }
  return part >= 0 && part < kBodyPartCount ? part : -1;
}

void COpenGLView::StartTimers() {
  m_timer0.start(100, this);
  m_timer1.start(1000, this);
}

void COpenGLView::StopTimers() {
  m_timer0.stop();
  m_timer1.stop();
}

void COpenGLView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_timer0.timerId()) {
    OnTimer(0);
  } else if (event->timerId() == m_timer1.timerId()) {
    OnTimer(1);
  } else {
    QWidget::timerEvent(event);
  }
}

void COpenGLView::OnTimer(int id) {
  if (!Playing()) {
    StopTimers();
    return;
  }
  if (id == 0) {
    if (m_nMode == ViewMode::Dynamic) {
      m_nFrame = (m_nFrame + 1) % m_nFrameCount;
      if (m_nFrame == 0) {
        m_nFrame = 1;
      }
    } else if (IsBodyScene(m_nMode)) {
      m_camera.m_dRotY += 5.0;
    } else {
      return;  // the plot's view is the user's: the player leaves it as it is
    }
    RenderScene();
  } else if (id == 1) {
    // The clock is the view state's: the view asks it on, and redraws on
    // its signal; at the end of the run it stops playing, and the timers
    // with it.
    m_pData->State().Advance();
  }
}

void COpenGLView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return QWidget::mousePressEvent(event);
  }
  m_ptLast = event->position().toPoint();
  m_bCaptured = true;
  m_bDragged = false;
  setFocus(Qt::MouseFocusReason);
}

void COpenGLView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return QWidget::mouseReleaseEvent(event);
  }
  m_ptLast = QPoint(0, 0);
  m_bCaptured = false;
  if (!m_bDragged) {
    emit clicked(event->position().toPoint());
  }
}

void COpenGLView::mouseMoveEvent(QMouseEvent* event) {
  if (!m_bCaptured) {
    return;
  }
  const QPoint p = event->position().toPoint();
  if (p != m_ptLast) {
    m_bDragged = true;
  }
  m_camera.m_dRotX += static_cast<float>((p.y() - m_ptLast.y()) / 3.6);
  m_camera.m_dRotY += static_cast<float>((p.x() - m_ptLast.x()) / 3.6);
  RenderScene();
  m_ptLast = p;
}

void COpenGLView::keyPressEvent(QKeyEvent* event) {
  // Home brings the plot back to the view it opened with; the body scenes'
  // dialog has its own keys, Home among them.
  if (m_nMode == ViewMode::Plot && event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
    ResetCamera();
    return;
  }
  QWidget::keyPressEvent(event);
}

void COpenGLView::wheelEvent(QWheelEvent* event) {
  // One notch (120) zooms by one step; fine-grained wheels add up to notches.
  m_nWheelAccum += event->angleDelta().y();
  bool changed = false;
  for (; m_nWheelAccum >= 120; m_nWheelAccum -= 120) {
    m_camera.m_fZoom *= 1.1f;
    changed = true;
  }
  for (; m_nWheelAccum <= -120; m_nWheelAccum += 120) {
    m_camera.m_fZoom *= 0.9f;
    changed = true;
  }
  if (changed) {
    RenderScene();
  }
  event->accept();
}
