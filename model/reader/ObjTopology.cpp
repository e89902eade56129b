#include "ObjTopology.h"

#include <algorithm>
#include <vector>

bool IsClosedOutward(const ObjModel& m) {
  if (m.triangles.empty()) {
    return false;
  }
  // The directed edges grouped by their first vertex (a counting sort), each
  // group sorted: then "used once" is no two equal neighbours, and "used once
  // the other way" is a binary search in the other vertex's group.
  const std::size_t vertices = static_cast<std::size_t>(m.vertexCount) + 1;
  std::vector<std::uint32_t> start(vertices + 1, 0);
  double volume = 0;
  for (const ObjTriangle& t : m.triangles) {
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t a = t.vertexIndex[c], b = t.vertexIndex[(c + 1) % 3];
      if (a == b || a >= vertices || b >= vertices) {
        return false;
      }
      ++start[a + 1];
    }
    const float* p = &m.vertices[std::size_t{3} * t.vertexIndex[0]];
    const float* q = &m.vertices[std::size_t{3} * t.vertexIndex[1]];
    const float* r = &m.vertices[std::size_t{3} * t.vertexIndex[2]];
    volume += p[0] * (static_cast<double>(q[1]) * r[2] - static_cast<double>(q[2]) * r[1]) -
              p[1] * (static_cast<double>(q[0]) * r[2] - static_cast<double>(q[2]) * r[0]) +
              p[2] * (static_cast<double>(q[0]) * r[1] - static_cast<double>(q[1]) * r[0]);
  }
  for (std::size_t i = 1; i < start.size(); ++i) {
    start[i] += start[i - 1];
  }
  std::vector<std::uint32_t> to(start.back()), fill(start.begin(), start.end() - 1);
  for (const ObjTriangle& t : m.triangles) {
    for (int c = 0; c < 3; ++c) {
      to[fill[t.vertexIndex[c]]++] = t.vertexIndex[(c + 1) % 3];
    }
  }
  for (std::size_t a = 0; a < vertices; ++a) {
    const auto b = to.begin() + start[a], e = to.begin() + start[a + 1];
    std::sort(b, e);
    if (std::adjacent_find(b, e) != e) {
      return false;  // an edge used twice the same way
    }
  }
  for (std::size_t a = 0; a < vertices; ++a) {
    for (std::uint32_t k = start[a]; k < start[a + 1]; ++k) {
      const std::uint32_t b = to[k];
      if (!std::binary_search(to.begin() + start[b], to.begin() + start[b + 1], static_cast<std::uint32_t>(a))) {
        return false;  // never used the other way
      }
    }
  }
  return volume > 0;
}
