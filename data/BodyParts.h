#pragma once
// The six body parts, in the order of every per-part array, file and list:
// Head, Trunk, Arm, Hand, Leg, Foot. Plain C++, so that every library and
// tool of ours (the model reader and the generators too) can name them.

enum BodyPart : int { Head = 0, Trunk = 1, Arm = 2, Hand = 3, Leg = 4, Foot = 5 };
inline constexpr int kBodyPartCount = 6;

// Their names as users read them; the fabric files are "fabrics<Name>.dat".
inline constexpr const char* kBodyPartNames[kBodyPartCount] = {"Head", "Trunk", "Arm", "Hand", "Leg", "Foot"};
