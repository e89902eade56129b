#include "HumanFigure.h"

#include <cmath>
#include <limits>

namespace assets {

const char* const kLabelGroups[10] = {"HEAD",      "TRUNK",   "LEFTARM",  "RIGHTARM", "LEFTHAND",
                                      "RIGHTHAND", "LEFTLEG", "RIGHTLEG", "LEFTFOOT", "RIGHTFOOT"};

int PartOfLabel(int label) {
  static const int kParts[10] = {0, 1, 2, 2, 3, 3, 4, 4, 5, 5};
  return kParts[label];
}

namespace {
// Rotates v about the x axis (forward swing towards +z for positive angles
// of a downward vector).
Vec3 SwingX(const Vec3& v, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {v.x, v.y * c - v.z * s, v.y * s + v.z * c};
}
constexpr double kDeg = M_PI / 180.0;
}  // namespace

Skeleton StandingPose() { return WalkingPose(-1.0); }

Skeleton WalkingPose(double phase) {
  const bool walking = phase >= 0;
  const double w = walking ? 2 * M_PI * phase : 0.0;
  Skeleton s;
  const double bob = walking ? 0.015 * std::cos(2 * w) : 0.0;
  s.pelvis = {0, 0.95 + bob, 0};
  s.chest = {0, 1.30 + bob, 0.0};
  s.neck = {0, 1.50 + bob, 0.0};
  s.head = {0, 1.635 + bob, 0.01};
  const double thighLen = 0.43, shinLen = 0.42, upperArm = 0.29, foreArm = 0.26;
  for (int side = 0; side < 2; ++side) {
    const double sx = side == 0 ? 1.0 : -1.0;  // 0: the figure's left (+x)
    const double sign = side == 0 ? 1.0 : -1.0;
    // Legs: hip flexion swings the thigh forward, the knee bends in swing.
    const double hipAngle = walking ? 24 * kDeg * std::sin(w) * sign : 0.0;
    const double knee = walking ? 32 * kDeg * std::max(0.0, std::sin(w * sign + 0.9 * sign)) + 5 * kDeg : 2 * kDeg;
    s.hip[side] = {0.09 * sx, 0.93 + bob, 0.0};
    const Vec3 thighDir = SwingX({0, -1, 0}, -hipAngle);
    s.knee[side] = s.hip[side] + thighDir * thighLen;
    const Vec3 shinDir = SwingX(thighDir, knee);
    s.ankle[side] = s.knee[side] + shinDir * shinLen;
    s.toe[side] = s.ankle[side] + Vec3{0.01 * sx, -0.045, 0.16};
    // Arms swing against the legs; elbows bend a little.
    const double armAngle = walking ? -18 * kDeg * std::sin(w) * sign : 0.0;
    s.shoulder[side] = {0.185 * sx, 1.435 + bob, -0.01};
    const Vec3 upperDir = Normalise(SwingX(Vec3{0.22 * sx, -1, 0}, -armAngle));
    s.elbow[side] = s.shoulder[side] + upperDir * upperArm;
    const Vec3 foreDir = Normalise(SwingX(Vec3{0.1 * sx, -1, 0}, -armAngle - (walking ? 20 : 8) * kDeg));
    s.wrist[side] = s.elbow[side] + foreDir * foreArm;
    s.handTip[side] = s.wrist[side] + foreDir * 0.17;
  }
  // Keep the lower foot on the ground.
  const double lowest = std::min(s.toe[0].y, s.toe[1].y) - 0.035;
  const double lift = -lowest;
  for (Vec3* p : {&s.pelvis, &s.chest, &s.neck, &s.head}) {
    p->y += lift;
  }
  for (int side = 0; side < 2; ++side) {
    for (Vec3* p : {&s.shoulder[side], &s.elbow[side], &s.wrist[side], &s.handTip[side], &s.hip[side], &s.knee[side],
                    &s.ankle[side], &s.toe[side]}) {
      p->y += lift;
    }
  }
  return s;
}

double Primitive::Distance(const Vec3& p) const {
  switch (kind) {
    case Capsule:
      return TaperedCapsule(p, a, b, ra, rb);
    case Ell:
      return Ellipsoid(p, a, size);
    case Box:
      return RoundBox(p, a, size, ra);
  }
  return 1e9;
}

CFigure::CFigure(const Skeleton& s, double inflate, double blend) : m_skeleton(s), m_blend(blend) {
  // Within the trunk shapes blend widely into one smooth torso; limbs and
  // head blend narrowly, so arms do not web to the body.
  for (double& b : m_clusterBlend) {
    b = blend;
  }
  m_clusterBlend[LTrunk] = blend + 0.05;
  const double g = inflate;
  auto cap = [&](Vec3 a, Vec3 b, double ra, double rb, int label) {
    Add({Primitive::Capsule, a, b, ra + g, rb + g, {}, label});
  };
  auto ell = [&](Vec3 c, Vec3 r, int label) { Add({Primitive::Ell, c, {}, 0, 0, r + Vec3{g, g, g}, label}); };
  // Head and neck.
  ell(s.head, {0.077, 0.102, 0.093}, LHead);
  ell(s.head + Vec3{0, -0.055, 0.035}, {0.058, 0.05, 0.06}, LHead);  // jaw
  ell(s.head + Vec3{0, 0.0, 0.088}, {0.012, 0.022, 0.02}, LHead);    // nose
  cap(s.neck + Vec3{0, -0.03, -0.005}, s.head + Vec3{0, -0.06, -0.01}, 0.052, 0.048, LHead);
  // Trunk: chest, waist, pelvis, shoulder girdle.
  ell(s.chest + Vec3{0, 0.02, 0.005}, {0.165, 0.17, 0.105}, LTrunk);
  ell(Lerp(s.chest, s.pelvis, 0.55), {0.14, 0.15, 0.095}, LTrunk);
  ell(s.pelvis + Vec3{0, -0.005, -0.005}, {0.15, 0.105, 0.1}, LTrunk);
  cap(s.shoulder[0] + Vec3{0.0, -0.035, 0}, s.shoulder[1] + Vec3{0.0, -0.035, 0}, 0.05, 0.05, LTrunk);
  cap(s.hip[0] + Vec3{0, 0.01, 0}, s.hip[1] + Vec3{0, 0.01, 0}, 0.07, 0.07, LTrunk);
  for (int side = 0; side < 2; ++side) {
    const int arm = side == 0 ? LLeftArm : LRightArm, hand = side == 0 ? LLeftHand : LRightHand;
    const int leg = side == 0 ? LLeftLeg : LRightLeg, foot = side == 0 ? LLeftFoot : LRightFoot;
    cap(s.shoulder[side] + Vec3{0, -0.01, 0}, s.elbow[side], 0.052, 0.037, arm);
    cap(s.elbow[side], s.wrist[side], 0.037, 0.027, arm);
    // Hand: palm and a mitten of fingers.
    const Vec3 palm = Lerp(s.wrist[side], s.handTip[side], 0.35);
    cap(s.wrist[side], palm, 0.028, 0.033, hand);
    cap(palm, s.handTip[side], 0.032, 0.02, hand);
    cap(Lerp(s.wrist[side], s.handTip[side], 0.25) + Vec3{0, 0, 0.025}, palm + Vec3{0, -0.02, 0.04}, 0.014, 0.011,
        hand);  // thumb
    cap(s.hip[side] + Vec3{0, 0.0, 0}, s.knee[side], 0.092, 0.056, leg);
    cap(s.knee[side], s.ankle[side], 0.054, 0.034, leg);
    cap(Lerp(s.knee[side], s.ankle[side], 0.2) + Vec3{0, 0, -0.012}, Lerp(s.knee[side], s.ankle[side], 0.45), 0.045,
        0.04, leg);  // calf
    cap(s.ankle[side] + Vec3{0, -0.005, -0.035}, s.toe[side], 0.045, 0.035, foot);
  }
}

double CFigure::Distance(const Vec3& p) const {
  double cluster[16];
  for (double& c : cluster) {
    c = std::numeric_limits<double>::max();
  }
  for (const Primitive& prim : m_parts) {
    const int c = (prim.cluster >= 0 ? prim.cluster : prim.label) & 15;
    cluster[c] = SmoothMin(cluster[c], prim.Distance(p), m_clusterBlend[c]);
  }
  double d = std::numeric_limits<double>::max();
  for (double c : cluster) {
    if (c < 1e300) {
      d = SmoothMin(d, c, m_blend);
    }
  }
  return d;
}

int CFigure::LabelAt(const Vec3& p) const {
  double best = std::numeric_limits<double>::max();
  int label = LTrunk;
  for (const Primitive& prim : m_parts) {
    const double d = prim.Distance(p);
    if (d < best) {
      best = d;
      label = prim.label;
    }
  }
  return label;
}

}  // namespace assets
