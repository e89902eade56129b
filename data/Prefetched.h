#pragma once
// Files of a run parsed ahead of the store's in-order loading, by file name.

#include "SimulationData.h"
#include "TableFiles.h"

#include <map>

struct CSimulationData::Prefetched {
  std::map<QString, ParsedFile<FiberRow>> fibers;
  std::map<QString, ParsedFile<FabricRow>> fabrics;
  std::map<QString, ParsedFile<BodyPropertyRow>> bodies;
  std::map<QString, ParsedComfort> comforts;
};
