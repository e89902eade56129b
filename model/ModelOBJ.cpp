#include "ModelOBJ.h"

#include <GL/gl.h>

void CModelOBJ::Draw() {
  if (!m_pModel) return;
  const std::vector<int>& parts = PartsAsWritten();
  for (std::size_t i = 0; i < m_pModel->groups.size(); ++i) {
    const int part = parts[i];
    if (part < 0) continue;
    SetPartMaterial(SkinColour(part), 0.0f);
    if (m_bPickNames) glLoadName(static_cast<GLuint>(101 + part));
    DrawGroupAt(i, true);
  }
}
