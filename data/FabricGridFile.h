#pragma once
// A fabric file read straight into the columns a holder of whole tables keeps
// (the Python module): its values as the doubles the file wrote and its layer
// numbers, with no float rows beside them. That is the loader's outcome for
// every well-written file, at a third of the memory and in one pass; any
// other file is the loader's to read, placed and with its messages.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "RunTables.h"
#include "internal/RowGrid.h"

class CFabricGridColumns {
 public:
  // Each row's doubles: time, position and the six quantities.
  static constexpr int kWidth = 8;
  static constexpr int kFirstQuantity = 2;

  // Rows read, and still so once the columns are given away.
  std::size_t Rows() const { return m_nRows; }
  const std::vector<double>& Values() const { return m_values; }
  const std::vector<std::int32_t>& Layers() const { return m_layers; }
  // Each step's time as the store's float holds it: what finds a step.
  const std::vector<float>& StepTimes() const { return m_stepTimes; }
  const FabricLayout& Layout() const { return m_layout; }
  // Whether any line held the ninth value (the liquid volume fraction).
  bool NinthColumn() const { return m_bNinth; }

  // A placed fabric table of the loader's full-precision reading (time,
  // position, layer, six quantities: ExactTables.h) as such columns, its
  // values moved in place; for a file the loader had to read. `stepTimes`
  // as the store holds them.
  static CFabricGridColumns FromPlaced(std::vector<double>&& values, std::vector<float> stepTimes,
                                       const FabricLayout& layout, bool ninth);

  // The columns given away whole (the caller's array owns them from then on).
  std::vector<double> TakeValues() { return std::move(m_values); }
  std::vector<std::int32_t> TakeLayers() { return std::move(m_layers); }

 private:
  friend std::optional<CFabricGridColumns> ReadFabricGrid(const QString& path);
  std::vector<double> m_values;
  std::vector<std::int32_t> m_layers;
  std::vector<float> m_stepTimes;
  FabricLayout m_layout;
  std::size_t m_nRows = 0;
  bool m_bNinth = false;
};

// The file at `path` when the loader would keep it row for row and say
// nothing of it: every line eight or nine numbers, each a decimal the float
// parser reads, and the rows already the grid of its first step. Each value
// is the double the loader's own full-precision reading gives (ExactFields.h),
// a line of eight holding 0 as the ninth. nullopt for any other file (one
// that cannot be opened, is empty, has a line to skip, a field that is no
// number, a hole or a row out of place).
std::optional<CFabricGridColumns> ReadFabricGrid(const QString& path);

// The fabric files named `names` in folder `dir` (ending with a separator)
// read so, side by side on `threads`: each part's columns, or nullopt where
// its file is not there or is not such a file. Once a file that is there
// proves not to be such a file, the ones not started yet are not read: a run
// with one is the loader's whole.
using FabricGrids = std::array<std::optional<CFabricGridColumns>, kBodyPartCount>;
FabricGrids ReadFabricGrids(const QString& dir, const std::array<QString, kBodyPartCount>& names, unsigned threads);
