#pragma once
// Signed-distance primitives (negative inside) and the smooth union that
// blends them, for modelling bodies and suits.

#include <algorithm>
#include <vector>

#include "Vec3.h"

namespace assets {

// A segment from a to b whose radius goes from ra to rb: limbs and necks.
inline double TaperedCapsule(const Vec3& p, const Vec3& a, const Vec3& b, double ra, double rb) {
  const Vec3 ab = b - a, ap = p - a;
  const double t = std::clamp(Dot(ap, ab) / std::max(Dot(ab, ab), 1e-12), 0.0, 1.0);
  return Length(ap - ab * t) - (ra + (rb - ra) * t);
}

// An axis-aligned ellipsoid (approximate distance, exact sign).
inline double Ellipsoid(const Vec3& p, const Vec3& c, const Vec3& r) {
  const Vec3 q = p - c;
  const Vec3 s{q.x / r.x, q.y / r.y, q.z / r.z};
  const double k0 = Length(s);
  const double k1 = Length(Vec3{s.x / r.x, s.y / r.y, s.z / r.z});
  return k1 > 0 ? k0 * (k0 - 1.0) / k1 : -std::min({r.x, r.y, r.z});
}

// A box with rounded edges: centre, half sizes, edge radius.
inline double RoundBox(const Vec3& p, const Vec3& c, const Vec3& half, double r) {
  const Vec3 q{std::fabs(p.x - c.x) - half.x + r, std::fabs(p.y - c.y) - half.y + r, std::fabs(p.z - c.z) - half.z + r};
  const Vec3 o{std::max(q.x, 0.0), std::max(q.y, 0.0), std::max(q.z, 0.0)};
  return Length(o) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0) - r;
}

// Polynomial smooth minimum: blends two surfaces over a width k.
inline double SmoothMin(double a, double b, double k) {
  if (k <= 0) {
    return std::min(a, b);
  }
  const double h = std::clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
  return b + (a - b) * h - k * h * (1.0 - h);
}

// A shape made of labelled primitives: its distance is their smooth union;
// a point belongs to the label of the nearest primitive.
struct LabelledDistance {
  double distance;
  int label;
};

}  // namespace assets
