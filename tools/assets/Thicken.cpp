#include "Thicken.h"

#include <cstdint>
#include <unordered_map>

namespace assets {

Mesh SubMesh(const Mesh& mesh, const std::vector<bool>& keep, std::vector<int>& source) {
  Mesh out;
  source.clear();
  std::vector<int> index(mesh.vertices.size(), -1);
  for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
    if (!keep[t]) {
      continue;
    }
    std::array<int, 3> tri{};
    for (int c = 0; c < 3; ++c) {
      int& i = index[static_cast<std::size_t>(mesh.triangles[t][static_cast<std::size_t>(c)])];
      if (i < 0) {
        i = static_cast<int>(out.vertices.size());
        out.vertices.push_back(mesh.vertices[static_cast<std::size_t>(mesh.triangles[t][static_cast<std::size_t>(c)])]);
      }
      tri[static_cast<std::size_t>(c)] = i;
    }
    out.triangles.push_back(tri);
    source.push_back(static_cast<int>(t));
  }
  return out;
}

Mesh Thicken(const Mesh& open, double thickness, std::vector<int>& source) {
  const int n = static_cast<int>(open.vertices.size());
  // Area-weighted vertex normals.
  std::vector<Vec3> normal(open.vertices.size());
  for (const auto& t : open.triangles) {
    const Vec3 &a = open.vertices[static_cast<std::size_t>(t[0])], &b = open.vertices[static_cast<std::size_t>(t[1])],
               &c = open.vertices[static_cast<std::size_t>(t[2])];
    const Vec3 f = Cross(b - a, c - a);
    for (int v : t) {
      normal[static_cast<std::size_t>(v)] += f;
    }
  }
  Mesh out;
  out.vertices = open.vertices;
  for (int v = 0; v < n; ++v) {
    out.vertices.push_back(open.vertices[static_cast<std::size_t>(v)] -
                           Normalise(normal[static_cast<std::size_t>(v)]) * thickness);
  }
  source.clear();
  // Outer faces, then the inner ones turned round.
  for (std::size_t t = 0; t < open.triangles.size(); ++t) {
    out.triangles.push_back(open.triangles[t]);
    source.push_back(static_cast<int>(t));
  }
  for (std::size_t t = 0; t < open.triangles.size(); ++t) {
    const auto& tri = open.triangles[t];
    out.triangles.push_back({tri[1] + n, tri[0] + n, tri[2] + n});
    source.push_back(static_cast<int>(t));
  }
  // The rim: along each open edge a -> b (whose reverse no face has), a quad
  // from the outer edge to the inner one.
  std::unordered_map<std::uint64_t, int> edgeFace;
  auto key = [](int a, int b) {
    return (static_cast<std::uint64_t>(static_cast<unsigned>(a)) << 32) | static_cast<unsigned>(b);
  };
  for (std::size_t t = 0; t < open.triangles.size(); ++t) {
    for (int c = 0; c < 3; ++c) {
      edgeFace[key(open.triangles[t][static_cast<std::size_t>(c)],
                   open.triangles[t][static_cast<std::size_t>((c + 1) % 3)])] = static_cast<int>(t);
    }
  }
  for (std::size_t t = 0; t < open.triangles.size(); ++t) {
    for (int c = 0; c < 3; ++c) {
      const int a = open.triangles[t][static_cast<std::size_t>(c)],
                b = open.triangles[t][static_cast<std::size_t>((c + 1) % 3)];
      if (edgeFace.count(key(b, a))) {
        continue;
      }
      out.triangles.push_back({b, a, a + n});
      out.triangles.push_back({b, a + n, b + n});
      source.push_back(static_cast<int>(t));
      source.push_back(static_cast<int>(t));
    }
  }
  return out;
}

}  // namespace assets
