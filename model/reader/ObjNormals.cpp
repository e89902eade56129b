// Facet normals, smoothed vertex normals with a crease angle, and scaling.

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "ObjReader.h"
#include "internal/HugePages.h"

namespace {
inline bool Finite3(const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// Runs work(range, begin, end) over [0, count) in contiguous ranges, one per
// core when the count pays for the threads; returns the number of ranges.
template <class Work>
unsigned InRanges(std::size_t count, Work work) {
  const unsigned cores = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
  const unsigned ranges = count >= 200000 ? cores : 1;
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < ranges; ++i) {
    threads.emplace_back(work, i, count * i / ranges, count * (i + 1) / ranges);
  }
  work(0u, std::size_t{0}, count / ranges);
  for (std::thread& t : threads) {
    t.join();
  }
  return ranges;
}
}  // namespace

void glmComputeFacetNormals(ObjModel* model) {
  const std::uint32_t n = model->triangleCount;
  model->facetNormalCount = n;
  if (model->facetNormals.capacity() < 3 * (static_cast<std::size_t>(n) + 1)) {
    std::vector<float>().swap(model->facetNormals);
    ReserveHuge(model->facetNormals, 3 * (static_cast<std::size_t>(n) + 1));
  }
  model->facetNormals.assign(3 * (static_cast<std::size_t>(n) + 1), 0.0f);
  const float* v = model->vertices.data();
  // Each triangle's normal is its own: the triangles split among the cores.
  InRanges(n, [&](unsigned, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      ObjTriangle& t = model->triangles[i];
      t.facetNormalIndex = static_cast<std::uint32_t>(i + 1);
      const float* a = v + 3 * static_cast<std::size_t>(t.vertexIndex[0]);
      const float* b = v + 3 * static_cast<std::size_t>(t.vertexIndex[1]);
      const float* c = v + 3 * static_cast<std::size_t>(t.vertexIndex[2]);
      const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
      const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      float cr[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
      const float len = std::sqrt(cr[0] * cr[0] + cr[1] * cr[1] + cr[2] * cr[2]);
      float* out = &model->facetNormals[3 * (i + 1)];
      // A zero-area triangle, or one with coordinates that are not numbers,
      // has a zero normal.
      if (len > 0.0f && std::isfinite(len)) {
        out[0] = cr[0] / len;
        out[1] = cr[1] / len;
        out[2] = cr[2] / len;
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

  // The uses of each vertex (a use is one corner of one triangle, so a
  // vertex that a degenerate triangle names twice gets each of those
  // corners set) are listed from its last-used triangle to its first,
  // linked through the corners' own normal indices, which are written over
  // at the end anyway: the lists cost a head per vertex and nothing per
  // corner. The vertices split among the cores into contiguous ranges, each
  // making its normals in vertex order; joined in range order with each
  // range's indices moved past the ranges before it, the result is the one
  // a single pass over all vertices gives.
  // The normals the file gave are replaced: they go first, so that they
  // never take memory beside the new ones.
  std::vector<float>().swap(model->normals);
  constexpr std::uint32_t kEnd = 0xFFFFFFFFu;
  std::vector<std::uint32_t> heads(static_cast<std::size_t>(nv) + 1, kEnd);
  ObjTriangle* const triangles = model->triangles.data();
  const float* facets = model->facetNormals.data();
  struct Range {
    std::vector<float> normals;
    std::size_t lonely = 0;  // vertices without a triangle
    std::uint32_t first = 1, last = 1;
  };
  std::vector<Range> ranges(8);
  // The first range writes into the model's array, with room for a normal
  // per corner (a normal per vertex as a rule, more where creases split
  // one): room that is never written takes no memory, and the later
  // ranges' normals join without the array growing by copying.
  std::vector<float> normals;
  ReserveHuge(normals, 3 * (3 * static_cast<std::size_t>(nt) + 1));
  const unsigned used = InRanges(nv, [&](unsigned range, std::size_t begin, std::size_t end) {
    Range& out = ranges[range];
    out.first = static_cast<std::uint32_t>(begin + 1);
    out.last = static_cast<std::uint32_t>(end + 1);
    const std::uint32_t first = out.first, span = out.last - out.first;
    // Linked in file order, each in front, with corners last to first, so
    // that a list runs from the last triangle to the first, corners in order.
    std::size_t corners = 0;
    for (std::uint32_t i = 0; i < nt; ++i) {
      ObjTriangle& t = triangles[i];
      for (std::uint32_t c = 3; c-- > 0;) {
        const std::uint32_t v = t.vertexIndex[c];
        if (v - first < span) {
          t.normalIndex[c] = heads[v];
          heads[v] = 3 * i + c;
          ++corners;
        }
      }
    }
    std::vector<float>& to = range == 0 ? normals : out.normals;
    if (range == 0) {
      to.assign(3, 0.0f);  // the unused entry 0
    } else {
      ReserveHuge(to, 3 * corners);
    }
    // A use: its corner, and its triangle's facet normal, or none once the
    // use takes the vertex's average.
    struct Use {
      std::uint32_t corner;
      const float* facet;
    };
    std::vector<Use> uses;
    uses.reserve(64);
    for (std::uint32_t v = out.first; v < out.last; ++v) {
      uses.clear();
      for (std::uint32_t u = heads[v]; u != kEnd;) {
        const ObjTriangle& t = triangles[u / 3];
        uses.push_back({u, facets + 3 * static_cast<std::size_t>(t.facetNormalIndex)});
        u = t.normalIndex[u % 3];
      }
      if (uses.empty()) {
        ++out.lonely;
        continue;
      }
      const float ref[3] = {uses[0].facet[0], uses[0].facet[1], uses[0].facet[2]};
      float sum[3] = {0, 0, 0};
      bool any = false;
      for (Use& use : uses) {
        const float* f = use.facet;
        if (f[0] * ref[0] + f[1] * ref[1] + f[2] * ref[2] > threshold) {
          sum[0] += f[0];
          sum[1] += f[1];
          sum[2] += f[2];
          any = true;
          use.facet = nullptr;
        }
      }
      std::uint32_t avgIndex = 0;
      if (any) {
        const float len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (len > 0.0f && std::isfinite(len)) {
          sum[0] /= len;
          sum[1] /= len;
          sum[2] /= len;
        } else {
          sum[0] = sum[1] = sum[2] = 0.0f;
        }
        avgIndex = static_cast<std::uint32_t>(to.size() / 3);
        to.push_back(sum[0]);
        to.push_back(sum[1]);
        to.push_back(sum[2]);
      }
      for (const Use& use : uses) {
        std::uint32_t& index = triangles[use.corner / 3].normalIndex[use.corner % 3];
        if (!use.facet) {
          index = avgIndex;
        } else {
          index = static_cast<std::uint32_t>(to.size() / 3);
          to.push_back(use.facet[0]);
          to.push_back(use.facet[1]);
          to.push_back(use.facet[2]);
        }
      }
    }
  });
  std::vector<std::uint32_t>().swap(heads);
  std::size_t lonely = ranges[0].lonely;
  for (unsigned i = 1; i < used; ++i) {
    lonely += ranges[i].lonely;
    // The later ranges' indices move past the normals before them.
    const auto offset = static_cast<std::uint32_t>(normals.size() / 3);
    const std::uint32_t first = ranges[i].first, span = ranges[i].last - ranges[i].first;
    InRanges(nt, [&](unsigned, std::size_t begin, std::size_t end) {
      for (std::size_t k = begin; k < end; ++k) {
        ObjTriangle& t = triangles[k];
        for (int c = 0; c < 3; ++c) {
          if (t.vertexIndex[c] - first < span) {
            t.normalIndex[c] += offset;
          }
        }
      }
    });
    normals.insert(normals.end(), ranges[i].normals.begin(), ranges[i].normals.end());
    std::vector<float>().swap(ranges[i].normals);
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
