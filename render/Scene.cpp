// The body scenes of the view (modes 1 to 3): the room in the environment's
// colour, the colour legend, the cross-section legend and the models.

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>

#include "LegendLayout.h"
#include "OpenGLView.h"
#include "SimulationData.h"

void COpenGLView::DrawScene() {
  glPushMatrix();
  glTranslatef(static_cast<float>(m_dTransX), static_cast<float>(m_dTransY), static_cast<float>(m_dTransZ));
  DrawColourLegend();
  if (SectionPart() != 0) {
    DrawSectionLegend();
  }
  glScalef(m_fZoom, m_fZoom, m_fZoom);
  if (m_nMode != ViewMode::SpaceSuit) {
    DrawRoom();
  }
  glRotatef(static_cast<float>(m_dRotX), 1, 0, 0);
  glRotatef(static_cast<float>(m_dRotY), 0, 1, 0);
  glRotatef(static_cast<float>(m_dRotZ), 0, 0, 1);
  glTranslatef(0, -1.2f, 0);
  ApplyWireMode();
  if (m_nMode == ViewMode::Dynamic) {
    if (CAnimationModel* anim = m_pAnimation.Get()) {
      anim->m_bShowGarment = Layer() >= 1;
      anim->DrawFrame(m_nFrame);
    }
  } else if (m_nMode == ViewMode::Static) {
    if (CModelOBJ* body = m_pBody.Get()) {
      body->m_bPickNames = false;
      body->Draw();
    }
    if (CGarment* garment = m_pGarment.Get(); Layer() >= 1 && garment && garment->m_pModel) {
      garment->Draw();
    }
  } else {
    glEnable(GL_LIGHTING);
    const float grey[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    if (CGarment* suit = m_pSpaceSuit.Get(); suit && suit->m_pModel) {
      suit->Draw();
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    if (COBJ* moon = m_pMoon.Get()) {
      moon->DrawList();
    }
  }
  glPopMatrix();
}

bool COpenGLView::ShowsNoData() const {
  if (!m_pData || m_nMode == ViewMode::Plot) {
    return false;
  }
  const CSimulationData& d = *m_pData;
  bool grey = false;
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (m_nMode != ViewMode::SpaceSuit && (m_pBody || m_pAnimation)) {
      grey = grey || !d.Colours().m_bSkinHasValue[p];
    }
    const bool garment =
        m_nMode == ViewMode::SpaceSuit ? static_cast<bool>(m_pSpaceSuit) : Layer() >= 1 && (m_pGarment || m_pAnimation);
    if (garment) {
      grey = grey || !d.Colours().m_bLayerHasValue[p];
    }
  }
  if (m_nMode != ViewMode::SpaceSuit) {
    grey = grey || !d.Colours().m_bEnvHasValue;
  }
  if (const int section = SectionPart(); section >= 1 && section <= kBodyPartCount) {
    const int part = section - 1;
    grey =
        grey || !d.Colours().m_bEnvHasValue || !d.Colours().m_bSkinHasValue[part] || !d.Colours().m_bCoreHasValue[part];
    for (int l = 0; l < d.Run().m_nLayers[part]; ++l) {
      grey = grey || l >= kMaxLayerColours || !d.Colours().m_bRingHasValue[l][part];
    }
  }
  return grey;
}

void COpenGLView::DrawColourLegend() {
  glDisable(GL_LIGHTING);
  struct Stop {
    float y, r, g, b;
  };
  static const Stop kStops[5] = {{0.7f, 1, 0, 0}, {0.55f, 1, 1, 0}, {0.4f, 0, 1, 0}, {0.25f, 0, 1, 1}, {0.1f, 0, 0, 1}};
  glBegin(GL_QUAD_STRIP);
  for (const Stop& s : kStops) {
    glColor3f(s.r, s.g, s.b);
    glVertex3f(-1.08f, s.y, 2.5f);
    glVertex3f(-1.05f, s.y, 2.5f);
  }
  glEnd();
  if (ShowsNoData()) {
    // The grey of what has no value, under the bar, and what it means.
    glColor3fv(kNoDataGrey);
    glBegin(GL_QUADS);
    glVertex3f(-1.08f, 0.02f, 2.5f), glVertex3f(-1.05f, 0.02f, 2.5f);
    glVertex3f(-1.05f, 0.07f, 2.5f), glVertex3f(-1.08f, 0.07f, 2.5f);
    glEnd();
    glColor3f(1, 0, 0);
    EnsureFontLists();
    DrawText3f(-1.02f, 0.03f, 2.5f, "no data");
  }
  if (!m_pBody && !m_pAnimation && !m_pSpaceSuit) {
    return;
  }
  if (!m_pData) {
    return;
  }
  const std::array<std::string, 5> labels = LegendLabels(m_pData->Colours().m_fScale);
  glColor3f(1, 0, 0);
  EnsureFontLists();
  DrawText3f(-1.1f, 0.75f, 2.5f, LegendTitle(m_pData->State().ContentKind()));
  static const float kLabelY[5] = {0.69f, 0.54f, 0.39f, 0.24f, 0.09f};
  for (int i = 0; i < 5; ++i) {
    DrawText3f(-1.02f, kLabelY[i], 2.5f, labels[static_cast<std::size_t>(i)].c_str());
  }
  glEnable(GL_LIGHTING);
}

void COpenGLView::DrawSectionLegend() {
  if (!m_pData || SectionPart() < 1 || SectionPart() > kBodyPartCount) {
    return;
  }
  glDisable(GL_LIGHTING);
  glPushMatrix();
  glTranslatef(-0.88f, -0.32f, 2.5f);
  glColor3fv(m_pData->Colours().m_envColour);
  glBegin(GL_QUADS);
  glVertex3f(-0.27f, 0.27f, 0), glVertex3f(0.27f, 0.27f, 0), glVertex3f(0.27f, -0.27f, 0),
      glVertex3f(-0.27f, -0.27f, 0);
  glEnd();
  // The quadric lives for this drawing only.
  std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> quadric(gluNewQuadric(), gluDeleteQuadric);
  gluQuadricNormals(quadric.get(), GLU_SMOOTH);
  EnsureFontLists();
  glPopMatrix();

  const int part = SectionPart() - 1;
  const std::vector<SectionDisc> discs = SectionDiscs(*m_pData, part);
  const float w = 0.18f / static_cast<float>(discs.size());
  for (const SectionDisc& d : discs) {
    glPushMatrix();
    glTranslatef(-0.94f, -0.34f, 2.5f);
    glColor3fv(d.colour);
    // 32 slices; one loop gives the same flat disc as many.
    gluDisk(quadric.get(), 0.0, d.radius, 32, m_bReference ? 32 : 1);
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    glVertex3f(d.radius - w / 2, 0, 0.0005f);
    glVertex3f(d.radius - w / 2, d.labelY, 0.0005f);
    glEnd();
    DrawText3f(d.radius - w / 2, d.labelY, 0.0005f, d.label.c_str());
    glPopMatrix();
  }
  glPushMatrix();
  DrawText3f(-0.94f, -0.56f, 2.5005f, SectionCaption(SectionPart()));
  glPopMatrix();
  glEnable(GL_LIGHTING);
}

void COpenGLView::DrawRoom() {
  glDisable(GL_LIGHTING);
  glColor3f(m_pData ? m_pData->Colours().m_envColour[0] : 0, m_pData ? m_pData->Colours().m_envColour[1] : 0,
            m_pData ? m_pData->Colours().m_envColour[2] : 1);
  glLineWidth(2);
  auto line = [](float x0, float y0, float z0, float x1, float y1, float z1) {
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y1, z1);
  };
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // floor
    line(-1.5f + 0.15f * i, -1.2f, 0.9f, -1.5f + 0.15f * i, -1.2f, -1.5f);
    line(-1.5f, -1.2f, -1.5f + 0.12f * i, 1.5f, -1.2f, -1.5f + 0.12f * i);
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // left wall
    line(-1.5f, -1.2f + 0.135f * i, 0.9f, -1.5f, -1.2f + 0.135f * i, -1.5f);
    line(-1.5f, -1.2f, -1.5f + 0.12f * i, -1.5f, 1.5f, -1.5f + 0.12f * i);
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // back wall
    line(-1.5f + 0.15f * i, -1.2f, -1.5f, -1.5f + 0.15f * i, 1.5f, -1.5f);
    line(-1.5f, -1.2f + 0.135f * i, -1.5f, 1.5f, -1.2f + 0.135f * i, -1.5f);
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // right wall
    line(1.5f, -1.2f + 0.135f * i, 0.9f, 1.5f, -1.2f + 0.135f * i, -1.5f);
    line(1.5f, -1.2f, -1.5f + 0.12f * i, 1.5f, 1.5f, -1.5f + 0.12f * i);
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // ceiling
    line(-1.5f + 0.15f * i, 1.5f, 0.9f, -1.5f + 0.15f * i, 1.5f, -1.5f);
    line(-1.5f, 1.5f, -1.5f + 0.12f * i, 1.5f, 1.5f, -1.5f + 0.12f * i);
  }
  glEnd();
  glEnable(GL_LIGHTING);
}

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
  gluPerspective(45.0, AspectRatio(width(), height()), static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  // The models as DrawScene places them, each group named by its part.
  glTranslatef(static_cast<float>(m_dTransX), static_cast<float>(m_dTransY), static_cast<float>(m_dTransZ));
  glScalef(m_fZoom, m_fZoom, m_fZoom);
  glRotatef(static_cast<float>(m_dRotX), 1, 0, 0);
  glRotatef(static_cast<float>(m_dRotY), 0, 1, 0);
  glRotatef(static_cast<float>(m_dRotZ), 0, 0, 1);
  glTranslatef(0, -1.2f, 0);
  auto named = [](COBJ* m) {
    if (!m || !m->m_pModel) {
      return;
    }
    m->m_bPickNames = true;
    m->Draw();
    m->m_bPickNames = false;
  };
  if (m_nMode == ViewMode::Static) {
    named(m_pBody.Get());
    if (Layer() >= 1) {
      named(m_pGarment.Get());
    }
  } else if (m_nMode == ViewMode::SpaceSuit) {
    named(m_pSpaceSuit.Get());
  } else if (CAnimationModel* anim = m_pAnimation.Get()) {
    anim->m_bPickNames = true;
    anim->m_bShowGarment = Layer() >= 1;
    anim->DrawFrame(m_nFrame);
    anim->m_bPickNames = false;
  }
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

bool COpenGLView::SceneModelsRead() const {
  auto read = [](const COBJ* m) { return m && m->m_pModel; };
  switch (m_nMode) {
    case ViewMode::Static:
      return read(m_pBody.Get()) && read(m_pGarment.Get());
    case ViewMode::Dynamic:
      return read(m_pAnimation.Get());
    case ViewMode::SpaceSuit:
      return read(m_pSpaceSuit.Get()) && read(m_pMoon.Get());
    case ViewMode::Plot:
      return true;
  }
}
