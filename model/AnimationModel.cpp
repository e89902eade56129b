#include "AnimationModel.h"

#include <GL/gl.h>

void CAnimationModel::Draw() {
  if (!m_pModel) {
    return;
  }
  const std::vector<int>& parts = PartsAsWritten();
  for (std::size_t i = 0; i < m_pModel->groups.size(); ++i) {
    if (parts[i] < 0) {
      continue;
    }
    if (m_bPickNames) {
      glLoadName(static_cast<GLuint>(101 + parts[i]));
    }
    DrawGroupAt(i, true);
  }
}

// The groups' parts for one frame, worked out once per frame and model.
const std::vector<FramePart>& CAnimationModel::PartsOfFrame(int frame) {
  if (m_nFramesOfLoad != m_nLoads) {
    m_frames.clear();
    m_nFramesOfLoad = m_nLoads;
  }
  auto it = m_frames.find(frame);
  if (it != m_frames.end()) {
    return it->second;
  }
  std::vector<FramePart> parts;
  parts.reserve(m_pModel->groups.size());
  for (const ObjGroup& g : m_pModel->groups) {
    parts.push_back(AnimationFramePart(NormaliseGroupName(g.name, true), frame));
  }
  return m_frames.emplace(frame, std::move(parts)).first->second;
}

void CAnimationModel::DrawFrame(int frame) {
  if (!m_pModel) {
    return;
  }
  const std::vector<FramePart>& parts = PartsOfFrame(frame);
  for (std::size_t i = 0; i < m_pModel->groups.size(); ++i) {
    const FramePart& fp = parts[i];
    if (fp.part < 0 || (fp.garment && !m_bShowGarment)) {
      continue;
    }
    SetPartMaterial(fp.garment ? LayerColour(fp.part) : SkinColour(fp.part), 0.0f);
    if (m_bPickNames) {
      glLoadName(static_cast<GLuint>(101 + fp.part));
    }
    DrawGroupAt(i, true);
  }
}
