#pragma once
// An OpenGL 2.1 compatibility context with an offscreen framebuffer for
// render tests, and pixel checks that save the image when a test fails.

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>
#include <string>

class CGlTestContext {
 public:
  CGlTestContext(int width, int height);
  ~CGlTestContext();
  bool IsValid() const { return m_fbo != nullptr; }
  // Clears to `clear` and sets an orthographic view of [-1, 1]^2, with a
  // light that shows a material's ambient colour exactly.
  void Begin(float r = 0, float g = 0, float b = 0);
  QImage Image() const;
  // Pixel at (x, y), y from the top, as 0..255 RGB.
  QColor Pixel(int x, int y) const;
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Saves the last image as <test name>.png in the working folder if the
  // current test has failed.
  void SaveIfFailed() const;

 private:
  int m_width, m_height;
  QOffscreenSurface m_surface;
  QOpenGLContext m_context;
  std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
};

// True when `c` is within `tolerance` of (r, g, b) on each channel.
bool Near(const QColor& c, int r, int g, int b, int tolerance = 3);
