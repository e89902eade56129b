// Facet normals, smoothed vertex normals with a crease angle, and scaling.

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "ObjReader.h"

namespace {
inline bool Finite3(const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// Runs work(part, begin, end) over [0, count) in contiguous parts, one per
// core when the count pays for the threads; returns the number of parts.
template <class Work>
unsigned InParts(std::size_t count, Work work) {
  const unsigned cores = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
  const unsigned parts = count >= 200000 ? cores : 1;
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < parts; ++i) {
    threads.emplace_back(work, i, count * i / parts, count * (i + 1) / parts);
  }
  work(0u, std::size_t{0}, count / parts);
  for (std::thread& t : threads) {
    t.join();
  }
  return parts;
}
}  // namespace

void glmComputeFacetNormals(ObjModel* model) {
  const std::uint32_t n = model->triangleCount;
  model->facetNormalCount = n;
  model->facetNormals.assign(3 * (static_cast<std::size_t>(n) + 1), 0.0f);
  const float* v = model->vertices.data();
  // Each triangle's normal is its own: the triangles split among the cores.
  InParts(n, [&](unsigned, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      ObjTriangle& t = model->triangles[i];
      t.facetNormalIndex = static_cast<std::uint32_t>(i + 1);
      const float* a = v + 3 * t.vertexIndex[0];
      const float* b = v + 3 * t.vertexIndex[1];
      const float* c = v + 3 * t.vertexIndex[2];
      const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
      const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      float cr[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
      const float len = std::sqrt(cr[0] * cr[0] + cr[1] * cr[1] + cr[2] * cr[2]);
      float* out = &model->facetNormals[3 * (i + 1)];
      // A zero-area triangle, or one with coordinates that are not numbers,
      // has a zero normal.
      if (len > 0.0f && std::isfinite(len)) {
        out[0] = cr[0] / len, out[1] = cr[1] / len, out[2] = cr[2] / len;
        if (!Finite3(out)) {
          out[0] = out[1] = out[2] = 0.0f;
        }
      }
    }
  });
}

void glmVertexNormals(ObjModel* model, float angle, ObjDiagnostics* diagnostics) {
  const float threshold = static_cast<float>(std::cos(angle * 3.14159265 / 180.0));
  const std::uint32_t nt = model->triangleCount, nv = model->vertexCount;
  if (model->facetNormals.size() < 3 * (static_cast<std::size_t>(nt) + 1)) {
    glmComputeFacetNormals(model);
  }

  // The vertices split among the cores into contiguous ranges, each making
  // its normals in vertex order into a list of its own; joined in range
  // order with each range's indices moved past the ranges before it, the
  // result is the one a single pass over all vertices gives.
  const float* facets = model->facetNormals.data();
  struct Part {
    std::vector<float> normals;
    // Uses of each vertex of the range, in a flat array per vertex, from its
    // last-used triangle to its first; a use is one corner of one triangle,
    // so a vertex that a degenerate triangle names twice gets each of those
    // corners set.
    std::vector<std::uint32_t> start, uses;
    std::size_t lonely = 0;  // vertices without a triangle
    std::uint32_t first = 1, last = 1;
  };
  std::vector<Part> parts(8);
  const unsigned used = InParts(nv, [&](unsigned part, std::size_t begin, std::size_t end) {
    Part& out = parts[part];
    out.first = static_cast<std::uint32_t>(begin + 1), out.last = static_cast<std::uint32_t>(end + 1);
    const std::uint32_t first = out.first, span = out.last - out.first;
    std::vector<std::uint32_t>& start = out.start;
    start.assign(static_cast<std::size_t>(span) + 1, 0);
    for (const ObjTriangle& t : model->triangles) {
      for (std::uint32_t c = 0; c < 3; ++c) {
        if (t.vertexIndex[c] - first < span) {
          ++start[t.vertexIndex[c] - first + 1];
        }
      }
    }
    for (std::size_t i = 1; i < start.size(); ++i) {
      start[i] += start[i - 1];
    }
    std::vector<std::uint32_t>& uses = out.uses;  // triangle * 3 + corner
    uses.resize(start.back());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (std::uint32_t i = nt; i-- > 0;) {
      for (std::uint32_t c = 0; c < 3; ++c) {
        const std::uint32_t v = model->triangles[i].vertexIndex[c] - first;
        if (v < span) {
          uses[fill[v]++] = 3 * i + c;
        }
      }
    }
    std::vector<float>& normals = out.normals;
    if (part == 0) {
      normals.assign(3, 0.0f);  // the unused entry 0
    }
    std::vector<unsigned char> averaged;
    for (std::uint32_t v = out.first; v < out.last; ++v) {
      const std::uint32_t* b = uses.data() + start[v - first];
      const std::uint32_t* e = uses.data() + start[v - first + 1];
      if (b == e) {
        ++out.lonely;
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
        if (len > 0.0f && std::isfinite(len)) {
          sum[0] /= len, sum[1] /= len, sum[2] /= len;
        } else {
          sum[0] = sum[1] = sum[2] = 0.0f;
        }
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
  });
  std::size_t total = 0, lonely = 0;
  for (unsigned i = 0; i < used; ++i) {
    total += parts[i].normals.size(), lonely += parts[i].lonely;
  }
  std::vector<float> normals;
  normals.reserve(total);
  for (unsigned i = 0; i < used; ++i) {
    const auto offset = static_cast<std::uint32_t>(normals.size() / 3);
    if (offset) {
      for (std::uint32_t use : parts[i].uses) {
        model->triangles[use / 3].normalIndex[use % 3] += offset;
      }
    }
    normals.insert(normals.end(), parts[i].normals.begin(), parts[i].normals.end());
    std::vector<float>().swap(parts[i].normals);
  }
  if (lonely && diagnostics) {
    diagnostics->push_back("glmVertexNormals(): vertex w/o a triangle (" + std::to_string(lonely) + " such vertices)");
  }
  model->normalCount = static_cast<std::uint32_t>(normals.size() / 3 - 1);
  model->normals = std::move(normals);
}

void glmScaleModel(ObjModel* model, float factor) {
  for (std::size_t i = 3; i < model->vertices.size(); ++i) {
    model->vertices[i] *= factor;
  }
}
