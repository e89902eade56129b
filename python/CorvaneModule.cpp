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
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "CaptionTables.h"
#include "ExactTables.h"
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

// Whether the last load held the GIL while it read: its tests ask.
std::atomic<bool> g_heldGilDuringLoad{true};

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

// A table as a NumPy array that owns its values (rows x columns), taken
// from the run without a copy; none (0 x 0) for a table the run lacks.
py::array_t<double> Owned(int width, std::vector<double>&& taken) {
  const auto w = static_cast<py::ssize_t>(width);
  if (w <= 0 || taken.empty()) {
    return py::array_t<double>(std::vector<py::ssize_t>{0, 0});
  }
  auto* values = new std::vector<double>(std::move(taken));
  py::capsule owner(values, [](void* p) { delete static_cast<std::vector<double>*>(p); });
  const auto rows = static_cast<py::ssize_t>(values->size()) / w;
  const std::vector<py::ssize_t> shape{rows, w};
  const std::vector<py::ssize_t> strides{w * static_cast<py::ssize_t>(sizeof(double)),
                                         static_cast<py::ssize_t>(sizeof(double))};
  return py::array_t<double>(shape, strides, values->data(), owner);
}

int PartIndex(const std::string& name) {
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (name == kBodyPartNames[p]) {
      return p;
    }
  }
  throw py::value_error("no body part \"" + name + "\"; the parts are Head, Trunk, Arm, Hand, Leg and Foot");
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
    if (!m_data.Load(QDir(dir).absolutePath() + QLatin1Char('/'), scope)) {
      *error = Refusal();
      return false;
    }
    // Every table at full precision now, while the GIL is let go, on the
    // cores the loader uses; a file changed meanwhile is refused, not mixed.
    m_pExact = m_data.Exact();
    const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    if (m_pExact == nullptr || !m_pExact->ReadAll(cores)) {
      *error = m_sink.Entries().empty() ? std::string("the run's files changed while it was read")
                                        : ToUtf8(m_sink.Entries().back().text);
      return false;
    }
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
  const RunTables& Run() const { return m_data.Run(); }

  py::dict FabricShape(const std::string& part) const {
    const int p = PartIndex(part);
    py::dict d;
    d["layers"] = Run().m_fabric[p].empty() ? 0 : Run().m_nLayers[p];
    d["nodes"] = Run().m_fabric[p].empty() ? 0 : Run().m_nNodesPerLayer[p];
    d["liquid_fraction"] = Run().m_bLiquidFraction[p];
    return d;
  }

  // The profile's rows (position, layer from 1, value) and its time.
  // `taken`: the part's fabric table as fabric_table gave it, when Python
  // holds it (else the run's own, read again if it was given away).
  std::tuple<double, std::vector<std::tuple<double, int, double>>> Profile(
      const std::string& part, int q, double minute,
      const std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>>& taken) const {
    const int p = PartIndex(part);
    if (q < 0 || q >= PropertyCount(OptionKind::Fabric)) {
      throw py::value_error("no fabric quantity " + std::to_string(q));
    }
    if (!(minute >= 0)) {
      throw py::value_error(ToUtf8(QStringLiteral("a minute of the run is 0 or more, not %1").arg(minute, 0, 'g', 6)));
    }
    const std::optional<int> step = NearestFabricStep(Run(), p, minute);
    if (!step) {
      const int steps = FabricStepCount(Run(), p);
      const double end = steps > 0 ? FabricStepTime(Run(), p, steps - 1) : 0.0;
      throw py::value_error(
          ToUtf8(steps == 0 ? QStringLiteral("the run holds no fabric data of %1").arg(QLatin1String(kBodyPartNames[p]))
                            : QStringLiteral("%1 min is beyond the end of the run's fabric data (%2 min)")
                                  .arg(minute, 0, 'g', 6)
                                  .arg(end, 0, 'g', 6)));
    }
    CExactTable view;
    const CExactTable* table = nullptr;
    if (taken && taken->ndim() == 2 && taken->shape(1) == ExactColumn::kFabricFirstValue + 6 &&
        static_cast<std::size_t>(taken->shape(0)) == Run().m_fabric[p].size()) {
      view = CExactTable::View(static_cast<int>(taken->shape(1)), taken->data(),
                               static_cast<std::size_t>(taken->shape(0)));
      table = &view;
    } else {
      table = ExactFabricOf(m_pExact, Run(), p);
    }
    const FabricProfile profile = FabricProfileAt(Run(), p, *step, q, table);
    std::vector<std::tuple<double, int, double>> rows;
    for (const ProfilePoint& point : profile.points) {
      rows.emplace_back(point.exactPosition, point.layer + 1, point.exactValue);
    }
    // The step's time as its first row wrote it.
    const std::size_t first = static_cast<std::size_t>(*step) * static_cast<std::size_t>(Run().m_nLayers[p]) *
                              static_cast<std::size_t>(Run().m_nNodesPerLayer[p]);
    const double time = table != nullptr && first < table->Rows() ? table->At(first, ExactColumn::kFabricTime)
                                                                  : static_cast<double>(profile.time);
    return {time, rows};
  }

 private:
  // What the viewer said when it refused the run: its last error.
  std::string Refusal() const {
    const std::vector<CRecordingMessageSink::Entry>& entries = m_sink.Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (it->icon == MessageIcon::Error) {
        return ToUtf8(it->text);
      }
    }
    return "the run could not be loaded";
  }

  CRecordingMessageSink m_sink;
  CSimulationData m_data;
  CExactTables* m_pExact = nullptr;
};

std::vector<std::string> Names(OptionKind kind) {
  std::vector<std::string> out;
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
      .def("fabric_table", [](CRun& r, const std::string& part) { return r.Take(r.Exact().Fabric(PartIndex(part))); })
      .def("fabric_shape", &CRun::FabricShape)
      .def("fibre_tables",
           [](CRun& r) {
             std::vector<std::pair<std::string, py::array_t<double>>> out;
             for (std::size_t k = 0; k < r.Run().m_fibers.size(); ++k) {
               out.emplace_back(ToUtf8(r.Run().m_fibers[k].m_strName), r.Take(r.Exact().Fiber(k)));
             }
             return out;
           })
      .def("profile", &CRun::Profile, py::arg("part"), py::arg("quantity"), py::arg("minute"),
           py::arg("table") = py::none());

  m.def(
      "_load",
      [](const std::string& path, bool whole) {
        auto run = std::make_unique<CRun>();
        std::string error;
        bool loaded = false;
        {
          py::gil_scoped_release release;
          g_heldGilDuringLoad = PyGILState_Check() != 0;
          loaded = run->Load(FromUtf8(path), whole ? LoadScope::Whole : LoadScope::BodyAndComfort, &error);
        }
        if (!loaded) {
          throw CLoadFailure(error);
        }
        return run;
      },
      py::arg("path"), py::arg("whole") = true);

  m.def("_gil_held_during_last_load", [] { return g_heldGilDuringLoad.load(); });

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
