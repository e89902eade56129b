// Facet normals, smoothed vertex normals with a crease angle, and scaling.

#include <cmath>

#include "ObjReader.h"

namespace {
inline bool Finite3(const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }
}  // namespace

void glmComputeFacetNormals(ObjModel* model) {
  const std::uint32_t n = model->triangleCount;
  model->facetNormalCount = n;
  model->facetNormals.assign(3 * (static_cast<std::size_t>(n) + 1), 0.0f);
  const float* v = model->vertices.data();
  for (std::uint32_t i = 0; i < n; ++i) {
    ObjTriangle& t = model->triangles[i];
    t.facetNormalIndex = i + 1;
    const float* a = v + 3 * t.vertexIndex[0];
    const float* b = v + 3 * t.vertexIndex[1];
    const float* c = v + 3 * t.vertexIndex[2];
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    float cr[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    const float len = std::sqrt(cr[0] * cr[0] + cr[1] * cr[1] + cr[2] * cr[2]);
    float* out = &model->facetNormals[3 * (static_cast<std::size_t>(i) + 1)];
    // A zero-area triangle, or one with coordinates that are not numbers,
    // has a zero normal.
    if (len > 0.0f && std::isfinite(len)) {
      out[0] = cr[0] / len, out[1] = cr[1] / len, out[2] = cr[2] / len;
      if (!Finite3(out)) out[0] = out[1] = out[2] = 0.0f;
    }
  }
}

void glmVertexNormals(ObjModel* model, float angle, ObjDiagnostics* diagnostics) {
  const float threshold = static_cast<float>(std::cos(angle * 3.14159265 / 180.0));
  const std::uint32_t nt = model->triangleCount, nv = model->vertexCount;
  if (model->facetNormals.size() < 3 * (static_cast<std::size_t>(nt) + 1)) glmComputeFacetNormals(model);

  // Uses of each vertex, in a flat array per vertex, from its last-used
  // triangle to its first; a use is one corner of one triangle, so a vertex
  // that a degenerate triangle names twice gets each of those corners set.
  std::vector<std::uint32_t> start(static_cast<std::size_t>(nv) + 2, 0);
  for (const ObjTriangle& t : model->triangles)
    for (std::uint32_t c = 0; c < 3; ++c) ++start[t.vertexIndex[c] + 1];
  for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
  std::vector<std::uint32_t> uses(3 * static_cast<std::size_t>(nt));  // triangle * 3 + corner
  std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
  for (std::uint32_t i = nt; i-- > 0;)
    for (std::uint32_t c = 0; c < 3; ++c) uses[fill[model->triangles[i].vertexIndex[c]]++] = 3 * i + c;
  std::vector<float> normals;
  normals.reserve(3 * (3 * static_cast<std::size_t>(nt) + 1));
  normals.assign(3, 0.0f);
  const float* facets = model->facetNormals.data();
  std::vector<unsigned char> averaged;
  for (std::uint32_t v = 1; v <= nv; ++v) {
    const std::uint32_t* b = uses.data() + start[v];
    const std::uint32_t* e = uses.data() + start[v + 1];
    if (b == e) {
      if (diagnostics) diagnostics->push_back("glmVertexNormals(): vertex w/o a triangle");
      continue;
    }
    const float* ref = facets + 3 * model->triangles[*b / 3].facetNormalIndex;
    float sum[3] = {0, 0, 0};
    bool any = false;
    averaged.assign(static_cast<std::size_t>(e - b), 0);
    for (const std::uint32_t* u = b; u < e; ++u) {
      const float* f = facets + 3 * model->triangles[*u / 3].facetNormalIndex;
      if (f[0] * ref[0] + f[1] * ref[1] + f[2] * ref[2] > threshold) {
        averaged[static_cast<std::size_t>(u - b)] = 1;
        sum[0] += f[0], sum[1] += f[1], sum[2] += f[2];
        any = true;
      }
    }
    std::uint32_t avgIndex = 0;
    if (any) {
      const float len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
      if (len > 0.0f && std::isfinite(len))
        sum[0] /= len, sum[1] /= len, sum[2] /= len;
      else
        sum[0] = sum[1] = sum[2] = 0.0f;
      avgIndex = static_cast<std::uint32_t>(normals.size() / 3);
      normals.insert(normals.end(), sum, sum + 3);
    }
    for (const std::uint32_t* u = b; u < e; ++u) {
      ObjTriangle& t = model->triangles[*u / 3];
      if (averaged[static_cast<std::size_t>(u - b)]) {
        t.normalIndex[*u % 3] = avgIndex;
      } else {
        const float* f = facets + 3 * t.facetNormalIndex;
        t.normalIndex[*u % 3] = static_cast<std::uint32_t>(normals.size() / 3);
        normals.insert(normals.end(), f, f + 3);
      }
    }
  }
  model->normalCount = static_cast<std::uint32_t>(normals.size() / 3 - 1);
  normals.shrink_to_fit();
  model->normals = std::move(normals);
}

void glmScaleModel(ObjModel* model, float factor) {
  for (std::size_t i = 3; i < model->vertices.size(); ++i) model->vertices[i] *= factor;
}
