#pragma once
// Tests build a run's tables, and set colours to draw, by hand through this
// friend of the store: in the program only the loader fills the tables and
// only the store works out the colours.

#include "SimulationData.h"

class CStoreEditor {
 public:
  // Each call counts as a change of the tables: the colours follow it.
  static RunTables& Tables(CSimulationData& d) {
    ++d.m_nGeneration;
    return d.m_run;
  }
  // The colours as they stand now, to be painted over; they hold until the
  // quantity, layer, step or tables change.
  static PartColours& Colours(CSimulationData& d) {
    (void)d.Colours();
    return d.m_colours;
  }
};

inline RunTables& EditRun(CSimulationData& d) { return CStoreEditor::Tables(d); }
inline PartColours& EditColours(CSimulationData& d) { return CStoreEditor::Colours(d); }
