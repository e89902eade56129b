#include "GlTestContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QSurfaceFormat>
#include <cstdlib>

CGlTestContext::CGlTestContext(int width, int height) : m_width(width), m_height(height) {
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(24);
  m_surface.setFormat(format);
  m_surface.create();
  m_context.setFormat(format);
  if (!m_context.create() || !m_context.makeCurrent(&m_surface)) {
    return;
  }
  QOpenGLFramebufferObjectFormat fboFormat;
  fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
  m_fbo = std::make_unique<QOpenGLFramebufferObject>(width, height, fboFormat);
}

CGlTestContext::~CGlTestContext() {
  if (m_context.makeCurrent(&m_surface)) {
    m_fbo.reset();
  }
  m_context.doneCurrent();
}

void CGlTestContext::Begin(float r, float g, float b) {
  m_context.makeCurrent(&m_surface);
  m_fbo->bind();
  glViewport(0, 0, m_width, m_height);
  glClearColor(r, g, b, 1);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_CULL_FACE);
  // Only an ambient light of 1: a surface shows its material's ambient colour.
  const float zero[4] = {0, 0, 0, 1}, one[4] = {1, 1, 1, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
  glLightfv(GL_LIGHT0, GL_AMBIENT, one);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, zero);
  glLightfv(GL_LIGHT0, GL_SPECULAR, zero);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
}

QImage CGlTestContext::Image() const {
  glFinish();
  return m_fbo->toImage();  // top row first
}

QColor CGlTestContext::Pixel(int x, int y) const { return Image().pixelColor(x, y); }

void CGlTestContext::SaveIfFailed() const {
  if (!::testing::Test::HasFailure() || !m_fbo) {
    return;
  }
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const QString name =
      QStringLiteral("%1.%2.png").arg(QString::fromLatin1(info->test_suite_name()), QString::fromLatin1(info->name()));
  Image().save(name);
  std::fprintf(stderr, "rendered image saved as %s\n", qPrintable(name));
}

bool Near(const QColor& c, int r, int g, int b, int tolerance) {
  return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
         std::abs(c.blue() - b) <= tolerance;
}
