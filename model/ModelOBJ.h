#pragma once
// The human body: draws only the groups that name a body part (names as
// written, upper case in the file), each in its part's skin colour.

#include "OBJ.h"

class CModelOBJ : public COBJ {
 public:
  void Draw() override;
};
