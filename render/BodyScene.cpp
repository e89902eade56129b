// The body scenes (the static body, the walking body, the space suit on the
// moon): the room in the environment's colour, the colour legend, the
// cross-section legend and the models.

#include "BodyScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>

#include "AnimationModel.h"
#include "FontLists.h"
#include "Garment.h"
#include "LegendLayout.h"
#include "ModelOBJ.h"
#include "SimulationData.h"

int BodyScene::Layer() const { return data ? data->State().SelectedLayer() : 0; }
int BodyScene::SectionPart() const { return data ? data->State().SectionPart() : 0; }
bool BodyScene::OutlinedLabels() const { return data && data->State().OutlinedLabels(); }

namespace {
// The legends' text colours.
constexpr float kLegendRed[3] = {1, 0, 0};
constexpr float kSectionWhite[3] = {1, 1, 1};

void DrawColourLegend(const BodyScene& s) {
  glDisable(GL_LIGHTING);
  struct Stop {
    float y, r, g, b;
  };
  static const Stop kStops[5] = {{0.7f, 1, 0, 0}, {0.55f, 1, 1, 0}, {0.4f, 0, 1, 0}, {0.25f, 0, 1, 1}, {0.1f, 0, 0, 1}};
  glBegin(GL_QUAD_STRIP);
  for (const Stop& stop : kStops) {
    glColor3f(stop.r, stop.g, stop.b);
    glVertex3f(-1.08f, stop.y, 2.5f);
    glVertex3f(-1.05f, stop.y, 2.5f);
  }
  glEnd();
  if (ShowsNoData(s)) {
    // The grey of what has no value, under the bar, and what it means.
    glColor3fv(kNoDataGrey);
    glBegin(GL_QUADS);
    glVertex3f(-1.08f, 0.02f, 2.5f);
    glVertex3f(-1.05f, 0.02f, 2.5f);
    glVertex3f(-1.05f, 0.07f, 2.5f);
    glVertex3f(-1.08f, 0.07f, 2.5f);
    glEnd();
    DrawLabel3f(-1.02f, 0.03f, 2.5f, "no data", kLegendRed, s.OutlinedLabels());
  }
  if (!s.body && !s.animation && !s.suit) {
    return;
  }
  if (!s.data) {
    return;
  }
  const std::array<std::string, 5> labels = LegendLabels(s.data->Colours().m_fScale);
  DrawLabel3f(-1.1f, 0.75f, 2.5f, LegendTitle(s.data->State().Content()), kLegendRed, s.OutlinedLabels());
  static const float kLabelY[5] = {0.69f, 0.54f, 0.39f, 0.24f, 0.09f};
  for (int i = 0; i < 5; ++i) {
    DrawLabel3f(-1.02f, kLabelY[i], 2.5f, labels[static_cast<std::size_t>(i)].c_str(), kLegendRed, s.OutlinedLabels());
  }
  glEnable(GL_LIGHTING);
}

void DrawSectionLegend(const BodyScene& s) {
  if (!s.data || s.SectionPart() < 1 || s.SectionPart() > kBodyPartCount) {
    return;
  }
  glDisable(GL_LIGHTING);
  glPushMatrix();
  glTranslatef(-0.88f, -0.32f, 2.5f);
  glColor3fv(s.data->Colours().m_envColour);
  glBegin(GL_QUADS);
  glVertex3f(-0.27f, 0.27f, 0);
  glVertex3f(0.27f, 0.27f, 0);
  glVertex3f(0.27f, -0.27f, 0);
  glVertex3f(-0.27f, -0.27f, 0);
  glEnd();
  // The quadric lives for this drawing only.
  std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> quadric(gluNewQuadric(), gluDeleteQuadric);
  gluQuadricNormals(quadric.get(), GLU_SMOOTH);
  glPopMatrix();

  const int part = s.SectionPart() - 1;
  const std::vector<SectionDisc> discs = SectionDiscs(*s.data, part);
  const float w = 0.18f / static_cast<float>(discs.size());
  for (const SectionDisc& d : discs) {
    glPushMatrix();
    glTranslatef(-0.94f, -0.34f, 2.5f);
    glColor3fv(d.colour);
    // 32 slices; one loop gives the same flat disc as many.
    gluDisk(quadric.get(), 0.0, d.radius, 32, s.reference ? 32 : 1);
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    glVertex3f(d.radius - w / 2, 0, 0.0005f);
    glVertex3f(d.radius - w / 2, d.labelY, 0.0005f);
    glEnd();
    DrawLabel3f(d.radius - w / 2, d.labelY, 0.0005f, d.label.c_str(), kSectionWhite, s.OutlinedLabels());
    glPopMatrix();
  }
  glPushMatrix();
  DrawLabel3f(-0.94f, -0.56f, 2.5005f, SectionCaption(s.SectionPart()), kSectionWhite, s.OutlinedLabels());
  glPopMatrix();
  glEnable(GL_LIGHTING);
}

void DrawRoom(const BodyScene& s) {
  glDisable(GL_LIGHTING);
  glColor3f(s.data ? s.data->Colours().m_envColour[0] : 0, s.data ? s.data->Colours().m_envColour[1] : 0,
            s.data ? s.data->Colours().m_envColour[2] : 1);
  glLineWidth(2);
  auto line = [](float x0, float y0, float z0, float x1, float y1, float z1) {
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y1, z1);
  };
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // floor
    line(-1.5f + 0.15f * static_cast<float>(i), -1.2f, 0.9f, -1.5f + 0.15f * static_cast<float>(i), -1.2f, -1.5f);
    line(-1.5f, -1.2f, -1.5f + 0.12f * static_cast<float>(i), 1.5f, -1.2f, -1.5f + 0.12f * static_cast<float>(i));
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // left wall
    line(-1.5f, -1.2f + 0.135f * static_cast<float>(i), 0.9f, -1.5f, -1.2f + 0.135f * static_cast<float>(i), -1.5f);
    line(-1.5f, -1.2f, -1.5f + 0.12f * static_cast<float>(i), -1.5f, 1.5f, -1.5f + 0.12f * static_cast<float>(i));
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // back wall
    line(-1.5f + 0.15f * static_cast<float>(i), -1.2f, -1.5f, -1.5f + 0.15f * static_cast<float>(i), 1.5f, -1.5f);
    line(-1.5f, -1.2f + 0.135f * static_cast<float>(i), -1.5f, 1.5f, -1.2f + 0.135f * static_cast<float>(i), -1.5f);
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // right wall
    line(1.5f, -1.2f + 0.135f * static_cast<float>(i), 0.9f, 1.5f, -1.2f + 0.135f * static_cast<float>(i), -1.5f);
    line(1.5f, -1.2f, -1.5f + 0.12f * static_cast<float>(i), 1.5f, 1.5f, -1.5f + 0.12f * static_cast<float>(i));
  }
  glEnd();
  glBegin(GL_LINES);
  for (int i = 0; i <= 20; ++i) {  // ceiling
    line(-1.5f + 0.15f * static_cast<float>(i), 1.5f, 0.9f, -1.5f + 0.15f * static_cast<float>(i), 1.5f, -1.5f);
    line(-1.5f, 1.5f, -1.5f + 0.12f * static_cast<float>(i), 1.5f, 1.5f, -1.5f + 0.12f * static_cast<float>(i));
  }
  glEnd();
  glEnable(GL_LIGHTING);
}
}  // namespace

void DrawBodyScene(const BodyScene& s) {
  glPushMatrix();
  glTranslatef(static_cast<float>(s.camera.transX), static_cast<float>(s.camera.transY),
               static_cast<float>(s.camera.transZ));
  DrawColourLegend(s);
  if (s.SectionPart() != 0) {
    DrawSectionLegend(s);
  }
  glScalef(s.camera.zoom, s.camera.zoom, s.camera.zoom);
  if (s.mode != ViewMode::SpaceSuit) {
    DrawRoom(s);
  }
  glRotatef(static_cast<float>(s.camera.rotX), 1, 0, 0);
  glRotatef(static_cast<float>(s.camera.rotY), 0, 1, 0);
  glRotatef(static_cast<float>(s.camera.rotZ), 0, 0, 1);
  glTranslatef(0, -1.2f, 0);
  if (s.mode == ViewMode::Dynamic) {
    if (CAnimationModel* anim = s.animation) {
      anim->SetShowGarment(s.Layer() >= 1);
      anim->DrawFrame(s.frame);
    }
  } else if (s.mode == ViewMode::Static) {
    if (CModelOBJ* body = s.body) {
      body->SetPickNames(false);
      body->Draw();
    }
    if (CGarment* garment = s.garment; s.Layer() >= 1 && garment && garment->Model()) {
      garment->Draw();
    }
  } else {
    glEnable(GL_LIGHTING);
    const float grey[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    if (CGarment* suit = s.suit; suit && suit->Model()) {
      suit->Draw();
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    if (COBJ* moon = s.moon) {
      moon->DrawList();
    }
  }
  glPopMatrix();
}

bool ShowsNoData(const BodyScene& s) {
  if (!s.data || s.mode == ViewMode::Plot) {
    return false;
  }
  const CSimulationData& d = *s.data;
  bool grey = false;
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (s.mode != ViewMode::SpaceSuit && (s.body || s.animation)) {
      grey = grey || !d.Colours().m_bSkinHasValue[p];
    }
    const bool garment =
        s.mode == ViewMode::SpaceSuit ? s.suit != nullptr : s.Layer() >= 1 && (s.garment || s.animation);
    if (garment) {
      grey = grey || !d.Colours().m_bLayerHasValue[p];
    }
  }
  if (s.mode != ViewMode::SpaceSuit) {
    grey = grey || !d.Colours().m_bEnvHasValue;
  }
  if (const int section = s.SectionPart(); section >= 1 && section <= kBodyPartCount) {
    const int part = section - 1;
    grey =
        grey || !d.Colours().m_bEnvHasValue || !d.Colours().m_bSkinHasValue[part] || !d.Colours().m_bCoreHasValue[part];
    for (int l = 0; l < d.Run().m_nLayers[part]; ++l) {
      grey = grey || l >= kMaxLayerColours || !d.Colours().m_bRingHasValue[l][part];
    }
  }
  return grey;
}

void DrawPickNames(const BodyScene& s) {
  // The models as DrawBodyScene places them, each group named by its part.
  glTranslatef(static_cast<float>(s.camera.transX), static_cast<float>(s.camera.transY),
               static_cast<float>(s.camera.transZ));
  glScalef(s.camera.zoom, s.camera.zoom, s.camera.zoom);
  glRotatef(static_cast<float>(s.camera.rotX), 1, 0, 0);
  glRotatef(static_cast<float>(s.camera.rotY), 0, 1, 0);
  glRotatef(static_cast<float>(s.camera.rotZ), 0, 0, 1);
  glTranslatef(0, -1.2f, 0);
  auto named = [](COBJ* m) {
    if (!m || !m->Model()) {
      return;
    }
    m->SetPickNames(true);
    m->Draw();
    m->SetPickNames(false);
  };
  if (s.mode == ViewMode::Static) {
    named(s.body);
    if (s.Layer() >= 1) {
      named(s.garment);
    }
  } else if (s.mode == ViewMode::SpaceSuit) {
    named(s.suit);
  } else if (CAnimationModel* anim = s.animation) {
    anim->SetPickNames(true);
    anim->SetShowGarment(s.Layer() >= 1);
    anim->DrawFrame(s.frame);
    anim->SetPickNames(false);
  }
}

bool SceneModelsRead(const BodyScene& s) {
  auto read = [](const COBJ* m) { return m && m->Model(); };
  switch (s.mode) {
    case ViewMode::Static:
      return read(s.body) && read(s.garment);
    case ViewMode::Dynamic:
      return read(s.animation);
    case ViewMode::SpaceSuit:
      return read(s.suit) && read(s.moon);
    case ViewMode::Plot:
      return true;
  }
  return false;  // no mode of ours: nothing to draw was read
}
