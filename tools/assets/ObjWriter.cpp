#include "ObjWriter.h"

#include <map>

namespace assets {

CObjWriter::CObjWriter(const std::string& path, const std::string& mtlLibrary, const std::string& comment)
    : m_file(std::fopen(path.c_str(), "wb")) {
  if (!m_file) {
    return;
  }
  std::fprintf(m_file, "# %s\n# made by Corvane's model generator\nmtllib %s\n", comment.c_str(), mtlLibrary.c_str());
}

CObjWriter::~CObjWriter() {
  if (m_file) {
    std::fclose(m_file);
  }
}

void CObjWriter::Add(const Mesh& mesh, double scale, const std::function<std::string(int)>& groupOf,
                     const std::function<std::string(const std::string&)>& materialOf) {
  if (!m_file) {
    return;
  }
  std::map<std::string, std::vector<int>> groups;
  std::vector<std::string> order;
  for (int t = 0; t < static_cast<int>(mesh.triangles.size()); ++t) {
    const std::string g = groupOf(t);
    if (g.empty()) {
      continue;
    }
    auto [it, fresh] = groups.try_emplace(g);
    if (fresh) {
      order.push_back(g);
    }
    it->second.push_back(t);
  }
  std::vector<int> index(mesh.vertices.size(), 0);
  int next = m_vertexBase;
  for (const auto& [name, tris] : groups) {
    for (int t : tris) {
      for (int v : mesh.triangles[static_cast<std::size_t>(t)]) {
        if (index[static_cast<std::size_t>(v)] == 0) {
          index[static_cast<std::size_t>(v)] = ++next;
        }
      }
    }
  }
  // Vertices in their new order.
  std::vector<const Vec3*> ordered(static_cast<std::size_t>(next - m_vertexBase));
  for (std::size_t v = 0; v < index.size(); ++v) {
    if (index[v]) {
      ordered[static_cast<std::size_t>(index[v] - m_vertexBase - 1)] = &mesh.vertices[v];
    }
  }
  for (const Vec3* p : ordered) {
    std::fprintf(m_file, "v %.4f %.4f %.4f\n", p->x * scale, p->y * scale, p->z * scale);
  }
  for (const std::string& name : order) {
    std::fprintf(m_file, "g %s\nusemtl %s\n", name.c_str(), materialOf(name).c_str());
    for (int t : groups[name]) {
      const auto& tri = mesh.triangles[static_cast<std::size_t>(t)];
      std::fprintf(m_file, "f %d %d %d\n", index[static_cast<std::size_t>(tri[0])],
                   index[static_cast<std::size_t>(tri[1])], index[static_cast<std::size_t>(tri[2])]);
      ++m_triangles;
    }
  }
  m_vertexBase = next;
}

bool WriteMtl(const std::string& path, const std::vector<MaterialSpec>& materials) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    return false;
  }
  std::fprintf(f, "# made by Corvane's model generator\n");
  for (const MaterialSpec& m : materials) {
    std::fprintf(f, "newmtl %s\nKa %.3f %.3f %.3f\nKd %.3f %.3f %.3f\nKs 0.1 0.1 0.1\nNs %.1f\nillum 2\n\n",
                 m.name.c_str(), m.r * 0.3, m.g * 0.3, m.b * 0.3, m.r, m.g, m.b, m.shininess);
  }
  return std::fclose(f) == 0;
}

}  // namespace assets
