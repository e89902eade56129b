#pragma once
// Which body part an OBJ group stands for, by its name: the part table and
// the name normalisation shared by the body, garment and animation models.

#include <string>
#include <string_view>

#include "BodyParts.h"

// The group name without leading and trailing white space, optionally in
// upper case.
std::string NormaliseGroupName(std::string_view name, bool upperCase);

// The body part (0 Head ... 5 Foot) whose group names include `normalised`,
// or -1. Names are compared exactly.
int BodyPartOfName(std::string_view normalised);

// For a group of an animation model at `frame`: the part of the body group
// (H<frame>_...) or of the garment group (C<frame>_...) it stands for, or -1.
// `normalised` is upper case and trimmed. Head groups match by containment,
// the other parts by equality.
struct FramePart {
  int part = -1;
  bool garment = false;
};
FramePart AnimationFramePart(std::string_view normalised, int frame);
