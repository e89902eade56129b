#include "ObjIndexing.h"

#include <unordered_map>

namespace {
// A corner is the whole triple: indices may use all 32 bits each, so no
// packing of them into one word can be free of collisions.
struct Corner {
  std::uint32_t vertex, normal, texCoord;
  bool operator==(const Corner&) const = default;
};
struct CornerHash {
  std::size_t operator()(const Corner& c) const {
    std::uint64_t h = c.vertex * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) + c.normal * 0xC2B2AE3D27D4EB4Full;
    h ^= (h >> 31) + c.texCoord * 0x165667B19E3779F9ull;
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
};
}  // namespace

ObjIndexedMesh glmIndexCorners(const ObjModel& m, bool smooth) {
  ObjIndexedMesh mesh;
  smooth = smooth && m.HasNormals();
  const bool tex = m.HasTexCoords();
  std::unordered_map<Corner, std::uint32_t, CornerHash> corners;
  corners.reserve(static_cast<std::size_t>(m.vertexCount) * 2);
  mesh.groups.reserve(m.groups.size());
  for (const ObjGroup& g : m.groups) {
    std::vector<std::uint32_t> indices;
    indices.reserve(g.triangleIndices.size() * 3);
    for (std::uint32_t ti : g.triangleIndices) {
      const ObjTriangle& t = m.triangles[ti];
      for (int c = 0; c < 3; ++c) {
        const Corner key{t.vertexIndex[c], smooth ? t.normalIndex[c] : t.facetNormalIndex,
                         tex ? t.texCoordIndex[c] : 0};
        auto [it, fresh] = corners.try_emplace(key, static_cast<std::uint32_t>(mesh.positions.size() / 3));
        if (fresh) {
          const float* p = &m.vertices[3 * std::size_t{key.vertex}];
          const float* n =
              smooth ? &m.normals[3 * std::size_t{key.normal}] : &m.facetNormals[3 * std::size_t{key.normal}];
          mesh.positions.insert(mesh.positions.end(), p, p + 3);
          mesh.normals.insert(mesh.normals.end(), n, n + 3);
          if (tex) {
            const float* uv = &m.texCoords[2 * std::size_t{key.texCoord}];
            mesh.texCoords.insert(mesh.texCoords.end(), uv, uv + 2);
          }
        }
        indices.push_back(it->second);
      }
    }
    mesh.groups.push_back(std::move(indices));
  }
  return mesh;
}
