#pragma once
// Putting the rows of a table file where their own values put them. The store
// addresses rows by position (a fabric row by time step, layer and node, a
// body row by sample and part), so one row too few or too many would shift
// every later one onto another node, layer or time. Each row is placed by its
// time and its layer or part column instead; a place that no row fills holds a
// hole (its values NaN) and is reported, a row that fits no place is left out
// and reported. A file that already is the grid, as every well-written one
// is, is recognised in one pass and kept as it is, untouched.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "Rows.h"
#include "TableFiles.h"

// What placing one file's rows found, for one message.
struct GridReport {
  static constexpr int kNamed = 3;  // holes, and rows left out, named one by one

  QStringList holes;  // the first few holes, each naming its line
  std::size_t moreHoles = 0;
  QStringList extras;  // the first few rows left out
  std::size_t moreExtras = 0;
  // Unreadable lines that left a hole: said with the hole, not counted again
  // among the unreadable lines that leave none (a header, a blank line).
  std::uint64_t causedLines = 0;
  const char* holeNoun = "row";  // what `moreHoles` counts: "value" or "row"
  // Places that no row filled: the table's rows less these are the rows read
  // (for the comfort file, each part's).
  std::size_t holeCells = 0;
  std::size_t partHoles[kBodyPartCount]{};

  bool Empty() const { return holes.isEmpty() && extras.isEmpty(); }
  // "fabricsTrunk.dat: line 1 cannot be read; one value of layer 1 at 0 min is missing"
  QString Text(const QString& file) const;
};

struct FabricLayout {
  int layers = 1;
  int nodes = 1;
  bool hasInterval = false;  // the file holds two time steps or more
  float interval = 0;        // minutes between them
  GridReport report;
};

// Where each place of a placed table took its row from: the index of that
// row among the file's rows, or kNoRow for a hole. Left empty when the file
// already was the grid (each place holds the row of its own index).
using PlacedFrom = std::vector<std::size_t>;
inline constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

// Places the rows of one fabric file; `rows` becomes the table.
FabricLayout PlaceFabricRows(std::vector<FabricRow>& rows, const CLineMap& lines, PlacedFrom* from = nullptr);

struct BodyLayout {
  int samples = 0;
  float interval = 1.0f;
  GridReport report;
};

// Places the rows of "bodyProperty.dat" (at least one sample's worth).
BodyLayout PlaceBodyRows(std::vector<BodyPropertyRow>& rows, const CLineMap& lines, PlacedFrom* from = nullptr);

// Places every part's comfort series by its times.
// `from`, when given, maps each part's places to that part's rows.
GridReport PlaceComfortRows(std::vector<ComfortRow> (&parts)[kBodyPartCount], const CLineMap& lines,
                            const std::vector<std::uint8_t>& partOf, PlacedFrom (*from)[kBodyPartCount] = nullptr);
