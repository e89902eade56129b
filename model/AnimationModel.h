#pragma once
// An animated body with its garment in one OBJ file: frame F has the body
// groups H<F>_<PART> and the garment groups C<F>_<PART>.

#include <map>
#include <vector>

#include "BodyPartNames.h"
#include "OBJ.h"

class CAnimationModel : public COBJ {
 public:
  // Every body-part group (names as written), in the current material.
  void Draw() override;
  // The body of `frame` and, if m_bShowGarment, its garment.
  void DrawFrame(int frame);

  bool m_bShowGarment = false;

 private:
  const std::vector<FramePart>& PartsOfFrame(int frame);
  std::map<int, std::vector<FramePart>> m_frames;  // per frame, per group
  unsigned m_nFramesOfLoad = 0;
};
