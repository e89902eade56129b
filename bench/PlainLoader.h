#pragma once
// The plain way to read a run: fgets into a 256-byte buffer and sscanf with
// the quoted formats, row by row. The benchmark's baseline and its check that
// the fast loader gives the same rows.

#include <string>
#include <vector>

#include "Rows.h"

struct PlainRun {
  std::vector<FabricRow> fabric[kBodyPartCount];
  std::vector<BodyPropertyRow> body;
  std::vector<FiberRow> fibers[2];
  std::vector<ComfortRow> comfort[kBodyPartCount];
  std::size_t bytes = 0;
};

// Reads the fabric, body, comfort and the two named fibre files of `dir`.
PlainRun PlainLoad(const std::string& dir, const std::string& fiber1, const std::string& fiber2);
