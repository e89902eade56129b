#include "ObjIndexing.h"

#include <vector>

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
// The corners met so far and their array entries, in one flat table probed
// linearly: a model's millions of corners cost no allocation each.
class CCornerTable {
 public:
  explicit CCornerTable(std::size_t expected) {
    std::size_t size = 16;
    while (size < expected * 2) {
      size <<= 1;
    }
    m_slots.assign(size, Slot{});
  }
  // The entry of `c`, or `fresh` after adding it with that entry.
  std::uint32_t Find(const Corner& c, std::uint32_t fresh, bool& added) {
    if (2 * (m_count + 1) > m_slots.size()) {
      Grow();
    }
    std::size_t i = CornerHash{}(c) & (m_slots.size() - 1);
    for (;; i = (i + 1) & (m_slots.size() - 1)) {
      Slot& s = m_slots[i];
      if (s.entry == kEmpty) {
        s = {c, fresh};
        ++m_count;
        added = true;
        return fresh;
      }
      if (s.corner == c) {
        added = false;
        return s.entry;
      }
    }
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  struct Slot {
    Corner corner{0, 0, 0};
    std::uint32_t entry = kEmpty;
  };
  void Grow() {
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const Slot& s : old) {
      if (s.entry != kEmpty) {
        std::size_t i = CornerHash{}(s.corner) & (m_slots.size() - 1);
        while (m_slots[i].entry != kEmpty) {
          i = (i + 1) & (m_slots.size() - 1);
        }
        m_slots[i] = s;
      }
    }
  }
  std::vector<Slot> m_slots;
  std::size_t m_count = 0;
};
}  // namespace

ObjIndexedMesh glmIndexCorners(const ObjModel& m, bool smooth) {
  ObjIndexedMesh mesh;
  smooth = smooth && m.HasNormals();
  const bool tex = m.HasTexCoords();
  CCornerTable corners(static_cast<std::size_t>(m.vertexCount) * 2);
  mesh.groups.reserve(m.groups.size());
  // At least one entry per vertex used; more where corners differ.
  mesh.positions.reserve(3 * static_cast<std::size_t>(m.vertexCount));
  mesh.normals.reserve(3 * static_cast<std::size_t>(m.vertexCount));
  for (const ObjGroup& g : m.groups) {
    std::vector<std::uint32_t> indices;
    indices.reserve(g.triangleIndices.size() * 3);
    for (std::uint32_t ti : g.triangleIndices) {
      const ObjTriangle& t = m.triangles[ti];
      for (int c = 0; c < 3; ++c) {
        const Corner key{t.vertexIndex[c], smooth ? t.normalIndex[c] : t.facetNormalIndex,
                         tex ? t.texCoordIndex[c] : 0};
        bool fresh = false;
        const std::uint32_t entry = corners.Find(key, static_cast<std::uint32_t>(mesh.positions.size() / 3), fresh);
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
        indices.push_back(entry);
      }
    }
    mesh.groups.push_back(std::move(indices));
  }
  return mesh;
}
