#include "ExactTables.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "ExactFields.h"
#include "LineReader.h"
#include "MessageSink.h"
#include "RunTables.h"
#include "TableFiles.h"
#include "internal/ExactPlacement.h"
#include "internal/LineFormats.h"
#include "internal/RowGrid.h"

CExactTable::CExactTable(int width, std::size_t rows)
    : m_width(width),
      m_rows(rows),
      m_values(static_cast<std::size_t>(width) * rows, std::numeric_limits<double>::quiet_NaN()) {}

CExactTable CExactTable::View(int width, const double* values, std::size_t rows) {
  CExactTable view;
  view.m_width = width;
  view.m_rows = rows;
  view.m_pView = values;
  return view;
}

std::vector<double> CExactTable::Take() {
  std::vector<double> values = std::move(m_values);
  m_values.clear();
  m_rows = 0;
  return values;
}

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
CExactTable Placed(std::vector<double>&& values, int width, const PlacedFrom& from, std::size_t rows) {
  if (from.empty() && values.size() == rows * static_cast<std::size_t>(width)) {
    return CExactTable(width, std::move(values));  // the file was the grid: its values as they stand
  }
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
// worked out from the rows around it. Each is taken as a row the file did
// write gives that same float (the other parts of a sample, the same node
// at another step), so that the hole stands on its neighbours' times and
// places; failing one, as the decimal the float stands for (2.2f as 2.2).
class CDecimals {
 public:
  void Add(float stored, double written) { m_written.emplace(std::bit_cast<std::uint32_t>(stored), written); }
  double Of(float stored) const {
    const auto it = m_written.find(std::bit_cast<std::uint32_t>(stored));
    if (it != m_written.end()) {
      return it->second;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, stored);
    double d = stored;
    std::from_chars(buf, r.ptr, d);
    return d;
  }

 private:
  std::unordered_map<std::uint32_t, double> m_written;
};

bool HasHole(const PlacedFrom& from) { return std::find(from.begin(), from.end(), kNoRow) != from.end(); }

// The written decimals of column `column` of the rows placed from the file,
// by the float the store holds for them (`stored` of a row).
template <class Row, class Stored>
void AddDecimals(CDecimals& decimals, const CExactTable& table, const std::vector<Row>& rows, const PlacedFrom& from,
                 int column, Stored stored) {
  for (std::size_t r = 0; r < from.size() && r < rows.size(); ++r) {
    if (from[r] != kNoRow) {
      decimals.Add(stored(rows[r]), table.At(r, column));
    }
  }
}

template <class Row, class Fill>
void FillHoles(CExactTable& table, const std::vector<Row>& rows, const PlacedFrom& from, Fill fill) {
  for (std::size_t r = 0; r < from.size() && r < rows.size(); ++r) {
    if (from[r] == kNoRow) {
      fill(table.Row(r), rows[r]);
    }
  }
}

}  // namespace

CExactTable PlacedFabricValues(std::vector<double>&& values, const PlacedFrom& from,
                               const std::vector<FabricRow>& rows) {
  CExactTable out = Placed(std::move(values), LineFormats::kFabric.count, from, rows.size());
  if (!HasHole(from)) {
    return out;
  }
  CDecimals times, positions;
  AddDecimals(times, out, rows, from, ExactColumn::kFabricTime, [](const FabricRow& r) { return r.m_fTime; });
  AddDecimals(positions, out, rows, from, ExactColumn::kFabricPosition,
              [](const FabricRow& r) { return r.m_fPosition; });
  FillHoles(out, rows, from, [&](double* d, const FabricRow& r) {
    d[ExactColumn::kFabricTime] = times.Of(r.m_fTime);
    d[ExactColumn::kFabricPosition] = positions.Of(r.m_fPosition);
    d[ExactColumn::kFabricLayer] = r.m_nLayer;
  });
  return out;
}

CExactTable PlacedBodyValues(std::vector<double>&& values, const PlacedFrom& from,
                             const std::vector<BodyPropertyRow>& rows) {
  CExactTable out = Placed(std::move(values), LineFormats::kBody.count, from, rows.size());
  if (!HasHole(from)) {
    return out;
  }
  CDecimals times;
  AddDecimals(times, out, rows, from, ExactColumn::kBodyTime, [](const BodyPropertyRow& r) { return r.m_fTime; });
  FillHoles(out, rows, from, [&](double* d, const BodyPropertyRow& r) {
    d[ExactColumn::kBodyTime] = times.Of(r.m_fTime);
    d[1] = r.m_nPart;
  });
  return out;
}

void PlacedComfortValues(std::vector<double>&& values, const std::vector<std::uint8_t>& partOf,
                         const PlacedFrom (&from)[kBodyPartCount],
                         const std::vector<ComfortRow> (&parts)[kBodyPartCount], CExactTable* out) {
  // The values in file order, parted as the rows are.
  const std::size_t w = static_cast<std::size_t>(LineFormats::kComfort.count);
  std::vector<double> partValues[kBodyPartCount];
  for (std::size_t i = 0; i < partOf.size() && (i + 1) * w <= values.size(); ++i) {
    std::vector<double>& to = partValues[partOf[i]];
    to.insert(to.end(), values.begin() + static_cast<std::ptrdiff_t>(i * w),
              values.begin() + static_cast<std::ptrdiff_t>((i + 1) * w));
  }
  std::vector<double>().swap(values);
  CDecimals times;  // of every part: a part's hole stands at another part's time
  for (int p = 0; p < kBodyPartCount; ++p) {
    out[p] = Placed(std::move(partValues[p]), static_cast<int>(w), from[p], parts[p].size());
    if (from[p].empty()) {
      for (std::size_t r = 0; r < parts[p].size(); ++r) {
        times.Add(parts[p][r].m_fTime, out[p].At(r, ExactColumn::kComfortTime));
      }
    } else {
      AddDecimals(times, out[p], parts[p], from[p], ExactColumn::kComfortTime,
                  [](const ComfortRow& r) { return r.m_fTime; });
    }
  }
  for (int p = 0; p < kBodyPartCount; ++p) {
    FillHoles(out[p], parts[p], from[p], [&times, p](double* d, const ComfortRow& r) {
      d[ExactColumn::kComfortTime] = times.Of(r.m_fTime);
      d[1] = p;
    });
  }
}

CExactTable FiberValues(std::vector<double>&& values, std::size_t rows) {
  return Placed(std::move(values), LineFormats::kFiber.count, {}, rows);
}

CExactTable EnvironmentValues(std::vector<double>&& values, std::size_t phases) {
  return Placed(std::move(values), LineFormats::kEnvironment.count, {}, phases);
}

namespace {

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
  out = PlacedFabricValues(std::move(values), from, parsed.rows);
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
  out = PlacedBodyValues(std::move(values), from, parsed.rows);
  return true;
}

bool ReadComfort(const RunTables& run, CExactTable* out) {
  std::vector<double> values;
  ParsedComfort parsed = ParseComfortFile(run.m_strDataDir + QStringLiteral("BodyDataforComfort.dat"), &values);
  if (!parsed.opened) {
    return false;
  }
  PlacedFrom from[kBodyPartCount];
  PlaceComfortRows(parsed.parts, parsed.lines, parsed.partOf, &from);
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (!SameRows(parsed.parts[p], run.m_comfort[p])) {
      return false;
    }
  }
  PlacedComfortValues(std::move(values), parsed.partOf, from, parsed.parts, out);
  return true;
}

bool ReadFiber(const RunTables& run, const FiberTable& fiber, CExactTable& out) {
  std::vector<double> values;
  ParsedFile<FiberRow> parsed = ParseFiberFile(run.m_strDataDir + fiber.m_strName, &values);
  if (!parsed.opened || !SameRows(parsed.rows, fiber.m_rows)) {
    return false;
  }
  out = FiberValues(std::move(values), parsed.rows.size());
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
  float start = 0;
  while (phases < kMaxEnvPhases && reader.Next(line)) {
    const ScanResult r =
        line.tooLong ? ScanResult{} : ScanLine(line.text, line.text + line.length, LineFormats::kEnvironment, outs);
    if (r.fields != 13 || (r.bad & LineFormats::kEnvironmentKeys) != 0) {
      continue;
    }
    // Every column the store keeps, its start as the loader sums the
    // durations, in floats.
    const EnvironmentPhase& e = run.m_env[static_cast<std::size_t>(phases)];
    const float stored[12] = {e.m_fStart,      e.m_fTemperature, e.m_fHumidity,   e.m_fColumn4,
                              e.m_fClothed[0], e.m_fClothed[1],  e.m_fClothed[2], e.m_fClothed[3],
                              e.m_fClothed[4], e.m_fClothed[5],  e.m_fColumn12,   e.m_fColumn13};
    const float read[12] = {start, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[11], v[12]};
    for (int i = 0; i < 12; ++i) {
      if (std::bit_cast<std::uint32_t>(read[i]) != std::bit_cast<std::uint32_t>(stored[i])) {
        return false;
      }
    }
    start += v[10];
    AppendExactFields(line.text, line.text + line.length, LineFormats::kEnvironment, r, values);
    ++phases;
  }
  if (phases != run.m_nEnvPhases) {
    return false;
  }
  out = EnvironmentValues(std::move(values), static_cast<std::size_t>(phases));
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
  bool said = false;  // its change was said
  std::mutex lock;    // one read at a time; ReadAll reads slots side by side
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
  for (std::size_t k = 0; k < run.m_fibers.size(); ++k) {
    add(run.m_fibers[k].m_strName, 1,
        [&run, k](CExactTable* t) { return k < run.m_fibers.size() && ReadFiber(run, run.m_fibers[k], *t); });
  }
}

CExactTables::~CExactTables() = default;

const CExactTable* CExactTables::Get(Slot& slot, bool say) const {
  bool sayNow = false;
  const CExactTable* tables = nullptr;
  {
    const std::lock_guard<std::mutex> hold(slot.lock);
    if (!slot.tried) {
      slot.tried = true;
      slot.held = slot.read(slot.tables.data());
      if (!slot.held) {
        slot.tables.assign(slot.tables.size(), CExactTable{});
      }
    }
    sayNow = say && !slot.held && !slot.said;
    slot.said = slot.said || sayNow;
    tables = slot.held ? slot.tables.data() : nullptr;
  }
  // Said on the thread that asked, with no lock held: a message box may
  // run events that ask again.
  if (sayNow && m_pSink != nullptr) {
    m_pSink->Message(QStringLiteral("Export"), ChangedFileMessage(slot.file), MessageIcon::Warning);
  }
  return tables;
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

std::vector<double> CExactTables::Take(const CExactTable* table) {
  for (const std::unique_ptr<Slot>& slot : m_slots) {
    const std::lock_guard<std::mutex> hold(slot->lock);
    for (CExactTable& t : slot->tables) {
      if (&t != table) {
        continue;
      }
      std::vector<double> values = t.Take();
      // A slot given away whole is read again when it is next asked for.
      if (std::all_of(slot->tables.begin(), slot->tables.end(), [](const CExactTable& e) { return e.Rows() == 0; })) {
        slot->tried = slot->held = false;
      }
      return values;
    }
  }
  return {};
}

void CExactTables::Adopt(ExactTablesRead&& read) {
  auto keep = [](Slot& slot, std::vector<CExactTable>&& tables) {
    const std::lock_guard<std::mutex> hold(slot.lock);
    slot.tables = std::move(tables);
    slot.tried = slot.held = true;
  };
  auto one = [](CExactTable&& t) {
    std::vector<CExactTable> v;
    v.push_back(std::move(t));
    return v;
  };
  if (read.environmentRead) {
    keep(*m_slots[kEnvironmentSlot], one(std::move(read.environment)));
  }
  if (read.bodyRead) {
    keep(*m_slots[kBodySlot], one(std::move(read.body)));
  }
  if (read.comfortRead) {
    keep(*m_slots[kComfortSlot], std::vector<CExactTable>(std::make_move_iterator(std::begin(read.comfort)),
                                                          std::make_move_iterator(std::end(read.comfort))));
  }
  for (std::size_t p = 0; p < kBodyPartCount; ++p) {
    if (read.fabricRead[p]) {
      keep(*m_slots[kFabricSlot + p], one(std::move(read.fabric[p])));
    }
  }
  for (std::size_t k = 0; k < read.fibers.size() && kFiberSlot + k < m_slots.size(); ++k) {
    keep(*m_slots[kFiberSlot + k], one(std::move(read.fibers[k])));
  }
}

bool CExactTables::ReadAll(unsigned threads) const {
  // The slots the store has rows for: all but the fabric of a part without.
  std::vector<Slot*> wanted;
  for (std::size_t i = 0; i < m_slots.size(); ++i) {
    const bool unclothed = i >= kFabricSlot && i < kFiberSlot && m_run.m_fabric[i - kFabricSlot].empty();
    if (!unclothed) {
      wanted.push_back(m_slots[i].get());
    }
  }
  std::vector<std::function<void()>> tasks;
  tasks.reserve(wanted.size());
  for (Slot* slot : wanted) {
    tasks.emplace_back([this, slot] { Get(*slot, false); });
  }
  RunTasks(tasks, threads);
  // What changed is said here, on the asking thread, one after the other.
  bool all = true;
  for (Slot* slot : wanted) {
    all = Get(*slot) != nullptr && all;
  }
  return all;
}

namespace {
const CExactTable* IfRows(const CExactTable* table, std::size_t rows) {
  return table != nullptr && table->Rows() == rows ? table : nullptr;
}
}  // namespace

const CExactTable* ExactBodyOf(const CExactTables* tables, const RunTables& run) {
  return tables != nullptr ? IfRows(tables->Body(), run.m_body.size()) : nullptr;
}

const CExactTable* ExactComfortOf(const CExactTables* tables, const RunTables& run, int part) {
  if (tables == nullptr || part < 0 || part >= kBodyPartCount) {
    return nullptr;
  }
  return IfRows(tables->Comfort(part), run.m_comfort[part].size());
}

const CExactTable* ExactFabricOf(const CExactTables* tables, const RunTables& run, int part) {
  if (tables == nullptr || part < 0 || part >= kBodyPartCount) {
    return nullptr;
  }
  return IfRows(tables->Fabric(part), run.m_fabric[part].size());
}

const CExactTable* ExactFiberOf(const CExactTables* tables, const RunTables& run, std::size_t k) {
  if (tables == nullptr || k >= run.m_fibers.size()) {
    return nullptr;
  }
  return IfRows(tables->Fiber(k), run.m_fibers[k].m_rows.size());
}
