#include "ModelOBJ.h"

void CModelOBJ::Draw() { DrawPartGroups(PartsAsWritten(), &CModelOBJ::SkinColour, 100); }
