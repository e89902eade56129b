#pragma once
// Files of a run parsed ahead of the store's in-order loading, by file name.

#include <limits>
#include <map>

#include "SimulationData.h"
#include "TableFiles.h"
#include "internal/RowGrid.h"

// A fabric file parsed and its rows placed, with the range of their
// humidity in fractions: all the work on it that needs no other file, done
// on the parsing threads rather than after them.
struct PlacedFabric {
  ParsedFile<FabricRow> parsed;
  FabricLayout layout;  // once `parsed.opened`
  PlacedFrom from;      // when the values at full precision are read too
  float humidityMin = std::numeric_limits<float>::infinity();
  float humidityMax = -std::numeric_limits<float>::infinity();  // below the minimum: no value
};
// With `exact`, the file's values at full precision too (TableFiles.h).
PlacedFabric ParseAndPlaceFabric(const QString& path, std::vector<double>* exact);

struct CSimulationData::Prefetched {
  std::map<QString, ParsedFile<FiberRow>> fibers;
  std::map<QString, PlacedFabric> fabrics;
  std::map<QString, ParsedFile<BodyPropertyRow>> bodies;
  std::map<QString, ParsedComfort> comforts;
  // Each file's values at full precision, when the load reads them too.
  std::map<QString, std::vector<double>> values;
};
