// Reading a 1-million-triangle OBJ: our reader with facet and vertex normals
// against tinyobjloader's LoadObj parsing alone, on the same file.
// Usage: bench_obj [FILE.obj] [benchmark flags]; without FILE a wavy torus of
// 1 000 000 triangles is written to the build folder first.

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ObjReader.h"

namespace {
std::string g_path;

void WriteTorus(const std::string& path, int rings, int sides) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fprintf(f, "# wavy torus, %d x %d quads\n", rings, sides);
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < sides; ++j) {
      const double u = 2 * M_PI * i / rings, v = 2 * M_PI * j / sides;
      const double r = 1.0 + 0.05 * std::sin(9 * u) * std::cos(7 * v);
      std::fprintf(f, "v %.6f %.6f %.6f\n", (3 + r * std::cos(v)) * std::cos(u), (3 + r * std::cos(v)) * std::sin(u),
                   r * std::sin(v));
      std::fprintf(f, "vt %.5f %.5f\n", static_cast<double>(i) / rings, static_cast<double>(j) / sides);
    }
  std::fprintf(f, "g TRUNK\n");
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < sides; ++j) {
      const int a = i * sides + j + 1, b = ((i + 1) % rings) * sides + j + 1;
      const int c = ((i + 1) % rings) * sides + (j + 1) % sides + 1, d = i * sides + (j + 1) % sides + 1;
      std::fprintf(f, "f %d/%d %d/%d %d/%d\nf %d/%d %d/%d %d/%d\n", a, a, b, b, c, c, a, a, c, c, d, d);
    }
  std::fclose(f);
}

std::size_t FileSize() {
  std::error_code e;
  return static_cast<std::size_t>(std::filesystem::file_size(g_path, e));
}

void BM_ReadWithNormals(benchmark::State& state) {
  std::size_t triangles = 0;
  for (auto _ : state) {
    ObjModel* m = glmReadOBJ(g_path.c_str());
    glmComputeFacetNormals(m);
    glmVertexNormals(m, kCreaseAngle);
    triangles = m->triangleCount;
    glmFreeModel(m);
  }
  state.counters["triangles"] = static_cast<double>(triangles);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize()));
}

void BM_TinyObjLoadObj(benchmark::State& state) {
  for (auto _ : state) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, g_path.c_str(), nullptr, true);
    benchmark::DoNotOptimize(attrib.vertices.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize()));
}

BENCHMARK(BM_ReadWithNormals)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_TinyObjLoadObj)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    g_path = argv[1];
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
  } else {
    g_path = CORVANE_BENCH_OBJ;
    if (FILE* f = std::fopen(g_path.c_str(), "rb"))
      std::fclose(f);
    else
      WriteTorus(g_path, 1000, 500);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
