// corvane._corvane: the loader's tables for Python. The module's Python half
// (corvane/__init__.py) makes DataFrames of what this gives: whole tables
// as NumPy arrays of doubles, the files' own values (ExactTables.h), and the
// loader's messages. A load runs without the GIL, so that other Python
// threads go on while a big run is read.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "CaptionTables.h"
#include "ExactTables.h"
#include "FabricGridFile.h"
#include "MessageSink.h"
#include "Profile.h"
#include "SimulationData.h"
#include "StudySummary.h"

namespace py = pybind11;

namespace {

// A run the viewer refuses: corvane.LoadError in Python, with its message.
class CLoadFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A gate a load can be asked to wait at, once the GIL is let go, until
// Python code on another thread opens it: its tests' proof that other
// threads run Python while a load reads. A load held at it longer than a
// minute goes on, and says it was not let through.
class CLoadGate {
 public:
  static constexpr std::chrono::seconds kPatience{60};
  // The load's side: true when opened from another thread in time.
  bool Pass() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_bWaiting = true;
    m_changed.notify_all();
    const bool opened = m_changed.wait_for(hold, kPatience, [this] { return m_bOpen; });
    m_bWaiting = m_bOpen = false;
    return opened;
  }
  // The other thread's: true once a load waits at the gate.
  bool AwaitLoad() {
    std::unique_lock<std::mutex> hold(m_lock);
    return m_changed.wait_for(hold, kPatience, [this] { return m_bWaiting; });
  }
  void Open() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_bOpen = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_bWaiting = false, m_bOpen = false;
};
CLoadGate g_gate;
std::atomic<bool> g_passedGate{false};  // the last gated load's

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string ToUtf8(const QString& s) { return s.toStdString(); }

const char* LevelOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return "information";
    case MessageIcon::Warning:
      return "warning";
    case MessageIcon::Error:
      break;
  }
  return "error";
}

// Values as a NumPy array that owns them from then on, taken without a
// copy, in the C order of `shape`.
template <class T>
py::array_t<T> Owning(std::vector<T>&& taken, const std::vector<py::ssize_t>& shape) {
  auto* values = new std::vector<T>(std::move(taken));
  py::capsule owner(values, [](void* p) { delete static_cast<std::vector<T>*>(p); });
  return py::array_t<T>(shape, values->data(), owner);
}

// A table (rows x columns); none (0 x 0) for a table the run lacks.
py::array_t<double> Owned(int width, std::vector<double>&& taken) {
  const auto w = static_cast<py::ssize_t>(width);
  if (w <= 0 || taken.empty()) {
    return py::array_t<double>(std::vector<py::ssize_t>{0, 0});
  }
  const auto rows = static_cast<py::ssize_t>(taken.size()) / w;
  return Owning(std::move(taken), {rows, w});
}

int PartIndex(const std::string& name) {
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (name == kBodyPartNames[p]) {
      return p;
    }
  }
  throw py::value_error("no body part \"" + name + "\"; the parts are Head, Trunk, Arm, Hand, Leg and Foot");
}

// A column; an empty one for none.
template <class T>
py::array_t<T> OwnedColumn(std::vector<T>&& taken) {
  if (taken.empty()) {
    return py::array_t<T>(0);
  }
  const auto n = static_cast<py::ssize_t>(taken.size());
  return Owning(std::move(taken), {n});
}

// One run as the loader read it, with its values at full precision.
class CRun {
 public:
  // Loads `dir` (no GIL held); false with the loader's refusal in `error`.
  bool Load(const QString& dir, LoadScope scope, std::string* error) {
    m_data.SetMessageSink(&m_sink);
    m_data.SetReadExact(true);  // every table in the load's own pass
    if (!QFileInfo(dir).isDir()) {
      *error = "\"" + ToUtf8(dir) + "\" is no folder";
      return false;
    }
    const QString folder = QDir(dir).absolutePath() + QLatin1Char('/');
    const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    // The fabric files of a whole run, where they are as well-written ones
    // are, go straight into their columns, with no float rows beside them;
    // any other run is read the loader's own way, with all it says.
    if (scope == LoadScope::Whole) {
      const Outcome outcome = LoadBesideFabrics(folder, cores, error);
      if (outcome != Outcome::LoaderAlone) {
        return outcome == Outcome::Loaded;
      }
    }
    if (!m_data.Load(folder, scope)) {
      *error = Refusal();
      return false;
    }
    if (!ReadTables(cores, error)) {
      return false;
    }
    for (int p = 0; p < kBodyPartCount; ++p) {
      const CExactTable* table = ExactFabricOf(m_pExact, Run(), p);
      if (table == nullptr) {
        continue;
      }
      std::vector<float> steps;
      steps.reserve(static_cast<std::size_t>(FabricStepCount(Run(), p)));
      for (int k = 0; k < FabricStepCount(Run(), p); ++k) {
        steps.push_back(FabricStepTime(Run(), p, k));
      }
      FabricLayout layout;
      layout.layers = Run().m_nLayers[p];
      layout.nodes = Run().m_nNodesPerLayer[p];
      m_fabrics[static_cast<std::size_t>(p)] =
          CFabricGridColumns::FromPlaced(m_pExact->Take(table), std::move(steps), layout, Run().m_bLiquidFraction[p]);
    }
    m_bStoreHoldsFabric = true;
    return true;
  }

  std::string Directory() const { return ToUtf8(m_data.Run().m_strDataDir); }
  std::vector<std::tuple<std::string, std::string, std::string>> Messages() const {
    std::vector<std::tuple<std::string, std::string, std::string>> out;
    for (const CRecordingMessageSink::Entry& e : m_sink.Entries()) {
      out.emplace_back(ToUtf8(e.caption), ToUtf8(e.text), LevelOf(e.icon));
    }
    return out;
  }
  const CExactTables& Exact() const { return *m_pExact; }
  // A table given to Python whole: its array owns the values from then on.
  py::array_t<double> Take(const CExactTable* table) {
    if (table == nullptr) {
      return Owned(0, {});
    }
    const int width = table->Width();
    return Owned(width, m_pExact->Take(table));
  }
  // A part's fabric given to Python whole: its values (a row of time,
  // position and the six quantities a node and step) and its layers.
  std::tuple<py::array_t<double>, py::array_t<std::int32_t>> TakeFabric(int p) {
    CFabricGridColumns& f = m_fabrics[static_cast<std::size_t>(p)];
    return {Owned(CFabricGridColumns::kWidth, f.TakeValues()), OwnedColumn(f.TakeLayers())};
  }
  const RunTables& Run() const { return m_data.Run(); }
  // Whether the fabric files went straight into their columns (else the
  // loader read them, placing rows and saying what it found).
  bool FabricByColumns() const { return !m_bStoreHoldsFabric; }

  py::dict FabricShape(const std::string& part) const {
    const CFabricGridColumns& f = m_fabrics[static_cast<std::size_t>(PartIndex(part))];
    py::dict d;
    d["layers"] = f.Rows() == 0 ? 0 : f.Layout().layers;
    d["nodes"] = f.Rows() == 0 ? 0 : f.Layout().nodes;
    d["liquid_fraction"] = f.Rows() != 0 && f.NinthColumn();
    return d;
  }

  // The profile's rows (position, layer from 1, value) and its time, from
  // `values`: the part's fabric as fabric_table gave it.
  std::tuple<double, std::vector<std::tuple<double, int, double>>> Profile(
      const std::string& part, int q, double minute,
      const py::array_t<double, py::array::c_style | py::array::forcecast>& values) const {
    const int p = PartIndex(part);
    if (q < 0 || q >= PropertyCount(OptionKind::Fabric)) {
      throw py::value_error("no fabric quantity " + std::to_string(q));
    }
    if (!(minute >= 0)) {
      throw py::value_error(ToUtf8(QStringLiteral("a minute of the run is 0 or more, not %1").arg(minute, 0, 'g', 6)));
    }
    const CFabricGridColumns& f = m_fabrics[static_cast<std::size_t>(p)];
    if (values.ndim() != 2 || values.shape(1) != CFabricGridColumns::kWidth ||
        static_cast<std::size_t>(values.shape(0)) != f.Rows()) {
      throw py::value_error("the fabric table given is not the part's");
    }
    // The part's steps, a row each with its time, as the store finds them.
    RunTables steps;
    steps.m_nLayers[p] = steps.m_nNodesPerLayer[p] = 1;
    steps.m_fabric[p].resize(f.StepTimes().size());
    for (std::size_t k = 0; k < f.StepTimes().size(); ++k) {
      steps.m_fabric[p][k].m_fTime = f.StepTimes()[k];
    }
    RunTables shape;
    shape.m_nLayers[p] = f.Layout().layers;
    shape.m_nNodesPerLayer[p] = f.Layout().nodes;
    shape.m_bLiquidFraction[p] = f.NinthColumn();
    const std::size_t perStep = static_cast<std::size_t>(f.Layout().layers) * f.Layout().nodes;
    const std::optional<int> step = NearestFabricStep(steps, p, minute);
    if (!step) {
      const int count = FabricStepCount(steps, p);
      const double end = count > 0 ? FabricStepTime(steps, p, count - 1) : 0.0;
      throw py::value_error(
          ToUtf8(count == 0 ? QStringLiteral("the run holds no fabric data of %1").arg(QLatin1String(kBodyPartNames[p]))
                            : QStringLiteral("%1 min is beyond the end of the run's fabric data (%2 min)")
                                  .arg(minute, 0, 'g', 6)
                                  .arg(end, 0, 'g', 6)));
    }
    // That step alone: the store's rows (a hole's position is none) or rows
    // made from the values, beside the values as the profile reads them.
    const std::size_t first = static_cast<std::size_t>(*step) * perStep;
    const std::size_t end = std::min(first + perStep, f.Rows());
    RunTables one = shape;
    std::vector<double> exact;
    for (std::size_t r = first; r < end; ++r) {
      const double* v = values.data(static_cast<py::ssize_t>(r), 0);
      FabricRow row;
      if (m_bStoreHoldsFabric) {
        row = Run().m_fabric[p][r];
      } else {
        row.m_fTime = f.StepTimes()[static_cast<std::size_t>(*step)];
        row.m_fPosition = static_cast<float>(v[1]);
      }
      one.m_fabric[p].push_back(row);
      exact.insert(exact.end(), {v[0], v[1], 0.0});
      exact.insert(exact.end(), v + CFabricGridColumns::kFirstQuantity, v + CFabricGridColumns::kWidth);
    }
    const CExactTable table(ExactColumn::kFabricFirstValue + 6, std::move(exact));
    const FabricProfile profile = FabricProfileAt(one, p, 0, q, &table);
    std::vector<std::tuple<double, int, double>> rows;
    for (const ProfilePoint& point : profile.points) {
      rows.emplace_back(point.exactPosition, point.layer + 1, point.exactValue);
    }
    // The step's time as its first row wrote it.
    return {first < end ? *values.data(static_cast<py::ssize_t>(first), 0) : static_cast<double>(profile.time), rows};
  }

 private:
  enum class Outcome { Loaded, Refused, LoaderAlone };

  // The fabric files of a whole run, where they are as well-written ones
  // are, go straight into their columns, with no float rows beside them,
  // read side by side with the rest of the run (which parts are clothed is
  // known only then). LoaderAlone, and nothing said, for any other run.
  Outcome LoadBesideFabrics(const QString& folder, unsigned cores, std::string* error) {
    std::array<QString, kBodyPartCount> names;
    std::copy(std::begin(Run().m_fabricFileNames), std::end(Run().m_fabricFileNames), names.begin());
    FabricGrids grids;
    bool rest = false;
    {
      // Joined on every way out of this block, a throw included.
      const std::jthread fabrics([&grids, &folder, &names, cores] { grids = ReadFabricGrids(folder, names, cores); });
      rest = m_data.Load(folder, LoadScope::WithoutFabrics);
    }
    if (!rest) {
      // Nothing in a fabric file refuses a run: the whole load would say this.
      *error = Refusal();
      return Outcome::Refused;
    }
    bool whole = true;
    for (int p = 0; p < kBodyPartCount && whole; ++p) {
      whole = grids[static_cast<std::size_t>(p)].has_value() || !Run().m_env[0].IsClothed(p);
    }
    if (!whole) {
      m_sink.Clear();
      return Outcome::LoaderAlone;
    }
    if (!ReadTables(cores, error)) {
      return Outcome::Refused;
    }
    for (int p = 0; p < kBodyPartCount; ++p) {
      if (Run().m_env[0].IsClothed(p)) {
        m_fabrics[static_cast<std::size_t>(p)] = std::move(*grids[static_cast<std::size_t>(p)]);
      }
    }
    m_bStoreHoldsFabric = false;
    return Outcome::Loaded;
  }

  // Every table at full precision now, while the GIL is let go, on the
  // cores the loader uses; a file changed meanwhile is refused, not mixed.
  bool ReadTables(unsigned cores, std::string* error) {
    m_pExact = m_data.Exact();
    if (m_pExact == nullptr || !m_pExact->ReadAll(cores)) {
      *error = m_sink.Entries().empty() ? std::string("the run's files changed while it was read")
                                        : ToUtf8(m_sink.Entries().back().text);
      return false;
    }
    return true;
  }

  // What the viewer said when it refused the run: its last error.
  std::string Refusal() const {
    const std::vector<CRecordingMessageSink::Entry>& entries = m_sink.Entries();
    const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                   [](const CRecordingMessageSink::Entry& e) { return e.icon == MessageIcon::Error; });
    return last != entries.rend() ? ToUtf8(last->text) : std::string("the run could not be loaded");
  }

  CRecordingMessageSink m_sink;
  CSimulationData m_data;
  CExactTables* m_pExact = nullptr;
  std::array<CFabricGridColumns, kBodyPartCount> m_fabrics;
  bool m_bStoreHoldsFabric = false;  // the loader read the fabric (its float rows are there)
};

std::vector<std::string> Names(OptionKind kind) {
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(PropertyCount(kind)));
  for (int i = 0; i < PropertyCount(kind); ++i) {
    out.push_back(ToUtf8(ColumnName(kind, i)));
  }
  return out;
}

}  // namespace

PYBIND11_MODULE(_corvane, m) {
  m.doc() = "The tables of a clothing thermal-comfort run, as Corvane's loader reads them.";
  py::register_exception<CLoadFailure>(m, "LoadError", PyExc_Exception);

  py::class_<CRun>(m, "_Run")
      .def_property_readonly("directory", &CRun::Directory)
      .def_property_readonly("messages", &CRun::Messages)
      .def("body_table", [](CRun& r) { return r.Take(r.Exact().Body()); })
      .def("comfort_table", [](CRun& r, const std::string& part) { return r.Take(r.Exact().Comfort(PartIndex(part))); })
      .def("environment_table", [](CRun& r) { return r.Take(r.Exact().Environment()); })
      .def("fabric_table", [](CRun& r, const std::string& part) { return r.TakeFabric(PartIndex(part)); })
      .def("fabric_shape", &CRun::FabricShape)
      .def_property_readonly("_fabric_by_columns", &CRun::FabricByColumns)
      .def("fibre_tables",
           [](CRun& r) {
             std::vector<std::pair<std::string, py::array_t<double>>> out;
             for (std::size_t k = 0; k < r.Run().m_fibers.size(); ++k) {
               out.emplace_back(ToUtf8(r.Run().m_fibers[k].m_strName), r.Take(r.Exact().Fiber(k)));
             }
             return out;
           })
      .def("profile", &CRun::Profile, py::arg("part"), py::arg("quantity"), py::arg("minute"), py::arg("table"));

  m.def(
      "_load",
      [](const std::string& path, bool whole, bool gated) {
        auto run = std::make_unique<CRun>();
        std::string error;
        bool loaded = false;
        {
          py::gil_scoped_release release;
          if (gated) {
            g_passedGate = g_gate.Pass();
          }
          loaded = run->Load(FromUtf8(path), whole ? LoadScope::Whole : LoadScope::BodyAndComfort, &error);
        }
        if (!loaded) {
          throw CLoadFailure(error);
        }
        return run;
      },
      py::arg("path"), py::arg("whole") = true, py::arg("gated") = false);

  // The gate, for the tests: wait (without the GIL) for a gated load to
  // reach it; open it; whether the last gated load was let through by that.
  m.def("_await_gated_load", [] {
    const py::gil_scoped_release release;
    return g_gate.AwaitLoad();
  });
  m.def("_open_gate", [] { g_gate.Open(); });
  m.def("_gate_opened_during_last_load", [] { return g_passedGate.load(); });

  m.def("_study_header", [] {
    std::vector<std::string> out;
    for (const QString& h : StudyHeader()) {
      out.push_back(ToUtf8(h));
    }
    return out;
  });
  // A study's row of one loaded run, as the command line writes it.
  m.def("_study_row", [](const CRun& run, const std::string& label) {
    std::vector<std::string> out;
    for (const QString& f : StudyRow(run.Run(), FromUtf8(label), &run.Exact())) {
      out.push_back(ToUtf8(f));
    }
    return out;
  });

  m.attr("PARTS") = std::vector<std::string>(std::begin(kBodyPartNames), std::end(kBodyPartNames));
  m.attr("BODY_COLUMNS") = Names(OptionKind::Body);
  m.attr("COMFORT_COLUMNS") = Names(OptionKind::Comfort);
  m.attr("FABRIC_COLUMNS") = Names(OptionKind::Fabric);
  m.attr("FIBRE_COLUMNS") = std::vector<std::string>{g_strFiberPropertyNames[0], g_strFiberPropertyNames[1]};
}
