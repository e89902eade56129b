#pragma once
// Files of a run parsed ahead of the store's in-order loading, by file name.

#include <map>

#include "SimulationData.h"
#include "TableFiles.h"

struct CSimulationData::Prefetched {
  std::map<QString, ParsedFile<FiberRow>> fibers;
  std::map<QString, ParsedFile<FabricRow>> fabrics;
  std::map<QString, ParsedFile<BodyPropertyRow>> bodies;
  std::map<QString, ParsedComfort> comforts;
};
