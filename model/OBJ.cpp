#include "OBJ.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <cstddef>

#include "BodyPartNames.h"
#include "ObjIndexing.h"
#include "ObjReader.h"
#include "ObjTopology.h"
#include "SimulationData.h"

namespace {
const float kWhite[4] = {1, 1, 1, 1};

}  // namespace

bool COBJ::s_bImmediate = false;

COBJ::~COBJ() {
  if (m_pModel) {
    glmFreeModel(m_pModel);
    m_pModel = nullptr;
  }
  // Lists can only be freed in their context; without one current they go
  // with the context itself.
  if ((m_nDisplayList || !m_groupLists.empty()) && QOpenGLContext::currentContext()) {
    ReleaseGL();
  }
}

void COBJ::ReleaseGL() {
  if (m_nDisplayList) {
    glDeleteLists(m_nDisplayList, 1);
  }
  m_nDisplayList = 0;
  m_bDirty = true;
  ReleaseGroupLists();
}

void COBJ::ReleaseGroupLists() {
  for (unsigned list : m_groupLists) {
    if (list) {
      glDeleteLists(list, 1);
    }
  }
  m_groupLists.clear();
}

void COBJ::BuildIndexedMesh() {
  m_indexed.mesh = glmIndexCorners(*m_pModel, m_bSmooth);
  m_indexed.smooth = static_cast<int>(m_bSmooth);
  m_indexed.load = m_nLoads;
}

void COBJ::DrawIndexedGroup(std::size_t index) {
  if (m_indexed.load != m_nLoads || m_indexed.smooth != static_cast<int>(m_bSmooth) ||
      m_indexed.mesh.groups.size() != m_pModel->groups.size()) {
    BuildIndexedMesh();
  }
  const ObjIndexedMesh& mesh = m_indexed.mesh;
  const std::vector<std::uint32_t>& indices = mesh.groups[index];
  if (m_bClosed) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
  }
  if (!indices.empty()) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    if (!mesh.texCoords.empty()) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
  if (m_bClosed) {
    glDisable(GL_CULL_FACE);
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void COBJ::DrawGroupAt(std::size_t index, bool setLineWidth) {
  const ObjGroup& group = m_pModel->groups[index];
  if (s_bImmediate || m_bCompiling) {
    return DrawGroup(group, setLineWidth);
  }
  if (m_nDrawMode == DrawMode::Filled) {
    return DrawIndexedGroup(index);
  }
  if (m_nListsMode != m_nDrawMode || m_nListsSmooth != static_cast<int>(m_bSmooth) || m_nListsLoad != m_nLoads ||
      m_groupLists.size() != m_pModel->groups.size()) {
    ReleaseGroupLists();
    m_groupLists.assign(m_pModel->groups.size(), 0u);
    m_nListsMode = m_nDrawMode;
    m_nListsSmooth = static_cast<int>(m_bSmooth);
    m_nListsLoad = m_nLoads;
  }
  unsigned& list = m_groupLists[index];
  if (!list) {
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    DrawGroup(group, setLineWidth);
    glEndList();
  }
  glCallList(list);
}

bool COBJ::Load(const char* path, float smoothAngle) {
  if (m_pModel) {
    glmFreeModel(m_pModel);
    m_pModel = nullptr;
  }
  m_partsAsWritten.clear();
  m_partsUpperCase.clear();
  m_indexed = IndexedMesh{};
  ObjModel* model = glmReadOBJ(path);
  if (!model) {
    return false;
  }
  m_fSmoothAngle = smoothAngle;
  glmScaleModel(model, kModelScale);
  glmComputeFacetNormals(model);
  glmVertexNormals(model, m_fSmoothAngle);
  for (const ObjGroup& g : model->groups) {
    m_partsAsWritten.push_back(BodyPartOfName(NormaliseGroupName(g.name, false)));
    m_partsUpperCase.push_back(BodyPartOfName(NormaliseGroupName(g.name, true)));
  }
  m_bClosed = IsClosedOutward(*model);
  m_pModel = model;
  ++m_nLoads;
  // The drawable arrays too are made here, on the loading thread, rather
  // than in the first frame that shows the model.
  BuildIndexedMesh();
  m_bDirty = true;
  return true;
}

void COBJ::SetPartMaterial(const float* colour, float shininess) {
  const float zero[4] = {0, 0, 0, 0};
  glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
  glMaterialfv(GL_FRONT, GL_SPECULAR, zero);
  glMaterialfv(GL_FRONT, GL_EMISSION, zero);
  glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}

void COBJ::DrawPartGroups(const std::vector<int>& parts, const float* (COBJ::*colour)(int) const, unsigned nameBase) {
  if (!m_pModel) {
    return;
  }
  for (std::size_t i = 0; i < m_pModel->groups.size(); ++i) {
    const int part = parts[i];
    if (part < 0) {
      continue;
    }
    SetPartMaterial((this->*colour)(part), 0.0f);
    if (m_bPickNames) {
      glLoadName(nameBase + 1 + static_cast<unsigned>(part));
    }
    DrawGroupAt(i, true);
  }
}

const float* COBJ::SkinColour(int part) const { return m_pData ? m_pData->Colours().m_skinColours[part] : kWhite; }
const float* COBJ::LayerColour(int part) const { return m_pData ? m_pData->Colours().m_layerColours[part] : kWhite; }

void COBJ::DrawGroup(const ObjGroup& group, bool setLineWidth) const {
  const ObjModel& m = *m_pModel;
  const float* v = m.vertices.data();
  const float* n = m.normals.data();
  const float* f = m.facetNormals.data();
  const float* t = m.HasTexCoords() ? m.texCoords.data() : nullptr;
  const bool smooth = m_bSmooth && m.HasNormals();
  auto normal = [&](const ObjTriangle& tri, int c) {
    if (smooth) {
      glNormal3fv(n + std::size_t{3} * tri.normalIndex[c]);
    } else if (c == 0 && !m.facetNormals.empty()) {
      glNormal3fv(f + std::size_t{3} * tri.facetNormalIndex);
    }
  };
  if (m_nDrawMode == DrawMode::Filled) {
    glBegin(GL_TRIANGLES);
    for (std::uint32_t i : group.triangleIndices) {
      const ObjTriangle& tri = m.triangles[i];
      for (int c = 0; c < 3; ++c) {
        normal(tri, c);
        if (t) {
          glTexCoord2fv(t + std::size_t{2} * tri.texCoordIndex[c]);
        }
        glVertex3fv(v + std::size_t{3} * tri.vertexIndex[c]);
      }
    }
    glEnd();
  } else if (m_nDrawMode == DrawMode::WireFrame) {
    for (std::uint32_t i : group.triangleIndices) {
      const ObjTriangle& tri = m.triangles[i];
      if (setLineWidth) {
        glLineWidth(1.0f);
      }
      glBegin(GL_LINE_LOOP);
      for (int c = 0; c < 3; ++c) {
        normal(tri, c);
        glVertex3fv(v + std::size_t{3} * tri.vertexIndex[c]);
      }
      glEnd();
    }
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void COBJ::Draw() {
  if (!m_pModel) {
    return;
  }
  for (std::size_t i = 0; i < m_pModel->groups.size(); ++i) {
    DrawGroupAt(i, false);
  }
}

void COBJ::SetDrawMode(DrawMode mode) {
  if (mode != m_nDrawMode) {
    m_nDrawMode = mode;
    m_bDirty = true;
  }
}

void COBJ::DrawList() {
  if (!m_pModel) {
    return;
  }
  if (m_bDirty) {
    if (m_nDisplayList) {
      glDeleteLists(m_nDisplayList, 1);
    }
    m_nDisplayList = glGenLists(1);
    glNewList(m_nDisplayList, GL_COMPILE_AND_EXECUTE);
    m_bCompiling = true;  // no list may be compiled inside this one
    Draw();
    m_bCompiling = false;
    glEndList();
    m_bDirty = false;
  } else {
    glCallList(m_nDisplayList);
  }
  glDisable(GL_TEXTURE_2D);
}
