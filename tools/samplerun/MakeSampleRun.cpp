// make_sample_run: writes a complete, plausible simulation run folder from the
// thermal model: three climate phases, the body's response per part, fabric
// layers of the clothed parts, two fibre files, comfort ratings and ids.
// Deterministic: the same options give the same bytes.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ThermalModel.h"

using namespace samplerun;

namespace {

struct Options {
  std::string out;
  double duration = 90.0;       // minutes
  double interval = 0.5;        // minutes between body samples
  double fabricInterval = 1.0;  // minutes between fabric time steps
  int nodes = 5;
  int layers = -1;  // -1: the default garment
};

// How numbers are written: the sample's own shapes (a fixed number of
// decimals per column, a few in exponent form), or one printf format for
// every real number, as a simulator's printf would write them all.
const char* g_numberFormat = nullptr;  // null: the sample's shapes

// Buffered text output with fast number formatting.
class CWriter {
 public:
  explicit CWriter(const std::filesystem::path& path) : m_file(std::fopen(path.c_str(), "wb")) {
    if (!m_file) {
      std::fprintf(stderr, "make_sample_run: cannot write %s\n", path.c_str());
      std::exit(1);
    }
    m_buf.reserve(1 << 20);
  }
  ~CWriter() {
    Flush();
    std::fclose(m_file);
  }
  CWriter& Text(const char* s) {
    m_buf += s;
    return *this;
  }
  CWriter& Fixed(double v, int precision) {
    if (g_numberFormat) {
      return Printf(v);
    }
    char tmp[64];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed, precision);
    m_buf.append(tmp, r.ptr);
    return *this;
  }
  CWriter& Sci(double v, int precision) {
    if (g_numberFormat) {
      return Printf(v);
    }
    char tmp[64];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific, precision);
    m_buf.append(tmp, r.ptr);
    return *this;
  }
  CWriter& Printf(double v) {
    char tmp[64];
    const int n = std::snprintf(tmp, sizeof tmp, g_numberFormat, v);
    m_buf.append(tmp, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof tmp) - 1)));
    return *this;
  }
  CWriter& Int(long v) {
    char tmp[32];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    m_buf.append(tmp, r.ptr);
    return *this;
  }
  CWriter& Tab() {
    m_buf += '\t';
    return *this;
  }
  void EndLine() {
    m_buf += '\n';
    if (m_buf.size() > (1 << 20) - 512) {
      Flush();
    }
  }

 private:
  void Flush() {
    if (!m_buf.empty()) {
      std::fwrite(m_buf.data(), 1, m_buf.size(), m_file);
    }
    m_buf.clear();
  }
  FILE* m_file;
  std::string m_buf;
};

void Usage(FILE* f) {
  std::fprintf(f,
               "usage: make_sample_run [options] OUT_DIR\n"
               "  --duration MIN        length of the run in minutes (default 90)\n"
               "  --interval MIN        minutes between body samples (default 0.5)\n"
               "  --fabric-interval MIN minutes between fabric time steps (default 1)\n"
               "  --layers N            fabric layers of every clothed part, 1..12 (default 3,2,3,2)\n"
               "  --nodes N             nodes per fabric layer, 1..200 (default 5)\n"
               "  --number-format F     sample (the default: each column its own decimals), %%f, %%e, %%g or %%.4f\n");
}

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&](double& v) {
      if (i + 1 >= argc) {
        return false;
      }
      char* end = nullptr;
      v = std::strtod(argv[++i], &end);
      return end && *end == '\0';
    };
    double v = 0;
    if (a == "--duration" && next(v) && v > 0) {
      o.duration = v;
    } else if (a == "--interval" && next(v) && v > 0) {
      o.interval = v;
    } else if (a == "--fabric-interval" && next(v) && v > 0) {
      o.fabricInterval = v;
    } else if (a == "--layers" && next(v) && v >= 1 && v <= 12) {
      o.layers = static_cast<int>(v);
    } else if (a == "--nodes" && next(v) && v >= 1 && v <= 200) {
      o.nodes = static_cast<int>(v);
    } else if (a == "--number-format" && i + 1 < argc) {
      const std::string f = argv[++i];
      static const char* const kFormats[] = {"%f", "%e", "%g", "%.4f"};
      g_numberFormat = nullptr;
      bool known = f == "sample";
      for (const char* k : kFormats) {
        if (f == k) {
          g_numberFormat = k;
          known = true;
        }
      }
      if (!known) {
        return false;
      }
    } else if (a == "--help" || a == "-h") {
      Usage(stdout);
      std::exit(0);
    } else if (!a.empty() && a[0] != '-' && o.out.empty()) {
      o.out = a;
    } else {
      return false;
    }
  }
  return !o.out.empty();
}

// Rest in a neutral room, work in a hot humid one, recovery.
std::vector<Phase> MakePhases(double duration) {
  return {{static_cast<float>(duration * 0.3), 23.5f, 0.45f, 0.15f, 58.0f},
          {static_cast<float>(duration * 0.4), 34.0f, 0.70f, 0.40f, 170.0f},
          {static_cast<float>(duration * 0.3), 23.0f, 0.50f, 0.15f, 70.0f}};
}

const Phase& PhaseAt(const std::vector<Phase>& phases, double tMin) {
  double start = 0;
  for (const Phase& p : phases) {
    if (tMin < start + p.durationMin) {
      return p;
    }
    start += p.durationMin;
  }
  return phases.back();
}

// Comfort ratings on the 0..100 scale from skin and core state.
void Comfort(const PartState& s, double& thermal, double& dampness, double& comfort) {
  thermal = std::clamp(50.0 + 14.0 * (s.skin - 33.6) + 30.0 * (s.core - 36.9), 0.0, 100.0);
  dampness = std::clamp(100.0 * (s.skinHumidity - 0.2) / 0.8, 0.0, 100.0);
  comfort = std::clamp(100.0 - 1.4 * std::fabs(thermal - 50.0) - 0.6 * std::max(dampness - 30.0, 0.0), 0.0, 100.0);
}

struct Fibre {
  int part;
  const char* name;
  std::vector<double> regain, temperature;  // radial nodes, surface last
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) {
    Usage(stderr);
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path dir(o.out);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "make_sample_run: cannot create %s: %s\n", o.out.c_str(), ec.message().c_str());
    return 1;
  }

  std::array<int, kParts> layers = {0, 3, 2, 0, 3, 2};
  if (o.layers > 0) {
    for (int& l : layers) {
      if (l > 0) {
        l = o.layers;
      }
    }
  }
  const std::vector<Phase> phases = MakePhases(o.duration);

  {
    CWriter env(dir / "configure.dat");
    env.Text("Selected model:1").EndLine();
    for (std::size_t i = 0; i < phases.size(); ++i) {
      const Phase& ph = phases[i];
      env.Int(static_cast<long>(i + 1))
          .Tab()
          .Fixed(ph.airTemp, 1)
          .Tab()
          .Fixed(ph.humidity, 2)
          .Tab()
          .Fixed(ph.airSpeed, 2);
      for (int p = 0; p < kParts; ++p) {
        env.Tab().Int(layers[p] > 0 ? 1 : 0);
      }
      env.Tab().Fixed(ph.durationMin, 2).Tab().Fixed(ph.metabolism, 1).Tab().Fixed(ph.airTemp, 1);
      env.EndLine();
    }
  }
  {
    CWriter ids(dir / "id.dat");
    ids.Text("model id:M-1001").EndLine();
    ids.Text("the garment list:2").EndLine();
    ids.Text("garment id:G-2001").EndLine();
    ids.Text("garment id:G-2002").EndLine();
  }

  CThermalModel model(layers, o.nodes);
  std::vector<Fibre> fibres = {{1, "FiberTrunk_Cotton.dat", {}, {}}, {4, "FiberLeg_Polyester.dat", {}, {}}};
  for (Fibre& f : fibres) {
    f.regain.assign(5, 0.04);
    f.temperature.assign(5, 30.0);
  }

  CWriter body(dir / "bodyProperty.dat");
  CWriter comfort(dir / "BodyDataforComfort.dat");
  std::vector<std::unique_ptr<CWriter>> fabric(kParts);
  for (int p = 0; p < kParts; ++p) {
    if (layers[p] > 0) {
      fabric[p] = std::make_unique<CWriter>(dir / (std::string("fabrics") + kBodyPartNames[p] + ".dat"));
    }
  }
  std::vector<std::unique_ptr<CWriter>> fibreOut;
  fibreOut.reserve(fibres.size());
  for (Fibre& f : fibres) {
    fibreOut.push_back(std::make_unique<CWriter>(dir / f.name));
  }

  const double sampleSec = o.interval * 60.0, fabricSec = o.fabricInterval * 60.0;
  const double dt = std::min({1.0, sampleSec, fabricSec});
  const long samples = std::lround(o.duration / o.interval) + 1;
  const long fabricSteps = std::lround(o.duration / o.fabricInterval) + 1;
  long nextSample = 0, nextFabric = 0;
  double t = 0;  // seconds

  while (nextSample < samples || nextFabric < fabricSteps) {
    const double tMin = static_cast<double>(t) / 60.0;
    if (nextSample < samples && static_cast<double>(t) + 1e-9 >= static_cast<double>(nextSample) * sampleSec) {
      const double time = static_cast<double>(nextSample) * o.interval;
      for (int p = 0; p < kParts; ++p) {
        const PartState& s = model.Part(p);
        body.Fixed(time, 4)
            .Tab()
            .Int(p)
            .Tab()
            .Fixed(s.skin, 4)
            .Tab()
            .Fixed(s.core, 4)
            .Tab()
            .Fixed(s.metabolism, 3)
            .Tab()
            .Fixed(s.skinHumidity * 100.0, 2)  // percent, as its caption says
            .Tab()
            .Fixed(s.bloodFlow, 3)
            .Tab()
            .Fixed(s.sweatRate, 3)
            .Tab()
            .Fixed(s.sweatAccum, 3)
            .Tab()
            .Fixed(s.evapHeat, 3)
            .Tab()
            .Fixed(s.skinPressure, 2)
            .Tab();
        body.EndLine();
        double th, dm, cf;
        Comfort(s, th, dm, cf);
        comfort.Fixed(time, 4).Tab().Int(p).Tab().Fixed(th, 2).Tab().Fixed(dm, 2).Tab().Fixed(cf, 2).Tab();
        comfort.EndLine();
      }
      ++nextSample;
    }
    if (nextFabric < fabricSteps && static_cast<double>(t) + 1e-9 >= static_cast<double>(nextFabric) * fabricSec) {
      const double time = static_cast<double>(nextFabric) * o.fabricInterval;
      for (int p = 0; p < kParts; ++p) {
        if (!fabric[p]) {
          continue;
        }
        const Garment& g = model.Clothing(p);
        for (int l = 1; l <= g.layers; ++l) {
          double mean = 0;
          for (int n = 0; n < g.nodesPerLayer; ++n) {
            mean += g.nodes[(l - 1) * g.nodesPerLayer + n].vaporConc;
          }
          mean /= g.nodesPerLayer;
          for (int n = 0; n < g.nodesPerLayer; ++n) {
            const FabricNode& node = g.nodes[(l - 1) * g.nodesPerLayer + n];
            fabric[p]
                ->Fixed(time, 4)
                .Tab()
                .Fixed(node.position, 5)
                .Tab()
                .Int(node.layer)
                .Tab()
                .Sci(node.vaporConc, 5)
                .Tab()
                .Sci(mean, 5)
                .Tab()
                .Sci(node.evapRate, 4)
                .Tab()
                .Fixed(node.relHumidity * 100.0, 3)
                .Tab()
                .Fixed(node.temperature, 4)
                .Tab()
                .Fixed(node.liquid, 4)
                .Tab();
            fabric[p]->EndLine();
          }
        }
      }
      for (std::size_t i = 0; i < fibres.size(); ++i) {
        const Fibre& f = fibres[i];
        for (std::size_t k = 0; k < f.regain.size(); ++k) {
          const double radius = 0.0008 * static_cast<double>(k) / static_cast<double>(f.regain.size() - 1);
          fibreOut[i]->Fixed(time, 4).Tab().Sci(radius, 4).Tab().Fixed(f.regain[k], 6).Tab().Fixed(f.temperature[k], 4);
          fibreOut[i]->EndLine();
        }
      }
      ++nextFabric;
    }
    const Phase& ph = PhaseAt(phases, tMin);
    model.Step(ph, dt);
    // Fibres in the innermost fabric layer: the surface follows the fabric,
    // the inside follows by radial diffusion.
    for (Fibre& f : fibres) {
      const Garment& g = model.Clothing(f.part);
      if (g.nodes.empty()) {
        continue;
      }
      const FabricNode& inner = g.nodes.front();
      const double a = std::min(1.0, dt / 120.0);
      const std::size_t last = f.regain.size() - 1;
      f.regain[last] += (inner.regain - f.regain[last]) * std::min(1.0, dt / 20.0);
      f.temperature[last] = inner.temperature;
      for (std::size_t k = last; k-- > 0;) {
        f.regain[k] += (f.regain[k + 1] - f.regain[k]) * a;
        f.temperature[k] += (f.temperature[k + 1] - f.temperature[k]) * std::min(1.0, dt / 2.0);
      }
    }
    t += dt;
  }
  std::printf("make_sample_run: wrote %ld samples and %ld fabric steps to %s\n", samples, fabricSteps, o.out.c_str());
  return 0;
}
