// The 3D line plot: the axis frame with its dashed grid, then the tick
// labels, titles, curves and cross lines of the current data.

#include "PlotScene.h"

#include <GL/gl.h>

#include <QMatrix4x4>
#include <algorithm>

#include "FontLists.h"
#include "TickLabel.h"

void CPlotScene::SetCurves(std::vector<PlotCurve> curves, std::string note) {
  m_curves = std::move(curves);
  m_strNote = std::move(note);
  m_box = ComputePlotBox(m_curves);
  m_strips = BuildPlotStrips(m_curves, m_box);
  m_bDirty = true;
}

void CPlotScene::Draw(const char (&titles)[3][256], bool reference) {
  DrawFrame();
  DrawCurves(titles, reference);
}

void CPlotScene::DrawFrame() {
  glColor3f(0, 0, 0);
  glLineWidth(2);
  glBegin(GL_LINES);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 0, 1.1f);
  glVertex3f(0, 0, 0);
  glVertex3f(1.1f, 0, 0);
  glVertex3f(1, 0, 0);
  glVertex3f(1, 1.7f, 0);
  glEnd();
  glLineWidth(1);
  glBegin(GL_LINES);
  for (int i = 0; i <= 5; ++i) {
    glVertex3f(0.2f * static_cast<float>(i), 0, 0);
    glVertex3f(0.2f * static_cast<float>(i), -0.05f, 0);
  }
  for (int j = 0; j <= 8; ++j) {
    glVertex3f(1, 0.2f * static_cast<float>(j), 0);
    glVertex3f(1.05f, 0.2f * static_cast<float>(j), 0);
  }
  for (int k = 0; k <= 5; ++k) {
    glVertex3f(0, 0, 0.2f * static_cast<float>(k));
    glVertex3f(0, -0.05f, 0.2f * static_cast<float>(k));
  }
  glEnd();
  DrawText3f(0, 0, 1.12f, "Z");
  // Beyond the time axis' first label, which stands at the x axis' end.
  DrawText3f(1.12f, -0.12f, 0, "X");
  DrawText3f(1, 1.72f, 0, "Y");

  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0x0F0F);
  glColor3f(0.8f, 0.8f, 0.8f);
  glBegin(GL_LINES);
  for (int k = 1; k <= 5; ++k) {
    glVertex3f(0, 0, 0.2f * static_cast<float>(k));
    glVertex3f(0, 1.6f, 0.2f * static_cast<float>(k));
  }
  for (int l = 1; l <= 8; ++l) {
    glVertex3f(0, 0.2f * static_cast<float>(l), 0);
    glVertex3f(0, 0.2f * static_cast<float>(l), 1);
  }
  for (int m = 0; m <= 4; ++m) {
    glVertex3f(0.2f * static_cast<float>(m), 0, 0);
    glVertex3f(0.2f * static_cast<float>(m), 1.6f, 0);
  }
  for (int a = 1; a <= 8; ++a) {
    glVertex3f(0, 0.2f * static_cast<float>(a), 0);
    glVertex3f(1, 0.2f * static_cast<float>(a), 0);
  }
  for (int b = 0; b <= 5; ++b) {
    glVertex3f(0.2f * static_cast<float>(b), 1.6f, 0);
    glVertex3f(0.2f * static_cast<float>(b), 1.6f, 1);
  }
  for (int c = 0; c <= 5; ++c) {
    glVertex3f(0, 1.6f, 0.2f * static_cast<float>(c));
    glVertex3f(1, 1.6f, 0.2f * static_cast<float>(c));
  }
  glEnd();
  glDisable(GL_LINE_STIPPLE);
}

void CPlotScene::DrawCurves(const char (&titles)[3][256], bool reference) {
  if (m_curves.empty()) {
    if (!m_strNote.empty()) {
      glColor3f(0.2f, 0.2f, 0.2f);
      DrawText3f(0.45f, 0.8f, 0.5f, m_strNote.c_str());
    }
    return;
  }
  glColor3f(0.2f, 0.2f, 0.2f);
  const std::vector<float> z = PlotTickValues(m_box, 2), x = PlotTickValues(m_box, 0), y = PlotTickValues(m_box, 1);
  for (int k = 0; k <= 5; ++k) {
    DrawText3f(-0.02f, -0.15f, 0.2f * static_cast<float>(k) + 0.03f,
               FormatTickValue(z[static_cast<std::size_t>(k)]).c_str());
    DrawText3f(0.2f * static_cast<float>(k) + 0.04f, -0.15f, 0,
               FormatTickValue(x[static_cast<std::size_t>(k)]).c_str());
  }
  for (int k = 0; k <= 8; ++k) {
    DrawText3f(1.1f, 0.2f * static_cast<float>(k), 0, FormatTickValue(y[static_cast<std::size_t>(k)]).c_str());
  }
  glColor3f(0, 0, 0);
  DrawText3f(0, 0.05f, 1.16f, titles[2]);
  // A little above the thickness axis' end: level with it, the title fell
  // below the view's bottom edge.
  DrawText3f(1.22f, 0.05f, 0.07f, titles[0]);
  DrawText3f(1, 1.77f, 0, titles[1]);

  if (reference) {
    // The reference way: the box and the strips from every point, and every
    // vertex sent on its own, in every frame.
    const PlotBox box = ComputePlotBox(m_curves);
    for (const PlotStrip& s : BuildPlotStrips(m_curves, box)) {
      glBegin(GL_LINE_STRIP);
      for (std::size_t i = 0; i < s.vertices.size(); i += 3) {
        glColor3fv(&s.colours[i]);
        glVertex3fv(&s.vertices[i]);
      }
      glEnd();
    }
    glLineWidth(1);
    return;
  }
  // The strips were built when the curves were set; a frame draws what of
  // them the current projection can show, worked out again only when the
  // projection changes.
  PlotProjection projection;
  float modelview[16], proj[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  glGetFloatv(GL_PROJECTION_MATRIX, proj);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  // GL keeps matrices column by column; QMatrix4x4 reads its array row by row.
  const QMatrix4x4 mvp = QMatrix4x4(proj).transposed() * QMatrix4x4(modelview).transposed();
  std::copy_n(mvp.constData(), 16, projection.mvp.begin());
  for (int i = 0; i < 4; ++i) {
    projection.viewport[static_cast<std::size_t>(i)] = static_cast<float>(viewport[i]);
  }
  if (m_bDirty || projection.mvp != m_projection.mvp || projection.viewport != m_projection.viewport) {
    m_shown = DecimatePlotStrips(m_strips, m_curves.size(), projection);
    m_projection = projection;
    m_bDirty = false;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  for (const PlotStrip& strip : m_shown) {
    if (strip.vertices.size() < 6) {
      continue;
    }
    glVertexPointer(3, GL_FLOAT, 0, strip.vertices.data());
    glColorPointer(3, GL_FLOAT, 0, strip.colours.data());
    glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(strip.vertices.size() / 3));
  }
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glLineWidth(1);
}
