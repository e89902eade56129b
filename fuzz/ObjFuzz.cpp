// Fuzzes the OBJ/MTL reader: one input is split at the first 0x1E byte into
// an OBJ text and the material library "f.mtl" beside it. Every index of the
// model read must stay within its arrays, as drawing assumes.

#include "ObjReader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {
std::string Folder() {
  static std::string dir = [] {
    char tmpl[] = "/tmp/corvane-objfuzz-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp") + "/";
  }();
  return dir;
}

void WriteFile(const std::string& path, std::string_view text) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}

void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = in.find('\x1e');
  const std::string obj = Folder() + "m.obj", mtl = Folder() + "f.mtl";
  WriteFile(obj, in.substr(0, cut));
  if (cut == std::string_view::npos) std::remove(mtl.c_str());
  else WriteFile(mtl, in.substr(cut + 1));

  ObjModel* m = glmReadOBJ(obj.c_str());
  if (!m) return 0;
  glmComputeFacetNormals(m);
  glmVertexNormals(m, 90.0f);
  glmScaleModel(m, 0.06f);
  Check(m->vertices.size() == 3 * (m->vertexCount + 1u));
  Check(m->normals.size() == 3 * (m->normalCount + 1u));
  Check(m->texCoords.empty() || m->texCoords.size() == 2 * (m->texCoordCount + 1u));
  for (const ObjTriangle& t : m->triangles)
    for (int c = 0; c < 3; ++c) {
      Check(t.vertexIndex[c] >= 1 && t.vertexIndex[c] <= m->vertexCount);
      Check(t.normalIndex[c] >= 1 && t.normalIndex[c] <= m->normalCount);
      Check(t.texCoordIndex[c] <= m->texCoordCount);
      Check(t.facetNormalIndex >= 1 && t.facetNormalIndex <= m->facetNormalCount);
      for (int i = 0; i < 3; ++i) Check(std::isfinite(m->normals[3 * t.normalIndex[c] + static_cast<unsigned>(i)]));
    }
  for (const ObjGroup& g : m->groups) {
    Check(g.name.size() <= kObjMaxWord);
    Check(g.material == 0 || g.material < m->materials.size());
    for (std::uint32_t t : g.triangleIndices) Check(t < m->triangleCount);
  }
  glmFreeModel(m);
  return 0;
}
