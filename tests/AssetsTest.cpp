// The model generator's geometry, and the models and pictures it ships.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <map>
#include <memory>
#include <set>

#include "BodyPartNames.h"
#include "ObjReader.h"
#include "ObjTopology.h"
#include "SurfaceNets.h"
#include "Thicken.h"

using namespace assets;

TEST(SurfaceNets, SphereIsClosedOnTheSurfaceAndFacesOutward) {
  const Vec3 centre{0.1, -0.2, 0.3};
  const double radius = 0.5;
  auto f = [&](const Vec3& p) { return Length(p - centre) - radius; };
  const Mesh mesh = Polygonise(f, {-0.6, -0.9, -0.4}, {0.8, 0.5, 1.0}, 0.05);
  ASSERT_GT(mesh.triangles.size(), 500u);
  std::map<std::pair<int, int>, int> edges;
  for (const auto& t : mesh.triangles) {
    const Vec3 &a = mesh.vertices[static_cast<std::size_t>(t[0])], &b = mesh.vertices[static_cast<std::size_t>(t[1])],
               &c = mesh.vertices[static_cast<std::size_t>(t[2])];
    const Vec3 n = Cross(b - a, c - a);
    EXPECT_GT(Dot(n, (a + b + c) * (1.0 / 3) - centre), 0.0) << "a face turned inwards";
    for (int i = 0; i < 3; ++i) {
      ++edges[{t[static_cast<std::size_t>(i)], t[static_cast<std::size_t>((i + 1) % 3)]}];
    }
  }
  for (const auto& [e, count] : edges) {
    EXPECT_EQ(count, 1) << "an edge used twice in one direction";
    EXPECT_EQ(edges.count({e.second, e.first}), 1u) << "an open edge";
  }
  for (const Vec3& v : mesh.vertices) {
    EXPECT_NEAR(f(v), 0.0, 1e-3);
  }
}

TEST(Thicken, AnOpenSheetBecomesOneClosedSurface) {
  // A wavy square sheet of 8 x 8 quads.
  Mesh sheet;
  for (int j = 0; j <= 8; ++j) {
    for (int i = 0; i <= 8; ++i) {
      sheet.vertices.push_back({i * 0.1, 0.02 * std::sin(i + j), j * 0.1});
    }
  }
  for (int j = 0; j < 8; ++j) {
    for (int i = 0; i < 8; ++i) {
      const int a = j * 9 + i;
      sheet.triangles.push_back({a, a + 9, a + 10});
      sheet.triangles.push_back({a, a + 10, a + 1});
    }
  }
  std::vector<bool> keep(sheet.triangles.size(), true);
  keep[0] = false;  // a notch in one corner
  std::vector<int> kept, source;
  const Mesh part = SubMesh(sheet, keep, kept);
  ASSERT_EQ(part.triangles.size(), sheet.triangles.size() - 1);
  EXPECT_EQ(kept.front(), 1);
  const Mesh solid = Thicken(part, 0.01, source);
  ASSERT_EQ(source.size(), solid.triangles.size());
  EXPECT_EQ(solid.vertices.size(), 2 * part.vertices.size());
  std::map<std::pair<int, int>, int> edges;
  for (const auto& t : solid.triangles) {
    for (int i = 0; i < 3; ++i) {
      ++edges[{t[static_cast<std::size_t>(i)], t[static_cast<std::size_t>((i + 1) % 3)]}];
    }
  }
  for (const auto& [e, count] : edges) {
    EXPECT_EQ(count, 1);
    EXPECT_EQ(edges.count({e.second, e.first}), 1u) << "an open edge is left";
  }
  for (int s : source) {
    EXPECT_LT(static_cast<std::size_t>(s), part.triangles.size());
  }
}

namespace {

QString ModelDir() { return qEnvironmentVariable("CORVANE_MODEL_DIR"); }

ObjModelPtr ReadShipped(const char* name) {
  const QString path = ModelDir() + QLatin1Char('/') + QLatin1String(name);
  return ObjModelPtr(glmReadOBJ(QFile::encodeName(path).constData()));
}

std::set<std::string> GroupNames(const ObjModel& m) {
  std::set<std::string> names;
  for (const ObjGroup& g : m.groups) {
    if (g.triangleCount) {
      names.insert(NormaliseGroupName(g.name, false));
    }
  }
  return names;
}

void Bounds(const ObjModel& m, float lo[3], float hi[3]) {
  for (int i = 0; i < 3; ++i) {
    lo[i] = 1e30f;
    hi[i] = -1e30f;
  }
  for (std::uint32_t v = 1; v <= m.vertexCount; ++v) {
    for (std::uint32_t i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], m.vertices[3 * v + i] * kModelScale);
      hi[i] = std::max(hi[i], m.vertices[3 * v + i] * kModelScale);
    }
  }
}
}  // namespace

TEST(ShippedModels, BodyStandsInTheRoomWithEveryPart) {
  ASSERT_FALSE(ModelDir().isEmpty()) << "CORVANE_MODEL_DIR is not set";
  ObjModelPtr body = ReadShipped("model.obj");
  ASSERT_TRUE(body);
  EXPECT_GE(body->triangleCount, 20000u);
  EXPECT_LE(body->triangleCount, 80000u);
  EXPECT_EQ(GroupNames(*body), (std::set<std::string>{"HEAD", "TRUNK", "LEFTARM", "RIGHTARM", "LEFTHAND", "RIGHTHAND",
                                                      "LEFTLEG", "RIGHTLEG", "LEFTFOOT", "RIGHTFOOT"}));
  EXPECT_EQ(body->materialCount, 2u);
  float lo[3], hi[3];
  Bounds(*body, lo, hi);
  // The scene draws models 1.2 below its centre: the room's floor is at 0
  // and its ceiling at 2.7 in model space.
  EXPECT_NEAR(lo[1], 0.0f, 0.05f);
  EXPECT_GT(hi[1], 1.7f);
  EXPECT_LT(hi[1], 2.5f);
  EXPECT_LT(std::max(-lo[0], hi[0]), 1.0f);
  // The garment covers trunk, arms and legs only.
  ObjModelPtr cloth = ReadShipped("cloth.obj");
  ASSERT_TRUE(cloth);
  EXPECT_EQ(GroupNames(*cloth), (std::set<std::string>{"TRUNK", "LEFTARM", "RIGHTARM", "LEFTLEG", "RIGHTLEG"}));
  // Both are closed surfaces (the garment has a thickness), so the view may
  // cull their back faces.
  EXPECT_TRUE(IsClosedOutward(*body));
  EXPECT_TRUE(IsClosedOutward(*cloth));
}

TEST(ShippedModels, WalkingCycleHasThirteenFramesOfBodyAndGarment) {
  ObjModelPtr anim = ReadShipped("op.obj");
  ASSERT_TRUE(anim);
  for (int frame = 0; frame <= 12; ++frame) {
    int body = 0, garment = 0;
    for (const ObjGroup& g : anim->groups) {
      const FramePart fp = AnimationFramePart(NormaliseGroupName(g.name, true), frame);
      if (fp.part >= 0 && g.triangleCount) {
        (fp.garment ? garment : body) |= 1 << fp.part;
      }
    }
    EXPECT_EQ(body, 0x3f) << "frame " << frame;
    EXPECT_EQ(garment, 0x16) << "frame " << frame;  // trunk, arm, leg
  }
}

TEST(ShippedModels, SpaceSuitOnTheMoonAndTheBackdrop) {
  ObjModelPtr suit = ReadShipped("space suit1.obj");
  ASSERT_TRUE(suit);
  const std::set<std::string> groups = GroupNames(*suit);
  EXPECT_TRUE(groups.count("VISOR"));
  EXPECT_TRUE(groups.count("BACKPACK"));
  EXPECT_TRUE(groups.count("HEAD"));
  EXPECT_EQ(suit->materialCount, 4u) << "the suit's material library is found";
  ObjModelPtr moon = ReadShipped("moon.obj");
  ASSERT_TRUE(moon);
  float lo[3], hi[3], slo[3], shi[3];
  Bounds(*moon, lo, hi);
  Bounds(*suit, slo, shi);
  EXPECT_LT(lo[0], slo[0] - 1.0f);
  EXPECT_GT(hi[0], shi[0] + 1.0f);
  EXPECT_NEAR(slo[1], 0.0f, 0.06f) << "the suit stands on the surface";

  QFile bmp(ModelDir() + QStringLiteral("/1.bmp"));
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  const QByteArray header = bmp.read(54);
  ASSERT_EQ(header.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<unsigned char>(header[28]), 24u) << "a 24-bit bitmap";
  const QImage image(ModelDir() + QStringLiteral("/1.bmp"));
  ASSERT_FALSE(image.isNull());
  // Mostly dark sky, with a bright planet.
  int bright = 0;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) {
      bright += qGray(image.pixel(x, y)) > 100;
    }
  }
  EXPECT_GT(bright, 100);
  EXPECT_LT(bright, image.width() * image.height() / 16 / 4);
  for (const char* name :
       {"part_head.png", "part_trunk.png", "part_arm.png", "part_hand.png", "part_leg.png", "part_foot.png"}) {
    const QImage part(ModelDir() + QLatin1Char('/') + QLatin1String(name));
    ASSERT_FALSE(part.isNull()) << name;
    EXPECT_EQ(part.width(), std::string(name) == "part_head.png" ? 50 : 40) << name;
    EXPECT_EQ(part.pixel(0, 0) & 0xffffff, 0u) << name << " is on black";
  }
  EXPECT_FALSE(QImage(ModelDir() + QStringLiteral("/corvane.png")).isNull());
  EXPECT_EQ(QImage(ModelDir() + QStringLiteral("/corvane-48.png")).size(), QSize(48, 48));
}
