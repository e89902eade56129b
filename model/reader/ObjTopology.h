#pragma once
// Shape facts about a model that drawing can use.

#include "ObjModel.h"

// True when every edge of the model is used exactly once in each direction
// (a closed, consistently wound surface, possibly in several pieces) and the
// surface encloses a positive volume, so its faces turn outwards: then no
// back face can be seen from outside, and back faces may be culled.
bool IsClosedOutward(const ObjModel& model);
