#pragma once
// The filled triangles of a model as indexed arrays, ready to draw: one
// array entry per distinct (position, normal, texture coordinate) corner, so
// that a vertex shared by many triangles is transformed and lit once.

#include <cstdint>
#include <vector>

#include "ObjModel.h"

struct ObjIndexedMesh {
  std::vector<float> positions, normals, texCoords;  // texCoords empty when the model has none
  std::vector<std::vector<std::uint32_t>> groups;    // triangle corners per group, in the model's group order
};

// With `smooth` (and vertex normals in the model) each corner takes its vertex
// normal; otherwise the whole triangle takes its facet normal.
ObjIndexedMesh glmIndexCorners(const ObjModel& model, bool smooth);
