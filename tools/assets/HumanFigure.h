#pragma once
// A human figure as a signed-distance body: capsules and ellipsoids on a
// skeleton, blended smoothly, each labelled with the body part it belongs
// to. Poses: standing, and the phases of a walking cycle. Metres, y up,
// facing +z, feet on y = 0.

#include <vector>

#include "Sdf.h"

namespace assets {

// Body-part labels: the groups of the models, left is the figure's left (+x).
enum Label { LHead, LTrunk, LLeftArm, LRightArm, LLeftHand, LRightHand, LLeftLeg, LRightLeg, LLeftFoot, LRightFoot };
extern const char* const kLabelGroups[10];  // "HEAD", "TRUNK", ...
// The body part (0 Head ... 5 Foot) of a label.
int PartOfLabel(int label);

struct Skeleton {
  Vec3 pelvis, chest, neck, head;
  Vec3 shoulder[2], elbow[2], wrist[2], handTip[2];
  Vec3 hip[2], knee[2], ankle[2], toe[2];
};

Skeleton StandingPose();
// The walking cycle at `phase` in [0, 1): hips, knees and arms swing, the
// pelvis bobs.
Skeleton WalkingPose(double phase);

struct Primitive {
  enum Kind { Capsule, Ell, Box } kind;
  Vec3 a, b;      // capsule ends; ellipsoid or box centre in a
  double ra, rb;  // capsule radii; box edge radius in ra
  Vec3 size;      // ellipsoid radii or box half sizes
  int label;
  int cluster = -1;  // primitives of one cluster blend with the cluster's own width; -1: by label
  double Distance(const Vec3& p) const;
};

class CFigure {
 public:
  // `inflate` grows every primitive (metres); `blend` is the smooth-union width.
  CFigure(const Skeleton& s, double inflate = 0.0, double blend = 0.025);
  void Add(const Primitive& p) { m_parts.push_back(p); }
  double Distance(const Vec3& p) const;
  int LabelAt(const Vec3& p) const;
  const Skeleton& Bones() const { return m_skeleton; }

 private:
  Skeleton m_skeleton;
  std::vector<Primitive> m_parts;
  double m_blend;
  double m_clusterBlend[16]{};
};

}  // namespace assets
