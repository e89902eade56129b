// Drawing the body-part models into an offscreen framebuffer and reading
// the pixels back.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "AnimationModel.h"
#include "Garment.h"
#include "GlTestContext.h"
#include "ModelOBJ.h"
#include "ObjTestFiles.h"
#include "SimulationData.h"
#include "StoreEditor.h"

namespace {

constexpr int kSize = 64;

// A quad over the scene square [x0, x1] x [y0, y1] (after the 0.06 scale).
std::string Quad(const std::string& group, float x0, float y0, float x1, float y1, int& base) {
  auto v = [](float x, float y) {
    return "v " + std::to_string(x / kModelScale) + " " + std::to_string(y / kModelScale) + " 0\n";
  };
  std::string s = v(x0, y0) + v(x1, y0) + v(x1, y1) + v(x0, y1);
  s += "g " + group + "\n";
  s += "f " + std::to_string(base + 1) + " " + std::to_string(base + 2) + " " + std::to_string(base + 3) + " " +
       std::to_string(base + 4) + "\n";
  base += 4;
  return s;
}

// Four groups in the four corners, one in the middle.
std::string Corners(const char* tl, const char* tr, const char* bl, const char* br, const char* mid = nullptr) {
  int base = 0;  // each quad numbers its vertices after the previous one's
  std::string s = Quad(tl, -0.9f, 0.2f, -0.2f, 0.9f, base);
  s += Quad(tr, 0.2f, 0.2f, 0.9f, 0.9f, base);
  s += Quad(bl, -0.9f, -0.9f, -0.2f, -0.2f, base);
  s += Quad(br, 0.2f, -0.9f, 0.9f, -0.2f, base);
  if (mid) {
    s += Quad(mid, -0.1f, -0.1f, 0.1f, 0.1f, base);
  }
  return s;
}

// Pixels at the centres of the corner quads and of the middle.
struct Probe {
  QColor tl, tr, bl, br, mid;
};
Probe Look(const CGlTestContext& gl) {
  const QImage img = gl.Image();
  const int a = kSize * 22 / 100, b = kSize * 78 / 100;
  return {img.pixelColor(a, a), img.pixelColor(b, a), img.pixelColor(a, b), img.pixelColor(b, b),
          img.pixelColor(kSize / 2, kSize / 2)};
}

class ModelDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_gl.IsValid()) << "no OpenGL context";
    const float red[4] = {1, 0, 0, 1}, yellow[4] = {1, 1, 0, 1}, blue[4] = {0, 0, 1, 1}, cyan[4] = {0, 1, 1, 1};
    PartColours& c = EditColours(m_data);
    std::copy(red, red + 4, c.m_skinColours[Head]);
    std::copy(yellow, yellow + 4, c.m_skinColours[Trunk]);
    std::copy(blue, blue + 4, c.m_layerColours[Head]);
    std::copy(cyan, cyan + 4, c.m_layerColours[Trunk]);
  }
  void TearDown() override { m_gl.SaveIfFailed(); }
  template <class Model>
  void LoadModel(Model& model, const std::string& text) {
    model.SetColourSource(&m_data);
    ASSERT_TRUE(model.Load(m_files.Write("m.obj", text).c_str(), kCreaseAngle));
  }

  CGlTestContext m_gl{kSize, kSize};
  CObjFiles m_files;
  CSimulationData m_data;  // skin: Head red, Trunk yellow
};

}  // namespace

TEST_F(ModelDraw, BodyDrawsUpperCasePartGroupsInSkinColours) {
  CModelOBJ body;
  LoadModel(body, Corners("HEAD", "head", "EYES", "TRUNK  \r"));
  m_gl.Begin();
  body.Draw();
  const Probe p = Look(m_gl);
  EXPECT_TRUE(Near(p.tl, 255, 0, 0)) << p.tl.name().toStdString();
  EXPECT_TRUE(Near(p.tr, 0, 0, 0)) << "a lower-case group is not the body's";
  EXPECT_TRUE(Near(p.bl, 0, 0, 0)) << "EYES names no part";
  EXPECT_TRUE(Near(p.br, 255, 255, 0)) << "trailing blanks still match";
}

TEST_F(ModelDraw, GarmentMatchesAnyCaseInLayerColours) {
  CGarment garment;
  LoadModel(garment, Corners("HEAD", "head", "EYES", "Trunk"));
  m_gl.Begin();
  garment.Draw();
  const Probe p = Look(m_gl);
  EXPECT_TRUE(Near(p.tl, 0, 0, 255));
  EXPECT_TRUE(Near(p.tr, 0, 0, 255));
  EXPECT_TRUE(Near(p.bl, 0, 0, 0));
  EXPECT_TRUE(Near(p.br, 0, 255, 255));
}

TEST_F(ModelDraw, PlainObjDrawsEveryGroupInTheCurrentMaterial) {
  COBJ scenery;
  LoadModel(scenery, Corners("HEAD", "head", "EYES", "ROCK"));
  m_gl.Begin();
  const float green[4] = {0, 1, 0, 1};
  COBJ::SetPartMaterial(green, 0);
  scenery.Draw();
  const Probe p = Look(m_gl);
  for (const QColor& c : {p.tl, p.tr, p.bl, p.br}) {
    EXPECT_TRUE(Near(c, 0, 255, 0)) << c.name().toStdString();
  }
}

TEST_F(ModelDraw, AnimationFrameDrawsOnlyItsOwnGroups) {
  CAnimationModel anim;
  LoadModel(anim, Corners("H3_TRUNK", "H13_TRUNK", "H2_TRUNK", "C3_TRUNK", "H3_HEAD_TOP"));
  m_gl.Begin();
  anim.DrawFrame(3);
  Probe p = Look(m_gl);
  EXPECT_TRUE(Near(p.tl, 255, 255, 0));
  EXPECT_TRUE(Near(p.tr, 0, 0, 0));
  EXPECT_TRUE(Near(p.bl, 0, 0, 0));
  EXPECT_TRUE(Near(p.br, 0, 0, 0)) << "garment hidden";
  EXPECT_TRUE(Near(p.mid, 255, 0, 0)) << "the head is found by containment";
  anim.SetShowGarment(true);
  m_gl.Begin();
  anim.DrawFrame(3);
  p = Look(m_gl);
  EXPECT_TRUE(Near(p.br, 0, 255, 255)) << "garment in the trunk's layer colour";
  m_gl.Begin();
  anim.DrawFrame(13);
  p = Look(m_gl);
  EXPECT_TRUE(Near(p.tl, 0, 0, 0));
  EXPECT_TRUE(Near(p.tr, 255, 255, 0));
}

TEST_F(ModelDraw, WireModeDrawsLineLoopsAndHiddenDrawsNothing) {
  CModelOBJ body;
  LoadModel(body, "v -13 -13 0\nv 13 -13 0\nv -13 13 0\ng TRUNK\nf 1 2 3\n");
  auto countLit = [&] {
    const QImage img = m_gl.Image();
    int lit = 0;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        lit += img.pixelColor(x, y).red() > 128;
      }
    }
    return lit;
  };
  m_gl.Begin();
  body.Draw();
  const int filled = countLit();
  body.SetDrawMode(COBJ::DrawMode::WireFrame);
  m_gl.Begin();
  body.Draw();
  const int wire = countLit();
  EXPECT_TRUE(Near(m_gl.Pixel(kSize / 3, kSize * 2 / 3), 0, 0, 0)) << "inside of a wire triangle";
  EXPECT_GT(wire, kSize);
  EXPECT_GT(filled, 5 * wire);

  body.SetDrawMode(COBJ::DrawMode::Hidden);
  m_gl.Begin();
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  body.Draw();
  EXPECT_EQ(countLit(), 0);
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ModelDraw, DisplayListCompilesOnceAndReplays) {
  CModelOBJ body;
  LoadModel(body, Corners("HEAD", "TRUNK", "x", "y"));
  m_gl.Begin();
  body.DrawList();
  const unsigned list = body.DisplayList();
  EXPECT_NE(list, 0u);
  EXPECT_FALSE(body.ListStale());
  EditColours(m_data).m_skinColours[Head][1] = 1;  // a compiled list keeps the colours it was made with
  m_gl.Begin();
  body.DrawList();
  EXPECT_EQ(body.DisplayList(), list);
  EXPECT_TRUE(Near(Look(m_gl).tl, 255, 0, 0));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  body.ReleaseGL();
}

TEST_F(ModelDraw, NothingLoadedDrawsNothing) {
  CModelOBJ body;
  body.SetColourSource(&m_data);
  EXPECT_FALSE(body.Load((m_files.Dir() + "missing.obj").c_str(), kCreaseAngle));
  m_gl.Begin();
  body.Draw();
  body.DrawList();
  CAnimationModel anim;
  anim.DrawFrame(1);
  EXPECT_EQ(body.DisplayList(), 0u);
  EXPECT_TRUE(Near(m_gl.Pixel(kSize / 2, kSize / 2), 0, 0, 0));
}
