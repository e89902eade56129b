#pragma once
// The files' values at full precision (ExactFields.h: each kept row's fields
// in file order) put where the store's rows were put: in the order placing
// gave the rows (`from`, RowGrid.h), a hole's values NaN and its time and
// place those its neighbours wrote. For the loader, which can read them in
// the same pass as the floats, and for a writer reading a file again.

#include <cstdint>
#include <vector>

#include "ExactTables.h"
#include "Rows.h"
#include "internal/RowGrid.h"

CExactTable PlacedFabricValues(std::vector<double>&& values, const PlacedFrom& from,
                               const std::vector<FabricRow>& rows);
CExactTable PlacedBodyValues(std::vector<double>&& values, const PlacedFrom& from,
                             const std::vector<BodyPropertyRow>& rows);
// The comfort file's values, in file order, parted (`partOf`) and placed
// as each part's rows were; `out` takes the six parts' tables.
void PlacedComfortValues(std::vector<double>&& values, const std::vector<std::uint8_t>& partOf,
                         const PlacedFrom (&from)[kBodyPartCount],
                         const std::vector<ComfortRow> (&parts)[kBodyPartCount], CExactTable* out);
CExactTable FiberValues(std::vector<double>&& values, std::size_t rows);
CExactTable EnvironmentValues(std::vector<double>&& values, std::size_t phases);
