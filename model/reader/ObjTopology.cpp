#include "ObjTopology.h"

#include <unordered_map>

bool IsClosedOutward(const ObjModel& m) {
  if (m.triangles.empty()) return false;
  std::unordered_map<std::uint64_t, int> edges;
  edges.reserve(m.triangles.size() * 3);
  double volume = 0;
  for (const ObjTriangle& t : m.triangles) {
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t a = t.vertexIndex[c], b = t.vertexIndex[(c + 1) % 3];
      if (a == b) return false;
      if (++edges[(static_cast<std::uint64_t>(a) << 32) | b] > 1) return false;
    }
    const float* p = &m.vertices[3 * t.vertexIndex[0]];
    const float* q = &m.vertices[3 * t.vertexIndex[1]];
    const float* r = &m.vertices[3 * t.vertexIndex[2]];
    volume += p[0] * (static_cast<double>(q[1]) * r[2] - static_cast<double>(q[2]) * r[1]) -
              p[1] * (static_cast<double>(q[0]) * r[2] - static_cast<double>(q[2]) * r[0]) +
              p[2] * (static_cast<double>(q[0]) * r[1] - static_cast<double>(q[1]) * r[0]);
  }
  for (const auto& entry : edges)
    if (!edges.count((entry.first << 32) | (entry.first >> 32))) return false;
  return volume > 0;
}
