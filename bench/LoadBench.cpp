// Loading a big run: the store's loader against fgets + sscanf, in MB/s of
// data-file text. Make the run first: `cmake --build build --target bench_run`.
// Usage: bench_load [RUN_DIR] [benchmark flags]

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PlainLoader.h"
#include "SimulationData.h"
#include "TableFiles.h"

namespace {
std::string g_dir;

class CQuiet final : public IMessageSink {
 public:
  void Message(const QString& c, const QString& t, MessageIcon) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(c), qPrintable(t));
  }
};

template <class T>
bool SameRows(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The two loaders must agree bit for bit before their speeds mean anything.
std::size_t CheckSameResults() {
  CQuiet sink;
  CSimulationData d;
  d.SetMessageSink(&sink);
  if (!d.Load(QString::fromStdString(g_dir)) || d.Run().m_fibers.size() < 2) {
    std::fprintf(stderr, "cannot load %s\n", g_dir.c_str());
    std::exit(1);
  }
  PlainRun plain =
      PlainLoad(g_dir, d.Run().m_fibers[0].m_strName.toStdString(), d.Run().m_fibers[1].m_strName.toStdString());
  bool same = SameRows(d.Run().m_body, plain.body) && SameRows(d.Run().m_fibers[0].m_rows, plain.fibers[0]) &&
              SameRows(d.Run().m_fibers[1].m_rows, plain.fibers[1]);
  for (int p = 0; p < kBodyPartCount; ++p)
    same = same && SameRows(d.Run().m_fabric[p], plain.fabric[p]) && SameRows(d.Run().m_comfort[p], plain.comfort[p]);
  if (!same) {
    std::fprintf(stderr, "the fast and the plain loader disagree\n");
    std::exit(1);
  }
  std::fprintf(stderr, "both loaders give the same rows: %.1f MB of table text, %zu fabric rows in the trunk\n",
               static_cast<double>(plain.bytes) / 1e6, plain.fabric[Trunk].size());
  return plain.bytes;
}

std::size_t g_bytes = 0;

void BM_LoadRun(benchmark::State& state) {
  CQuiet sink;
  for (auto _ : state) {
    CSimulationData d;
    d.SetMessageSink(&sink);
    benchmark::DoNotOptimize(d.Load(QString::fromStdString(g_dir)));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_bytes));
}

void BM_PlainFgetsSscanf(benchmark::State& state) {
  for (auto _ : state) {
    PlainRun r = PlainLoad(g_dir, "FiberLeg_Polyester.dat", "FiberTrunk_Cotton.dat");
    benchmark::DoNotOptimize(r.body.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_bytes));
}

// One core's share: one fabric file parsed into rows on one thread, for each
// printf shape of the run that `bench_shapes` has made (sample, %f, %e, %g,
// %.4f), so that the per-core rate is seen apart from the threads.
void BM_ParseFabricFile(benchmark::State& state, const std::string& suffix) {
  std::string dir = g_dir;
  dir.pop_back();
  const QString path = QString::fromStdString(dir + suffix + "/fabricsTrunk.dat");
  if (!QFileInfo::exists(path)) {
    state.SkipWithError("no such run shape");
    return;
  }
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = ParseFabricFile(path).rows.size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * QFileInfo(path).size());
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_ParseFabricFile, sample, std::string())->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ParseFabricFile, f, std::string("-f"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ParseFabricFile, e, std::string("-e"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ParseFabricFile, g, std::string("-g"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ParseFabricFile, fixed4, std::string("-4f"))->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_LoadRun)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_PlainFgetsSscanf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  g_dir = (argc > 1 && argv[1][0] != '-') ? argv[1] : CORVANE_BENCH_RUN;
  if (!g_dir.empty() && g_dir.back() != '/') g_dir += '/';
  if (argc > 1 && argv[1][0] != '-') {
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
  }
  g_bytes = CheckSameResults();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
