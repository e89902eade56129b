#pragma once
// A drawable OBJ model. COBJ draws every group unchanged (scenery); the
// subclasses draw the groups that stand for body parts, each in its part's
// colour from the data store. Load touches no GL and may run on any thread;
// drawing needs the view's GL context current.

#include <optional>
#include <string>
#include <vector>

#include "ObjIndexing.h"
#include "ObjModel.h"
#include "ObjReader.h"

class CSimulationData;

class COBJ {
 public:
  COBJ() = default;
  virtual ~COBJ();
  COBJ(const COBJ&) = delete;
  COBJ& operator=(const COBJ&) = delete;

  // Reads `path` (a narrow, UTF-8 path), scales it by kModelScale and gives it
  // facet and vertex normals. False when the file cannot be read; the
  // object then holds no model.
  bool Load(const char* path, float smoothAngle);
  virtual void Draw();
  void DrawList();
  // Frees the display lists; call with the context they were made in current.
  void ReleaseGL();

  static void SetPartMaterial(const float* colour, float shininess);

  // Draw every triangle in immediate mode on every frame instead of
  // replaying each group's compiled geometry (the reference way, kept for
  // comparisons; the picture is the same).
  static bool s_bImmediate;

  // Where the part colours come from; null draws parts in white.
  void SetColourSource(const CSimulationData* data) { m_pData = data; }

  // How the model's triangles are drawn.
  enum class DrawMode { Filled, WireFrame, Hidden };

  // The model read last; null when none was read (or the read failed).
  const ObjModel* Model() const { return m_pModel; }
  DrawMode Mode() const { return m_nDrawMode; }
  // A new mode recompiles the whole-model list on the next DrawList.
  void SetDrawMode(DrawMode mode);
  // Whether each part's triangles carry a selection name (a picking pass).
  void SetPickNames(bool on) { m_bPickNames = on; }
  // The model is one closed surface with every face turned outwards: its
  // back faces can never be seen, so they are culled when drawing.
  bool Closed() const { return m_bClosed; }
  // The whole-model display list (0 for none yet) and whether the next
  // DrawList compiles it anew: a cache a test can watch being kept.
  unsigned DisplayList() const { return m_nDisplayList; }
  bool ListStale() const { return m_bDirty; }

 protected:
  ObjModel* m_pModel = nullptr;
  bool m_bSmooth = true;
  float m_fSmoothAngle = kCreaseAngle;
  DrawMode m_nDrawMode = DrawMode::Filled;
  bool m_bPickNames = false;

  // Emits the triangles of one group in the current draw mode, then
  // restores depth writes and disables blending.
  void DrawGroup(const ObjGroup& group, bool setLineWidth) const;
  // The same through a display list of the group's geometry, compiled on
  // first use and kept until the model, draw mode or smoothing changes.
  void DrawGroupAt(std::size_t index, bool setLineWidth);
  const float* SkinColour(int part) const;
  const float* LayerColour(int part) const;
  // Draws the groups that stand for a body part (by `parts`, one entry per
  // group), each in `colour` of its part, with selection names from `nameBase` + 1.
  void DrawPartGroups(const std::vector<int>& parts, const float* (COBJ::*colour)(int) const, unsigned nameBase);
  // Body part of each group (list order) by its name, computed at Load:
  // as written, and in upper case.
  const std::vector<int>& PartsAsWritten() const { return m_partsAsWritten; }
  const std::vector<int>& PartsUpperCase() const { return m_partsUpperCase; }

  const CSimulationData* m_pData = nullptr;
  unsigned m_nLoads = 0;  // counts loads, so caches of a model can tell it changed

 private:
  void ReleaseGroupLists();

  bool m_bDirty = true;
  unsigned m_nDisplayList = 0;
  bool m_bClosed = false;
  // Filled triangles of every group as indexed vertex arrays: one array
  // entry per distinct (position, normal, texture coordinate) corner, so
  // each shared vertex is lit once per frame instead of once per corner.
  struct IndexedMesh {
    ObjIndexedMesh mesh;
    int smooth = -1;
    unsigned load = 0;
  };
  void BuildIndexedMesh();
  void DrawIndexedGroup(std::size_t index);
  IndexedMesh m_indexed;

  std::vector<int> m_partsAsWritten, m_partsUpperCase;
  std::vector<unsigned> m_groupLists;
  std::optional<DrawMode> m_nListsMode;  // what the group lists were compiled for; none yet
  int m_nListsSmooth = -1;               // -1 before the first lists, else 0 or 1
  unsigned m_nListsLoad = 0;
  bool m_bCompiling = false;
};
