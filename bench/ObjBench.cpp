// Reading a 1-million-triangle OBJ: our reader with facet and vertex normals
// against tinyobjloader's LoadObj parsing alone, on the same file.
// Usage: bench_obj [FILE.obj] [benchmark flags]; without FILE two models are
// written to the build folder first and both are read: a wavy torus of
// 1 000 000 triangles (positions and texture coordinates, one group), and
// 40 000 small boxes, each its own group and material, with normals and
// texture coordinates at every corner (480 000 triangles).

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ObjReader.h"

namespace {
std::string g_paths[2];  // the torus (or FILE), the boxes

void WriteTorus(const std::string& path, int rings, int sides) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fprintf(f, "# wavy torus, %d x %d quads\n", rings, sides);
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < sides; ++j) {
      const double u = 2 * M_PI * i / rings, v = 2 * M_PI * j / sides;
      const double r = 1.0 + 0.05 * std::sin(9 * u) * std::cos(7 * v);
      std::fprintf(f, "v %.6f %.6f %.6f\n", (3 + r * std::cos(v)) * std::cos(u), (3 + r * std::cos(v)) * std::sin(u),
                   r * std::sin(v));
      std::fprintf(f, "vt %.5f %.5f\n", static_cast<double>(i) / rings, static_cast<double>(j) / sides);
    }
  }
  std::fprintf(f, "g TRUNK\n");
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < sides; ++j) {
      const int a = i * sides + j + 1, b = ((i + 1) % rings) * sides + j + 1;
      const int c = ((i + 1) % rings) * sides + (j + 1) % sides + 1, d = i * sides + (j + 1) % sides + 1;
      std::fprintf(f, "f %d/%d %d/%d %d/%d\nf %d/%d %d/%d %d/%d\n", a, a, b, b, c, c, a, a, c, c, d, d);
    }
  }
  std::fclose(f);
}

void WriteBoxes(const std::string& path, int boxes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fprintf(f, "# %d boxes\nmtllib boxes.mtl\n", boxes);
  for (int b = 0; b < boxes; ++b) {
    const double x = b % 200 * 1.5, y = (b - b % 200) / 200.0 * 1.5, s = 0.5 + 0.25 * std::sin(b * 0.37);
    std::fprintf(f, "o box%d\ng box%d\nusemtl m%d\n", b, b, b % 8);
    for (int c = 0; c < 8; ++c) {
      std::fprintf(f, "v %.6f %.6f %.6f\n", x + s * (c & 1), y + s * (c >> 1 & 1), s * (c >> 2 & 1));
    }
    const char* normals = "vn 1 0 0\nvn -1 0 0\nvn 0 1 0\nvn 0 -1 0\nvn 0 0 1\nvn 0 0 -1\n";
    std::fputs(normals, f);
    std::fputs("vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n", f);
    // The corners of each side (1 to 8 within its box), then its normal (1 to 6).
    const int sides[6][5] = {{2, 4, 8, 6, 1}, {1, 5, 7, 3, 2}, {3, 7, 8, 4, 3},
                             {1, 2, 6, 5, 4}, {5, 6, 8, 7, 5}, {1, 3, 4, 2, 6}};
    const int base = b * 8, nbase = b * 6, tbase = b * 4;
    for (const auto& side : sides) {
      std::fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", base + side[0], tbase + 1, nbase + side[4],
                   base + side[1], tbase + 2, nbase + side[4], base + side[2], tbase + 3, nbase + side[4],
                   base + side[3], tbase + 4, nbase + side[4]);
    }
  }
  std::fclose(f);
  const std::string mtl = path.substr(0, path.find_last_of('/') + 1) + "boxes.mtl";
  if (FILE* m = std::fopen(mtl.c_str(), "wb")) {
    for (int i = 0; i < 8; ++i) {
      std::fprintf(m, "newmtl m%d\nKd %.2f 0.5 0.5\n", i, i / 8.0);
    }
    std::fclose(m);
  }
}

std::size_t FileSize(const std::string& path) {
  std::error_code e;
  return static_cast<std::size_t>(std::filesystem::file_size(path, e));
}

void BM_ReadWithNormals(benchmark::State& state, int which) {
  const std::string& path = g_paths[which];
  std::size_t triangles = 0;
  for (auto _ : state) {
    ObjModel* m = glmReadOBJ(path.c_str());
    glmComputeFacetNormals(m);
    glmVertexNormals(m, kCreaseAngle);
    triangles = m->triangleCount;
    glmFreeModel(m);
  }
  state.counters["triangles"] = static_cast<double>(triangles);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
}

void BM_TinyObjLoadObj(benchmark::State& state, int which) {
  const std::string& path = g_paths[which];
  for (auto _ : state) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    const std::string dir = path.substr(0, path.find_last_of('/') + 1);
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), dir.c_str(), true);
    benchmark::DoNotOptimize(attrib.vertices.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
}

void Register(const char* name, int which) {
  benchmark::RegisterBenchmark((std::string("BM_ReadWithNormals/") + name).c_str(), BM_ReadWithNormals, which)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(3.0);
  benchmark::RegisterBenchmark((std::string("BM_TinyObjLoadObj/") + name).c_str(), BM_TinyObjLoadObj, which)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(3.0);
}

bool Exists(const std::string& path) {
  std::error_code e;
  return std::filesystem::exists(path, e);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    g_paths[0] = argv[1];
    for (int i = 1; i + 1 < argc; ++i) {
      argv[i] = argv[i + 1];
    }
    --argc;
    Register("file", 0);
  } else {
    g_paths[0] = CORVANE_BENCH_OBJ;
    if (!Exists(g_paths[0])) {
      WriteTorus(g_paths[0], 1000, 500);
    }
    g_paths[1] = CORVANE_BENCH_BOXES;
    if (!Exists(g_paths[1])) {
      WriteBoxes(g_paths[1], 40000);
    }
    Register("torus", 0);
    Register("boxes", 1);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
