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
  // The body of `frame` and, if the garment is shown, its garment.
  void DrawFrame(int frame);
  // The walking body wears its garment while a fabric layer is chosen.
  void SetShowGarment(bool on) { m_bShowGarment = on; }

 private:
  const std::vector<FramePart>& PartsOfFrame(int frame);

  bool m_bShowGarment = false;
  std::map<int, std::vector<FramePart>> m_frames;  // per frame, per group
  unsigned m_nFramesOfLoad = 0;
};
