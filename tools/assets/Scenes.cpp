#include "Scenes.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "HumanFigure.h"
#include "ObjWriter.h"
#include "SurfaceNets.h"
#include "Thicken.h"

namespace assets {

namespace {

const Vec3 kBoxLo{-0.5, -0.05, -0.55}, kBoxHi{0.5, 1.85, 0.6};

Vec3 Centroid(const Mesh& m, int t) {
  const auto& tri = m.triangles[static_cast<std::size_t>(t)];
  return (m.vertices[static_cast<std::size_t>(tri[0])] + m.vertices[static_cast<std::size_t>(tri[1])] +
          m.vertices[static_cast<std::size_t>(tri[2])]) *
         (1.0 / 3.0);
}

// The figure's surface within the box around a figure standing at the
// origin, moved by `offset` with the figure.
Mesh Surface(const CFigure& figure, double cell, const Vec3& offset = {}) {
  return Polygonise([&](const Vec3& p) { return figure.Distance(p); }, kBoxLo + offset, kBoxHi + offset, cell);
}

// The garment's group of a triangle, by its cut: a top over the trunk with
// sleeves to the wrists, to the elbows or none, and trousers to the ankles
// or shorts to the knees; open at the neck.
std::string GarmentGroup(const CFigure& cloth, const Mesh& mesh, int t, const std::string& prefix, const Cut& cut) {
  const Vec3 c = Centroid(mesh, t);
  const int label = cloth.LabelAt(c);
  const Skeleton& b = cloth.Bones();
  if (label == LHead || label == LLeftHand || label == LRightHand || label == LLeftFoot || label == LRightFoot) {
    return {};
  }
  if (label == LTrunk && c.y > b.neck.y - 0.035) {
    return {};
  }
  if (label == LLeftArm || label == LRightArm) {
    const int side = label == LLeftArm ? 0 : 1;
    if (cut.sleeves == Cut::None || (cut.sleeves == Cut::ToElbow && c.y < b.elbow[side].y)) {
      return {};
    }
  }
  if (label == LLeftLeg || label == LRightLeg) {
    const int side = label == LLeftLeg ? 0 : 1;
    const double end = cut.legs == Cut::ToKnee ? b.knee[side].y + 0.03 : b.ankle[side].y + 0.04;
    if (c.y < end) {
      return {};
    }
  }
  return prefix + kLabelGroups[label];
}

const std::vector<MaterialSpec> kBodyMaterials = {{"skin", 0.87f, 0.70f, 0.60f, 80}};
const std::vector<MaterialSpec> kClothMaterials = {{"fabric", 0.30f, 0.42f, 0.62f, 20}};

bool Report(const char* name, bool ok, std::size_t triangles) {
  if (ok) {
    std::printf("make_assets: %s: %zu triangles\n", name, triangles);
  } else {
    std::fprintf(stderr, "make_assets: cannot write %s\n", name);
  }
  return ok;
}

}  // namespace

bool WriteBodyModel(const std::string& dir) {
  const CFigure body(StandingPose());
  const Mesh mesh = Surface(body, 0.0085);
  CObjWriter out(dir + "model.obj", "model.mtl", "a standing human figure, groups by body part");
  out.Add(
      mesh, kUnitsPerMetre, [&](int t) { return std::string(kLabelGroups[body.LabelAt(Centroid(mesh, t))]); },
      [](const std::string&) { return std::string("skin"); });
  return Report("model.obj", out.Ok() && WriteMtl(dir + "model.mtl", kBodyMaterials), out.Triangles());
}

// The garment of a pose: the kept part of the surface around the body,
// given a thickness so that it is one closed surface. `prefix` goes before
// each group name.
void AddGarment(CObjWriter& out, const Skeleton& pose, double cell, const std::string& prefix, const Vec3& offset = {},
                const Cut& cut = {}) {
  const CFigure cloth(pose, 0.013, 0.035);
  const Mesh mesh = Surface(cloth, cell, offset);
  std::vector<std::string> groups(mesh.triangles.size());
  std::vector<bool> keep(mesh.triangles.size());
  for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
    groups[t] = GarmentGroup(cloth, mesh, static_cast<int>(t), prefix, cut);
    keep[t] = !groups[t].empty();
  }
  std::vector<int> kept, source;
  const Mesh open = SubMesh(mesh, keep, kept);
  const Mesh closed = Thicken(open, 0.004, source);
  out.Add(
      closed, kUnitsPerMetre,
      [&](int t) {
        return groups[static_cast<std::size_t>(kept[static_cast<std::size_t>(source[static_cast<std::size_t>(t)])])];
      },
      [](const std::string&) { return std::string("fabric"); });
}

bool WriteGarmentModel(const std::string& dir) {
  CObjWriter out(dir + "cloth.obj", "cloth.mtl",
                 "a long-sleeved top and trousers of some thickness, groups by the parts they cover");
  AddGarment(out, StandingPose(), 0.0115, "");
  return Report("cloth.obj", out.Ok() && WriteMtl(dir + "cloth.mtl", kClothMaterials), out.Triangles());
}

// The pose moved by `by`, every joint alike.
Skeleton Shifted(Skeleton s, const Vec3& by) {
  for (Vec3* p : {&s.pelvis, &s.chest, &s.neck, &s.head}) {
    *p = *p + by;
  }
  for (int side = 0; side < 2; ++side) {
    for (Vec3* p : {&s.shoulder[side], &s.elbow[side], &s.wrist[side], &s.handTip[side], &s.hip[side], &s.knee[side],
                    &s.ankle[side], &s.toe[side]}) {
      *p = *p + by;
    }
  }
  return s;
}

bool WriteAnimationModel(const std::string& dir) {
  CObjWriter out(dir + "op.obj", "op.mtl", "a walking cycle: frames 0 to 12, H<frame>_ body and C<frame>_ garment");
  for (int frame = 0; frame <= 12; ++frame) {
    // Walking on the spot a little behind the standing figure's place: the
    // leading foot swings towards the camera, whose perspective would
    // otherwise take it below the picture's lower edge.
    const Vec3 offset{0, 0, -0.3};
    const Skeleton pose = Shifted(WalkingPose(frame / 12.0), offset);
    const CFigure body(pose);
    const Mesh bodyMesh = Surface(body, 0.019, offset);
    // Appended rather than joined with +: GCC 12 takes "H" + std::string for
    // an overlapping copy (-Wrestrict, a false positive of its own).
    std::string h = "H", c = "C";
    h += std::to_string(frame) + '_';
    c += std::to_string(frame) + '_';
    out.Add(
        bodyMesh, kUnitsPerMetre, [&](int t) { return h + kLabelGroups[body.LabelAt(Centroid(bodyMesh, t))]; },
        [](const std::string&) { return std::string("skin"); });
    AddGarment(out, pose, 0.023, c, offset);
  }
  std::vector<MaterialSpec> mats = kBodyMaterials;
  mats.insert(mats.end(), kClothMaterials.begin(), kClothMaterials.end());
  return Report("op.obj", out.Ok() && WriteMtl(dir + "op.mtl", mats), out.Triangles());
}

bool WriteSpaceSuit(const std::string& dir) {
  const Skeleton pose = StandingPose();
  CFigure suit(pose, 0.04, 0.06);
  constexpr int kVisor = 10, kBackpack = 11;
  suit.Add({Primitive::Ell, pose.head + Vec3{0, 0.005, 0}, {}, 0, 0, {0.165, 0.175, 0.17}, LHead});  // helmet
  suit.Add({Primitive::Ell, pose.head + Vec3{0, 0.0, 0.075}, {}, 0, 0, {0.13, 0.10, 0.11}, kVisor});
  suit.Add({Primitive::Box, pose.chest + Vec3{0, -0.06, -0.2}, {}, 0.05, 0, {0.19, 0.27, 0.09}, kBackpack});
  for (int side = 0; side < 2; ++side) {  // boots
    suit.Add({Primitive::Capsule,
              pose.ankle[side] + Vec3{0, -0.02, -0.04},
              pose.toe[side] + Vec3{0, 0.0, 0.02},
              0.075,
              0.065,
              {},
              side == 0 ? LLeftFoot : LRightFoot});
  }
  const Mesh mesh = Polygonise([&](const Vec3& p) { return suit.Distance(p); }, Vec3{-0.6, -0.05, -0.45},
                               Vec3{0.6, 1.95, 0.45}, 0.011);
  // The library name has no blank: a name after mtllib is one word.
  CObjWriter out(dir + "space suit1.obj", "spacesuit.mtl", "a space suit with helmet, visor and backpack");
  out.Add(
      mesh, kUnitsPerMetre,
      [&](int t) {
        const int label = suit.LabelAt(Centroid(mesh, t));
        if (label == kVisor) {
          return std::string("VISOR");
        }
        if (label == kBackpack) {
          return std::string("BACKPACK");
        }
        return std::string(kLabelGroups[label]);
      },
      [](const std::string& g) {
        return std::string(g == "VISOR" ? "visor" : g == "BACKPACK" ? "pack" : "suit");
      });
  const std::vector<MaterialSpec> mats = {
      {"suit", 0.92f, 0.92f, 0.90f, 40}, {"visor", 0.85f, 0.65f, 0.2f, 900}, {"pack", 0.7f, 0.7f, 0.72f, 60}};
  return Report("space suit1.obj", out.Ok() && WriteMtl(dir + "spacesuit.mtl", mats), out.Triangles());
}

bool WriteMoon(const std::string& dir) {
  // A height field with craters: raised rims, bowls, and rolling ground;
  // flat where the suit stands.
  struct Crater {
    double x, z, r, depth;
  };
  const Crater craters[] = {{-1.6, -1.2, 0.7, 0.18}, {1.4, -1.8, 0.9, 0.22}, {2.1, 0.9, 0.5, 0.12},
                            {-2.2, 1.2, 0.6, 0.14},  {0.3, -2.6, 0.4, 0.1},  {-0.8, 2.3, 0.35, 0.08},
                            {0.9, 1.8, 0.3, 0.07},   {-2.6, -2.4, 0.8, 0.2}, {2.6, -0.6, 0.35, 0.08}};
  auto height = [&](double x, double z) {
    double h = 0.04 * std::sin(1.3 * x + 0.4) * std::cos(1.1 * z - 0.2) + 0.02 * std::sin(3.7 * x + 2.1 * z);
    for (const Crater& c : craters) {
      const double d = std::hypot(x - c.x, z - c.z) / c.r;
      if (d < 1.0) {
        h -= c.depth * (1.0 - d * d);
      }
      h += 0.35 * c.depth * std::exp(-(d - 1.0) * (d - 1.0) / 0.03);  // rim
    }
    const double centre = std::exp(-(x * x + z * z) / 0.25);
    return h * (1.0 - centre) - 0.01;
  };
  const int n = 140;
  const double size = 3.2;
  Mesh mesh;
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      const double x = -size + 2 * size * i / n, z = -size + 2 * size * j / n;
      mesh.vertices.push_back({x, height(x, z), z});
    }
  }
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const int a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
      mesh.triangles.push_back({a, d, c});  // counter-clockwise seen from above
      mesh.triangles.push_back({a, c, b});
    }
  }
  CObjWriter out(dir + "moon.obj", "moon.mtl", "a cratered patch of the moon's surface");
  out.Add(
      mesh, kUnitsPerMetre, [](int) { return std::string("moon"); },
      [](const std::string&) { return std::string("regolith"); });
  return Report("moon.obj", out.Ok() && WriteMtl(dir + "moon.mtl", {{"regolith", 0.55f, 0.54f, 0.52f, 5}}),
                out.Triangles());
}

bool WriteCatalogue(const std::string& dir) {
  // The catalogue of the model service: bodies and garments by id.
  const std::string models = dir + "models/";
  std::error_code ec;
  std::filesystem::create_directories(models, ec);
  bool ok = true;
  // The shipped pair under their ids, and others of another build and cut.
  for (const auto& [from, to] : {std::pair{"model.obj", "M-1001.obj"}, std::pair{"cloth.obj", "G-2001.obj"}}) {
    std::filesystem::copy_file(dir + from, models + to, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
      std::fprintf(stderr, "make_assets: cannot copy %s to models/%s\n", from, to);
    }
    ok = !ec && ok;
  }
  {
    const CFigure body(StandingPose(), 0.012, 0.03);  // a fuller build
    const Mesh mesh = Surface(body, 0.011);
    CObjWriter out(models + "M-1002.obj", "model.mtl", "a standing human figure of a fuller build");
    out.Add(
        mesh, kUnitsPerMetre, [&](int t) { return std::string(kLabelGroups[body.LabelAt(Centroid(mesh, t))]); },
        [](const std::string&) { return std::string("skin"); });
    ok = Report("M-1002.obj", out.Ok(), out.Triangles()) && ok;
  }
  const struct {
    const char* id{};
    const char* what{};
    Cut cut;
  } garments[] = {{"G-2002.obj", "a short-sleeved top and shorts", {Cut::ToElbow, Cut::ToKnee}},
                  {"G-2003.obj", "a sleeveless top and trousers", {Cut::None, Cut::ToAnkle}}};
  for (const auto& g : garments) {
    CObjWriter out(models + g.id, "cloth.mtl", g.what);
    AddGarment(out, StandingPose(), 0.014, "", {}, g.cut);
    ok = Report(g.id, out.Ok(), out.Triangles()) && ok;
  }
  ok = WriteMtl(models + "model.mtl", kBodyMaterials) && WriteMtl(models + "cloth.mtl", kClothMaterials) && ok;
  return ok;
}

}  // namespace assets
