#include "HeadlessGl.h"

#define GL_GLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <QGuiApplication>
#include <cstring>

bool UseHeadlessGl() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

namespace {
// The surfaceless display, initialised once for the whole process (EGL
// counts its users; the driver stays for the process's life, as Qt's does).
EGLDisplay SurfacelessDisplay(QString* error) {
  static EGLDisplay display = EGL_NO_DISPLAY;
  static QString failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless")) {
      failure = QStringLiteral("EGL has no surfaceless platform (install Mesa's EGL: libegl-mesa0)");
    } else {
      display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
      EGLint major = 0, minor = 0;
      if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
        display = EGL_NO_DISPLAY;
        failure = QStringLiteral(
                      "EGL's surfaceless display does not start (error 0x%1; install libegl-mesa0 "
                      "and libgl1-mesa-dri)")
                      .arg(eglGetError(), 0, 16);
      }
    }
  }
  if (display == EGL_NO_DISPLAY) {
    *error = failure;
  }
  return display;
}
}  // namespace

std::unique_ptr<CHeadlessGl> CHeadlessGl::Create(QString* error) {
  const EGLDisplay display = SurfacelessDisplay(error);
  if (display == EGL_NO_DISPLAY) {
    return nullptr;
  }
  // The context draws into framebuffers of its own, never into a surface:
  // it needs no configuration (the surfaceless platform offers none for
  // desktop OpenGL).
  const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
  if (!extensions || !std::strstr(extensions, "EGL_KHR_no_config_context") ||
      !std::strstr(extensions, "EGL_KHR_surfaceless_context") || !eglBindAPI(EGL_OPENGL_API)) {
    *error = QStringLiteral("EGL cannot make an OpenGL context without a surface (install libegl-mesa0)");
    return nullptr;
  }
  const EGLConfig config = EGL_NO_CONFIG_KHR;
  // A version below 3.2 asks for the compatibility profile: the scenes
  // draw with legacy GL (display lists, the fixed pipeline).
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1, EGL_NONE};
  const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    *error = QStringLiteral("EGL gives no OpenGL 2.1 context (error 0x%1)").arg(eglGetError(), 0, 16);
    return nullptr;
  }
  std::unique_ptr<CHeadlessGl> gl(new CHeadlessGl);
  gl->m_display = display;
  gl->m_context = context;
  return gl;
}

CHeadlessGl::~CHeadlessGl() {
  if (MakeCurrent()) {
    FreeTarget();
  }
  eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(m_display, m_context);
}

bool CHeadlessGl::MakeCurrent() {
  if (!eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context)) {
    return false;
  }
  if (m_framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
  }
  return true;
}

void CHeadlessGl::DoneCurrent() { eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT); }

void CHeadlessGl::FreeTarget() {
  if (m_framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteRenderbuffers(1, &m_colour);
    glDeleteRenderbuffers(1, &m_depth);
  }
  m_framebuffer = m_colour = m_depth = 0;
  m_size = QSize();
}

bool CHeadlessGl::BindTarget(QSize size) {
  if (size == m_size && m_framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    return true;
  }
  FreeTarget();
  glGenFramebuffers(1, &m_framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
  glGenRenderbuffers(1, &m_colour);
  glBindRenderbuffer(GL_RENDERBUFFER, m_colour);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width(), size.height());
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour);
  // Depth and stencil together, as the window's framebuffer has them.
  glGenRenderbuffers(1, &m_depth);
  glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, size.width(), size.height());
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_depth);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    FreeTarget();
    return false;
  }
  m_size = size;
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  return true;
}

QImage CHeadlessGl::ReadTarget() const {
  if (!m_framebuffer) {
    return QImage();
  }
  glFinish();
  QImage image(m_size, QImage::Format_RGBA8888_Premultiplied);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, m_size.width(), m_size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
  return image.mirrored();  // GL's first row is the bottom one
}
