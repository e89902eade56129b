// The line plot of the view (mode 0): the axis frame with its dashed grid,
// then the tick labels, titles, curves and cross lines of the current data.

#include <GL/gl.h>

#include "OpenGLView.h"
#include "TickLabel.h"

void COpenGLView::SetCurves(std::vector<PlotCurve> curves, std::string note) {
  m_curves = std::move(curves);
  m_strPlotNote = std::move(note);
  m_plotBox = ComputePlotBox(m_curves);
  m_plotStrips = BuildPlotStrips(m_curves, m_plotBox);
  m_bPlotDirty = true;
  RenderScene();
}

void COpenGLView::DrawPlotFrame() {
  glColor3f(0, 0, 0);
  glLineWidth(2);
  glBegin(GL_LINES);
  glVertex3f(0, 0, 0), glVertex3f(0, 0, 1.1f);
  glVertex3f(0, 0, 0), glVertex3f(1.1f, 0, 0);
  glVertex3f(1, 0, 0), glVertex3f(1, 1.7f, 0);
  glEnd();
  glLineWidth(1);
  glBegin(GL_LINES);
  for (int i = 0; i <= 5; ++i) glVertex3f(0.2f * i, 0, 0), glVertex3f(0.2f * i, -0.05f, 0);
  for (int j = 0; j <= 8; ++j) glVertex3f(1, 0.2f * j, 0), glVertex3f(1.05f, 0.2f * j, 0);
  for (int k = 0; k <= 5; ++k) glVertex3f(0, 0, 0.2f * k), glVertex3f(0, -0.05f, 0.2f * k);
  glEnd();
  EnsureFontLists();
  DrawText3f(0, 0, 1.12f, "Z");
  DrawText3f(1.12f, 0, 0, "X");
  DrawText3f(1, 1.72f, 0, "Y");

  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0x0F0F);
  glColor3f(0.8f, 0.8f, 0.8f);
  glBegin(GL_LINES);
  for (int k = 1; k <= 5; ++k) glVertex3f(0, 0, 0.2f * k), glVertex3f(0, 1.6f, 0.2f * k);
  for (int l = 1; l <= 8; ++l) glVertex3f(0, 0.2f * l, 0), glVertex3f(0, 0.2f * l, 1);
  for (int m = 0; m <= 4; ++m) glVertex3f(0.2f * m, 0, 0), glVertex3f(0.2f * m, 1.6f, 0);
  for (int a = 1; a <= 8; ++a) glVertex3f(0, 0.2f * a, 0), glVertex3f(1, 0.2f * a, 0);
  for (int b = 0; b <= 5; ++b) glVertex3f(0.2f * b, 1.6f, 0), glVertex3f(0.2f * b, 1.6f, 1);
  for (int c = 0; c <= 5; ++c) glVertex3f(0, 1.6f, 0.2f * c), glVertex3f(1, 1.6f, 0.2f * c);
  glEnd();
  glDisable(GL_LINE_STIPPLE);
}

void COpenGLView::DrawPlotCurves() {
  if (m_curves.empty()) {
    if (!m_strPlotNote.empty()) {
      glColor3f(0.2f, 0.2f, 0.2f);
      DrawText3f(0.45f, 0.8f, 0.5f, m_strPlotNote.c_str());
    }
    return;
  }
  glColor3f(0.2f, 0.2f, 0.2f);
  const std::vector<float> z = PlotTickValues(m_plotBox, 2), x = PlotTickValues(m_plotBox, 0),
                           y = PlotTickValues(m_plotBox, 1);
  for (int k = 0; k <= 5; ++k) {
    DrawText3f(-0.02f, -0.15f, 0.2f * k + 0.03f, FormatTickValue(z[static_cast<std::size_t>(k)]).c_str());
    DrawText3f(0.2f * k + 0.04f, -0.15f, 0, FormatTickValue(x[static_cast<std::size_t>(k)]).c_str());
  }
  for (int k = 0; k <= 8; ++k) DrawText3f(1.1f, 0.2f * k, 0, FormatTickValue(y[static_cast<std::size_t>(k)]).c_str());
  glColor3f(0, 0, 0);
  DrawText3f(0, 0.05f, 1.16f, m_szAxisTitle[2]);
  DrawText3f(1.22f, 0.05f, 0, m_szAxisTitle[0]);
  DrawText3f(1, 1.77f, 0, m_szAxisTitle[1]);

  if (m_bReference) {
    // The reference way: the box and the strips from every point, and every
    // vertex sent on its own, in every frame.
    const PlotBox box = ComputePlotBox(m_curves);
    for (const PlotStrip& s : BuildPlotStrips(m_curves, box)) {
      glBegin(GL_LINE_STRIP);
      for (std::size_t i = 0; i < s.vertices.size(); i += 3) glColor3fv(&s.colours[i]), glVertex3fv(&s.vertices[i]);
      glEnd();
    }
    glLineWidth(1);
    return;
  }
  // The strips were built when the curves were set, and are compiled into a
  // list once per context: a frame only replays it.
  if (m_bPlotDirty && m_nPlotList) glDeleteLists(m_nPlotList, 1), m_nPlotList = 0;
  m_bPlotDirty = false;
  if (m_nPlotList) {
    glCallList(m_nPlotList);
  } else {
    m_nPlotList = glGenLists(1);
    glNewList(m_nPlotList, GL_COMPILE_AND_EXECUTE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (const PlotStrip& s : m_plotStrips) {
      if (s.vertices.size() < 6) continue;
      glVertexPointer(3, GL_FLOAT, 0, s.vertices.data());
      glColorPointer(3, GL_FLOAT, 0, s.colours.data());
      glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(s.vertices.size() / 3));
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glEndList();
  }
  glLineWidth(1);
}
