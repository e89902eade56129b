#pragma once
// A run's values as its files wrote them. The store keeps floats, which is
// what the views draw and all they need; a writer (an export, a copy, a
// study) owes the user the file's own decimals, which a float cannot always
// hold ("%f" writes 33.235381, the nearest float prints 33.235382). So a
// writer reads the files once more, with the same line rules, and takes the
// values as doubles. Nothing is kept until a writer asks.

#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "BodyParts.h"

class IMessageSink;

struct RunTables;

// One table at full precision, in the store's row order: a row per stored
// row (holes included, their values NaN), the file's columns in its order
// (an int column, a layer or a part, as a whole number).
class CExactTable {
 public:
  CExactTable() = default;
  CExactTable(int width, std::size_t rows);  // every value NaN
  CExactTable(int width, std::vector<double>&& values)
      : m_width(width),
        m_rows(width > 0 ? values.size() / static_cast<std::size_t>(width) : 0),
        m_values(std::move(values)) {}
  // A table over `rows` x `width` values kept elsewhere (an array handed to
  // Python), which must outlive it; read only.
  static CExactTable View(int width, const double* values, std::size_t rows);

  int Width() const { return m_width; }
  std::size_t Rows() const { return m_rows; }
  double At(std::size_t row, int column) const { return Row(row)[column]; }
  double* Row(std::size_t row) { return m_values.data() + row * static_cast<std::size_t>(m_width); }
  const double* Row(std::size_t row) const {
    return (m_pView != nullptr ? m_pView : m_values.data()) + row * static_cast<std::size_t>(m_width);
  }
  // Its values, given away whole: the table is empty after.
  std::vector<double> Take();

 private:
  int m_width = 0;
  std::size_t m_rows = 0;
  std::vector<double> m_values;
  const double* m_pView = nullptr;
};

// Column numbers of the tables below.
namespace ExactColumn {
// Fabric: time, position, layer, then the six quantities as FabricValue
// numbers them, from column 3.
inline constexpr int kFabricTime = 0, kFabricPosition = 1, kFabricLayer = 2, kFabricFirstValue = 3;
// Body: time, part, then the nine properties from column 2.
inline constexpr int kBodyTime = 0, kBodyFirstValue = 2;
// Comfort: time, part, thermal sensation, dampness, comfort.
inline constexpr int kComfortTime = 0, kComfortFirstValue = 2;
// Fibre: time, position, the two values.
// Environment: the 13 columns of configure.dat, the phase's duration in 10.
inline constexpr int kEnvDuration = 10;
}  // namespace ExactColumn

// Tables a load read in the same pass as the store's floats, each marked
// when it was (CSimulationData::SetReadExact).
struct ExactTablesRead {
  CExactTable environment, body;
  CExactTable comfort[kBodyPartCount];
  CExactTable fabric[kBodyPartCount];
  std::vector<CExactTable> fibers;  // each fibre the store keeps, in its order
  bool environmentRead = false, bodyRead = false, comfortRead = false;
  bool fabricRead[kBodyPartCount] = {};
};

// A run's tables at full precision, each read from its file when it is
// first asked for, so that a writer of one quantity reads one file. A file
// that no longer gives the very rows the store holds (it was changed, or
// removed, since the load) is not mixed in: its table is null, and that is
// said once, through the sink. The run's tables must outlive this.
class CExactTables {
 public:
  CExactTables(const RunTables& run, IMessageSink* sink);
  ~CExactTables();
  CExactTables(const CExactTables&) = delete;
  CExactTables& operator=(const CExactTables&) = delete;

  const CExactTable* Environment() const;  // the phases the store holds
  const CExactTable* Body() const;
  const CExactTable* Comfort(int part) const;
  const CExactTable* Fabric(int part) const;      // null for a part without fabric rows
  const CExactTable* Fiber(std::size_t k) const;  // in the order of RunTables' fibres
  // Every table, the files read on up to `threads` threads at once; false
  // when one of them changed.
  bool ReadAll(unsigned threads) const;
  // The values of `table` (one of this run's), given away whole, for a
  // holder that keeps them (the Python module, without a copy); asked for
  // again, the table is read from its file again.
  std::vector<double> Take(const CExactTable* table);
  void SetMessageSink(IMessageSink* sink) { m_pSink = sink; }
  // Keeps the tables a load read already, as if read from their files now.
  void Adopt(ExactTablesRead&& read);

 private:
  struct Slot;
  // The slot's tables, read on first asking; a change is said when `say`.
  const CExactTable* Get(Slot& slot, bool say = true) const;
  const RunTables& m_run;
  IMessageSink* m_pSink;
  std::vector<std::unique_ptr<Slot>> m_slots;  // environment, body, comfort x 6, fabric x 6, fibres
};

// A table of `tables` when it holds the store's rows of `run`, value for
// value; null where there is none (tables made by hand, a file changed since
// the load): then the writer has the store's floats alone.
const CExactTable* ExactBodyOf(const CExactTables* tables, const RunTables& run);
const CExactTable* ExactComfortOf(const CExactTables* tables, const RunTables& run, int part);
const CExactTable* ExactFabricOf(const CExactTables* tables, const RunTables& run, int part);
const CExactTable* ExactFiberOf(const CExactTables* tables, const RunTables& run, std::size_t k);

// "bodyProperty.dat has changed since the run was loaded; load the run again to write its values."
QString ChangedFileMessage(const QString& file);
