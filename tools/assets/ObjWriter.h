#pragma once
// Writes meshes as OBJ groups with a material library: only the vertices
// that kept triangles use, numbered across every mesh of the file.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SurfaceNets.h"

namespace assets {

class CObjWriter {
 public:
  CObjWriter(const std::string& path, const std::string& mtlLibrary, const std::string& comment);
  ~CObjWriter();
  bool Ok() const { return m_file != nullptr; }
  // Adds the triangles of `mesh` whose group (by `groupOf`, empty to leave a
  // triangle out) is named, scaled by `scale`; each group uses `material`.
  void Add(const Mesh& mesh, double scale, const std::function<std::string(int triangle)>& groupOf,
           const std::function<std::string(const std::string& group)>& materialOf);
  std::size_t Triangles() const { return m_triangles; }

 private:
  FILE* m_file = nullptr;
  int m_vertexBase = 0;
  std::size_t m_triangles = 0;
};

struct MaterialSpec {
  std::string name;
  float r, g, b;
  float shininess;  // the Ns value
};
bool WriteMtl(const std::string& path, const std::vector<MaterialSpec>& materials);

}  // namespace assets
