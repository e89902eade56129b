#pragma once
// What a body scene draws and how: the view hands over its camera, its
// models and the run, and the scene draws them under the current GL
// matrices. Nothing here calls back into the view.

#include "ViewMode.h"

class CSimulationData;
class CModelOBJ;
class CGarment;
class CAnimationModel;
class COBJ;

struct SceneCamera {
  double transX = 0, transY = 0, transZ = 0;
  double rotX = 0, rotY = 0, rotZ = 0;
  float zoom = 1.0f;
};

struct BodyScene {
  ViewMode mode = ViewMode::Static;
  const CSimulationData* data = nullptr;  // none: the room is blue, no legend labels
  SceneCamera camera;
  CModelOBJ* body = nullptr;
  CGarment* garment = nullptr;
  CGarment* suit = nullptr;
  COBJ* moon = nullptr;
  CAnimationModel* animation = nullptr;
  int frame = 0;           // of the walking body
  bool reference = false;  // drawn the way comparisons are
  // The view state's layer and cross-section part (0 without a run).
  int Layer() const;
  int SectionPart() const;
  // Whether the legends' text is ringed in black (false without a run).
  bool OutlinedLabels() const;
};

// The room, the legends and the models; the glyph lists must be built.
void DrawBodyScene(const BodyScene& scene);
// Whether the scene as drawn shows the no-data grey somewhere: a part,
// garment part, suit part, ring or the room without a value.
bool ShowsNoData(const BodyScene& scene);
// Whether every model the scene draws is installed and was read.
bool SceneModelsRead(const BodyScene& scene);
// The models as DrawBodyScene places them, each part's group named (101 ...
// 106 the body, 201 ... 206 the garment or suit) for GL's selection mode.
void DrawPickNames(const BodyScene& scene);
