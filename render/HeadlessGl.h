#pragma once
// OpenGL without a display. Qt's offscreen platform, which the program takes
// on a machine without one (a cluster node, a CI job), reaches OpenGL only
// through an X server; so the 3D scenes make a context of their own through
// EGL on Mesa's surfaceless platform, and draw into a framebuffer object of
// their own with the same code that draws them in the window.

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

// Whether this process draws its scenes this way: it runs on Qt's offscreen
// platform, where a window holds no OpenGL of Qt's.
bool UseHeadlessGl();

class CHeadlessGl {
 public:
  // A legacy-GL compatibility context (2.1 or later); null with `error` set
  // (what failed, and what to install) when EGL gives none.
  static std::unique_ptr<CHeadlessGl> Create(QString* error);
  ~CHeadlessGl();
  CHeadlessGl(const CHeadlessGl&) = delete;
  CHeadlessGl& operator=(const CHeadlessGl&) = delete;

  // Makes the context current on this thread, with the target bound.
  bool MakeCurrent();
  void DoneCurrent();
  // Binds a target of `size` pixels (colour and a 24-bit depth), made anew
  // only when the size changes; the context must be current.
  bool BindTarget(QSize size);
  // The target's pixels, the top row first.
  QImage ReadTarget() const;

 private:
  CHeadlessGl() = default;
  void FreeTarget();

  void* m_display = nullptr;
  void* m_context = nullptr;
  unsigned m_framebuffer = 0, m_colour = 0, m_depth = 0;
  QSize m_size;
};
