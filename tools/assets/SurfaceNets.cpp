#include "SurfaceNets.h"

#include <cmath>

namespace assets {

namespace {
Vec3 Gradient(const DistanceField& f, const Vec3& p, double h) {
  return Vec3{f(p + Vec3{h, 0, 0}) - f(p - Vec3{h, 0, 0}), f(p + Vec3{0, h, 0}) - f(p - Vec3{0, h, 0}),
              f(p + Vec3{0, 0, h}) - f(p - Vec3{0, 0, h})} *
         (0.5 / h);
}
}  // namespace

Mesh Polygonise(const DistanceField& f, const Vec3& lo, const Vec3& hi, double cell) {
  const int nx = static_cast<int>(std::ceil((hi.x - lo.x) / cell)) + 1;
  const int ny = static_cast<int>(std::ceil((hi.y - lo.y) / cell)) + 1;
  const int nz = static_cast<int>(std::ceil((hi.z - lo.z) / cell)) + 1;
  auto at = [&](int i, int j, int k) { return (static_cast<std::size_t>(k) * ny + j) * nx + i; };
  auto point = [&](int i, int j, int k) { return Vec3{lo.x + i * cell, lo.y + j * cell, lo.z + k * cell}; };

  std::vector<double> value(static_cast<std::size_t>(nx) * ny * nz);
  for (int k = 0; k < nz; ++k) {
    for (int j = 0; j < ny; ++j) {
      for (int i = 0; i < nx; ++i) {
        value[at(i, j, k)] = f(point(i, j, k));
      }
    }
  }

  Mesh mesh;
  std::vector<int> cellVertex(value.size(), -1);
  static const int kCorner[8][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0},
                                    {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
  static const int kEdge[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                   {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
  for (int k = 0; k + 1 < nz; ++k) {
    for (int j = 0; j + 1 < ny; ++j) {
      for (int i = 0; i + 1 < nx; ++i) {
        double v[8];
        int inside = 0;
        for (int c = 0; c < 8; ++c) {
          v[c] = value[at(i + kCorner[c][0], j + kCorner[c][1], k + kCorner[c][2])];
          inside += v[c] < 0;
        }
        if (inside == 0 || inside == 8) {
          continue;
        }
        Vec3 sum;
        int crossings = 0;
        for (const auto& e : kEdge) {
          const double a = v[e[0]], b = v[e[1]];
          if ((a < 0) == (b < 0)) {
            continue;
          }
          const double t = a / (a - b);
          const Vec3 pa = point(i + kCorner[e[0]][0], j + kCorner[e[0]][1], k + kCorner[e[0]][2]);
          const Vec3 pb = point(i + kCorner[e[1]][0], j + kCorner[e[1]][1], k + kCorner[e[1]][2]);
          sum += Lerp(pa, pb, t);
          ++crossings;
        }
        cellVertex[at(i, j, k)] = static_cast<int>(mesh.vertices.size());
        mesh.vertices.push_back(sum * (1.0 / crossings));
      }
    }
  }

  // One quad per grid edge the surface crosses, joining the four cells
  // around it; wound so that it faces from inside to outside.
  auto quad = [&](int a, int b, int c, int d, bool flip) {
    if (a < 0 || b < 0 || c < 0 || d < 0) {
      return;
    }
    if (flip) {
      std::swap(b, d);
    }
    const Vec3 &pa = mesh.vertices[a], &pb = mesh.vertices[b], &pc = mesh.vertices[c], &pd = mesh.vertices[d];
    if (Length(pa - pc) <= Length(pb - pd)) {
      mesh.triangles.push_back({a, b, c});
      mesh.triangles.push_back({a, c, d});
    } else {
      mesh.triangles.push_back({a, b, d});
      mesh.triangles.push_back({b, c, d});
    }
  };
  for (int k = 1; k + 1 < nz; ++k) {
    for (int j = 1; j + 1 < ny; ++j) {
      for (int i = 1; i + 1 < nx; ++i) {
        const double v0 = value[at(i, j, k)];
        const bool in = v0 < 0;
        if (in != (value[at(i + 1, j, k)] < 0)) {  // x edge: cells around it in y and z
          quad(cellVertex[at(i, j - 1, k - 1)], cellVertex[at(i, j, k - 1)], cellVertex[at(i, j, k)],
               cellVertex[at(i, j - 1, k)], !in);
        }
        if (in != (value[at(i, j + 1, k)] < 0)) {  // y edge: cells around it in z and x
          quad(cellVertex[at(i - 1, j, k - 1)], cellVertex[at(i - 1, j, k)], cellVertex[at(i, j, k)],
               cellVertex[at(i, j, k - 1)], !in);
        }
        if (in != (value[at(i, j, k + 1)] < 0)) {  // z edge: cells around it in x and y
          quad(cellVertex[at(i - 1, j - 1, k)], cellVertex[at(i, j - 1, k)], cellVertex[at(i, j, k)],
               cellVertex[at(i - 1, j, k)], !in);
        }
      }
    }
  }

  // Pull every vertex onto the surface along the gradient.
  for (Vec3& p : mesh.vertices) {
    for (int step = 0; step < 3; ++step) {
      const Vec3 g = Gradient(f, p, cell * 0.1);
      const double gg = Dot(g, g);
      if (gg < 1e-12) {
        break;
      }
      const Vec3 move = g * (-f(p) / gg);
      if (Length(move) > cell) {
        break;
      }
      p += move;
    }
  }
  return mesh;
}

}  // namespace assets
