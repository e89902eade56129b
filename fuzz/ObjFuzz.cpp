// Fuzzes the OBJ/MTL reader: one input is split at the first 0x1E byte into
// an OBJ text and the text of the material library it names, both read from
// memory. Every index of the model read must stay within its arrays, as
// drawing assumes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ObjReader.h"

namespace {
void Check(bool ok) {
  if (!ok) {
    std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = in.find('\x1e');
  const std::string_view obj = in.substr(0, cut);
  const std::string_view mtl = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);
  ObjDiagnostics diagnostics;  // kept, not printed: the fuzzer's output stays its own
  ObjModel* m = glmReadOBJFromMemory("m.obj", obj.data(), obj.size(), &diagnostics, &mtl);
  if (!m) {
    return 0;
  }
  glmComputeFacetNormals(m);
  glmVertexNormals(m, kCreaseAngle, &diagnostics);
  glmScaleModel(m, kModelScale);
  Check(m->vertices.size() == 3 * (static_cast<std::size_t>(m->vertexCount) + 1));
  Check(m->normals.size() == 3 * (static_cast<std::size_t>(m->normalCount) + 1));
  Check(m->texCoords.empty() || m->texCoords.size() == 2 * (static_cast<std::size_t>(m->texCoordCount) + 1));
  for (const ObjTriangle& t : m->triangles) {
    for (int c = 0; c < 3; ++c) {
      Check(t.vertexIndex[c] >= 1 && t.vertexIndex[c] <= m->vertexCount);
      Check(t.normalIndex[c] >= 1 && t.normalIndex[c] <= m->normalCount);
      Check(t.texCoordIndex[c] <= m->texCoordCount);
      Check(t.facetNormalIndex >= 1 && t.facetNormalIndex <= m->facetNormalCount);
      for (int i = 0; i < 3; ++i) {
        Check(std::isfinite(m->normals[3 * t.normalIndex[c] + static_cast<unsigned>(i)]));
      }
    }
  }
  for (const ObjGroup& g : m->groups) {
    Check(g.name.size() <= kObjMaxWord);
    Check(g.material == 0 || g.material < m->materials.size());
    for (std::uint32_t t : g.triangleIndices) {
      Check(t < m->triangleCount);
    }
  }
  glmFreeModel(m);
  return 0;
}
