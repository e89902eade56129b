#include "ExactTables.h"

#include <atomic>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <mutex>

#include "ExactFields.h"
#include "LineReader.h"
#include "MessageSink.h"
#include "RunTables.h"
#include "TableFiles.h"
#include "internal/LineFormats.h"
#include "internal/RowGrid.h"

CExactTable::CExactTable(int width, std::size_t rows)
    : m_width(width), m_values(static_cast<std::size_t>(width) * rows, std::numeric_limits<double>::quiet_NaN()) {}

QString ChangedFileMessage(const QString& file) {
  return QStringLiteral("%1 has changed since the run was loaded; load the run again to write its values.").arg(file);
}

namespace {

// Rows equal bit for bit (a NaN is a NaN of the same bits, as the same
// parse leaves it): the file read again gave what the store holds.
template <class Row>
bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Row)) == 0);
}

// The values of the file's rows (`width` a row, in file order) in the
// order placing put the rows in; `from` empty when it kept them as they were.
CExactTable Placed(const std::vector<double>& values, int width, const PlacedFrom& from, std::size_t rows) {
  CExactTable table(width, rows);
  const std::size_t w = static_cast<std::size_t>(width);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t src = from.empty() ? r : from[r];
    if (src != kNoRow && (src + 1) * w <= values.size()) {
      std::memcpy(table.Row(r), values.data() + src * w, w * sizeof(double));
    }
  }
  return table;
}

// A hole's place and time are the store's (no file wrote them), a float
// worked out from the rows around it: each is taken as the decimal that
// float stands for (2.2f as 2.2), as a file would have written it, so that
// a hole's row still says where and when it is, on the same times as its
// neighbours.
double AsDecimal(float v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  double d = v;
  std::from_chars(buf, r.ptr, d);
  return d;
}

template <class Row, class Fill>
void FillHoles(CExactTable& table, const std::vector<Row>& rows, const PlacedFrom& from, Fill fill) {
  for (std::size_t r = 0; r < from.size() && r < rows.size(); ++r) {
    if (from[r] == kNoRow) {
      fill(table.Row(r), rows[r]);
    }
  }
}

bool ReadFabric(const RunTables& run, int p, CExactTable& out) {
  std::vector<double> values;
  ParsedFile<FabricRow> parsed = ParseFabricFile(run.m_strDataDir + run.m_fabricFileNames[p], &values);
  if (!parsed.opened) {
    return false;
  }
  PlacedFrom from;
  PlaceFabricRows(parsed.rows, parsed.lines, &from);
  if (!SameRows(parsed.rows, run.m_fabric[p])) {
    return false;
  }
  out = Placed(values, LineFormats::kFabric.count, from, parsed.rows.size());
  FillHoles(out, parsed.rows, from, [](double* d, const FabricRow& r) {
    d[ExactColumn::kFabricTime] = AsDecimal(r.m_fTime);
    d[ExactColumn::kFabricPosition] = AsDecimal(r.m_fPosition);
    d[ExactColumn::kFabricLayer] = r.m_nLayer;
  });
  return true;
}

bool ReadBody(const RunTables& run, CExactTable& out) {
  std::vector<double> values;
  ParsedFile<BodyPropertyRow> parsed = ParseBodyFile(run.m_strDataDir + QStringLiteral("bodyProperty.dat"), &values);
  if (!parsed.opened) {
    return false;
  }
  PlacedFrom from;
  if (parsed.rows.size() >= static_cast<std::size_t>(kBodyPartCount)) {
    PlaceBodyRows(parsed.rows, parsed.lines, &from);
  }
  if (!SameRows(parsed.rows, run.m_body)) {
    return false;
  }
  out = Placed(values, LineFormats::kBody.count, from, parsed.rows.size());
  FillHoles(out, parsed.rows, from, [](double* d, const BodyPropertyRow& r) {
    d[ExactColumn::kBodyTime] = AsDecimal(r.m_fTime);
    d[1] = r.m_nPart;
  });
  return true;
}

bool ReadComfort(const RunTables& run, CExactTable* out) {
  std::vector<double> values;
  ParsedComfort parsed = ParseComfortFile(run.m_strDataDir + QStringLiteral("BodyDataforComfort.dat"), &values);
  if (!parsed.opened) {
    return false;
  }
  // The values in file order, parted as the rows are.
  const std::size_t w = static_cast<std::size_t>(LineFormats::kComfort.count);
  std::vector<double> partValues[kBodyPartCount];
  for (std::size_t i = 0; i < parsed.partOf.size() && (i + 1) * w <= values.size(); ++i) {
    std::vector<double>& to = partValues[parsed.partOf[i]];
    to.insert(to.end(), values.begin() + static_cast<std::ptrdiff_t>(i * w),
              values.begin() + static_cast<std::ptrdiff_t>((i + 1) * w));
  }
  PlacedFrom from[kBodyPartCount];
  PlaceComfortRows(parsed.parts, parsed.lines, parsed.partOf, &from);
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (!SameRows(parsed.parts[p], run.m_comfort[p])) {
      return false;
    }
    out[p] = Placed(partValues[p], static_cast<int>(w), from[p], parsed.parts[p].size());
    FillHoles(out[p], parsed.parts[p], from[p], [p](double* d, const ComfortRow& r) {
      d[ExactColumn::kComfortTime] = AsDecimal(r.m_fTime);
      d[1] = p;
    });
  }
  return true;
}

bool ReadFiber(const RunTables& run, const FiberTable& fiber, CExactTable& out) {
  std::vector<double> values;
  ParsedFile<FiberRow> parsed = ParseFiberFile(run.m_strDataDir + fiber.m_strName, &values);
  if (!parsed.opened || !SameRows(parsed.rows, fiber.m_rows)) {
    return false;
  }
  out = Placed(values, LineFormats::kFiber.count, {}, parsed.rows.size());
  return true;
}

// configure.dat as the loader reads it: its first line is the selected
// model's, never a phase; a phase is a line of 13 fields whose keys are
// numbers, the first kMaxEnvPhases of them kept.
bool ReadEnvironment(const RunTables& run, CExactTable& out) {
  CLineReader reader;
  if (!reader.Open(run.m_strDataDir + QStringLiteral("configure.dat"))) {
    return false;
  }
  TextLine line{};
  if (!reader.Next(line)) {
    return false;
  }
  std::vector<double> values;
  float v[13];
  void* outs[13];
  for (int i = 0; i < 13; ++i) {
    outs[i] = &v[i];
  }
  int phases = 0;
  while (phases < kMaxEnvPhases && reader.Next(line)) {
    const ScanResult r =
        line.tooLong ? ScanResult{} : ScanLine(line.text, line.text + line.length, LineFormats::kEnvironment, outs);
    if (r.fields != 13 || (r.bad & LineFormats::kEnvironmentKeys) != 0) {
      continue;
    }
    const EnvironmentPhase& e = run.m_env[static_cast<std::size_t>(phases)];
    const float stored[9] = {e.m_fTemperature, e.m_fHumidity,   e.m_fColumn4,    e.m_fClothed[0], e.m_fClothed[1],
                             e.m_fClothed[2],  e.m_fClothed[3], e.m_fClothed[4], e.m_fClothed[5]};
    for (int i = 0; i < 9; ++i) {
      if (std::bit_cast<std::uint32_t>(v[1 + i]) != std::bit_cast<std::uint32_t>(stored[i])) {
        return false;
      }
    }
    AppendExactFields(line.text, line.text + line.length, LineFormats::kEnvironment, r, values);
    ++phases;
  }
  if (phases != run.m_nEnvPhases) {
    return false;
  }
  out = Placed(values, LineFormats::kEnvironment.count, {}, static_cast<std::size_t>(phases));
  return true;
}

}  // namespace

// One table, or for the comfort file all six parts' (one file): read once,
// then kept, or known to be gone.
struct CExactTables::Slot {
  QString file;
  std::function<bool(CExactTable*)> read;  // fills the slot's tables; false: the file changed
  std::vector<CExactTable> tables;
  bool tried = false, held = false;
  std::mutex lock;  // one read at a time; ReadAll reads slots side by side
};

CExactTables::CExactTables(const RunTables& run, IMessageSink* sink) : m_run(run), m_pSink(sink) {
  auto add = [this](const QString& file, std::size_t tables, std::function<bool(CExactTable*)> read) {
    auto slot = std::make_unique<Slot>();
    slot->file = file;
    slot->read = std::move(read);
    slot->tables.resize(tables);
    m_slots.push_back(std::move(slot));
  };
  add(QStringLiteral("configure.dat"), 1, [&run](CExactTable* t) { return ReadEnvironment(run, *t); });
  add(QStringLiteral("bodyProperty.dat"), 1, [&run](CExactTable* t) { return ReadBody(run, *t); });
  add(QStringLiteral("BodyDataforComfort.dat"), kBodyPartCount, [&run](CExactTable* t) { return ReadComfort(run, t); });
  for (int p = 0; p < kBodyPartCount; ++p) {
    add(run.m_fabricFileNames[p], 1, [&run, p](CExactTable* t) { return ReadFabric(run, p, *t); });
  }
  for (const FiberTable& fiber : run.m_fibers) {
    add(fiber.m_strName, 1, [&run, &fiber](CExactTable* t) { return ReadFiber(run, fiber, *t); });
  }
}

CExactTables::~CExactTables() = default;

const CExactTable* CExactTables::Get(Slot& slot) const {
  const std::lock_guard<std::mutex> hold(slot.lock);
  if (!slot.tried) {
    slot.tried = true;
    slot.held = slot.read(slot.tables.data());
    if (!slot.held) {
      slot.tables.assign(slot.tables.size(), CExactTable{});
      if (m_pSink != nullptr) {
        m_pSink->Message(QStringLiteral("Export"), ChangedFileMessage(slot.file), MessageIcon::Warning);
      }
    }
  }
  return slot.held ? slot.tables.data() : nullptr;
}

namespace {
constexpr std::size_t kEnvironmentSlot = 0, kBodySlot = 1, kComfortSlot = 2, kFabricSlot = 3,
                      kFiberSlot = kFabricSlot + kBodyPartCount;
}  // namespace

const CExactTable* CExactTables::Environment() const { return Get(*m_slots[kEnvironmentSlot]); }
const CExactTable* CExactTables::Body() const { return Get(*m_slots[kBodySlot]); }

const CExactTable* CExactTables::Comfort(int part) const {
  const CExactTable* all = part >= 0 && part < kBodyPartCount ? Get(*m_slots[kComfortSlot]) : nullptr;
  return all != nullptr ? all + part : nullptr;
}

const CExactTable* CExactTables::Fabric(int part) const {
  if (part < 0 || part >= kBodyPartCount || m_run.m_fabric[part].empty()) {
    return nullptr;
  }
  return Get(*m_slots[kFabricSlot + static_cast<std::size_t>(part)]);
}

const CExactTable* CExactTables::Fiber(std::size_t k) const {
  return kFiberSlot + k < m_slots.size() ? Get(*m_slots[kFiberSlot + k]) : nullptr;
}

bool CExactTables::ReadAll(unsigned threads) const {
  std::vector<std::function<void()>> tasks;
  std::atomic<bool> ok{true};
  auto need = [&](const CExactTable* (CExactTables::*get)(int) const, int i) {
    tasks.emplace_back([this, get, i, &ok] {
      if ((this->*get)(i) == nullptr) {
        ok = false;
      }
    });
  };
  tasks.emplace_back([this, &ok] { ok = ok && Environment() != nullptr; });
  tasks.emplace_back([this, &ok] {
    if (Body() == nullptr) {
      ok = false;
    }
  });
  need(&CExactTables::Comfort, 0);
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (!m_run.m_fabric[p].empty()) {
      need(&CExactTables::Fabric, p);
    }
  }
  for (std::size_t k = 0; k < m_run.m_fibers.size(); ++k) {
    tasks.emplace_back([this, k, &ok] {
      if (Fiber(k) == nullptr) {
        ok = false;
      }
    });
  }
  RunTasks(tasks, threads);
  return ok;
}
