#pragma once
// Polygonising a signed-distance field with surface nets: one vertex per
// grid cell that the surface crosses, one quad per crossed grid edge, split
// into triangles; vertices are then pulled onto the surface.

#include <array>
#include <functional>
#include <vector>

#include "Vec3.h"

namespace assets {

struct Mesh {
  std::vector<Vec3> vertices;
  std::vector<std::array<int, 3>> triangles;  // counter-clockwise seen from outside
};

using DistanceField = std::function<double(const Vec3&)>;

// Polygonises the surface f = 0 inside [lo, hi] with cells of size `cell`.
Mesh Polygonise(const DistanceField& f, const Vec3& lo, const Vec3& hi, double cell);

}  // namespace assets
