#include "Garment.h"

void CGarment::Draw() { DrawPartGroups(PartsUpperCase(), &CGarment::LayerColour, 200); }
