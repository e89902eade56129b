#pragma once
// An ObjModel that frees itself.

#include "ObjReader.h"

#include <memory>

struct ModelDeleter {
  void operator()(ObjModel* m) const { glmFreeModel(m); }
};
using ModelPtr = std::unique_ptr<ObjModel, ModelDeleter>;
