#pragma once
// A garment (also the space suit): draws only the groups that name a body
// part, in any letter case, each in the colour of the selected fabric layer.

#include "OBJ.h"

class CGarment : public COBJ {
 public:
  void Draw() override;
};
