#pragma once
// What the colour legend and the cross-section legend show, computed without
// GL: titles, label texts and formats, ring radii, labels and colours.

#include <array>
#include <string>
#include <vector>

class CSimulationData;

// "Temperature(  C)", "Humidity" or "Sweating Rate".
const char* LegendTitle(int contentKind);
// The five scale labels from the top (t4) down (t0): "%2.1f" when t4 > 1,
// else "%2.1e"; the same text whatever the process locale.
std::array<std::string, 5> LegendLabels(const float scale[5]);

// The highest a section label's baseline stands above the discs' centre
// with its text still inside the legend's panel (whose top is 0.29 above).
inline constexpr float kSectionLabelTop = 0.26f;

struct SectionDisc {
  std::string label;  // "Layer3" ... "Layer1", "Skin", "Core"
  float radius{};     // outer radius; the discs are drawn largest first
  float colour[3]{};
  float labelY{};  // upper end of the leader line
};
// Discs of the cross-section of part `part` (0 Head ... 5 Foot), outermost
// first: the fabric layers from the outside in, then skin and core.
std::vector<SectionDisc> SectionDiscs(const CSimulationData& data, int part);
// "HEAD" ... "FOOT" for parts 1 ... 6 of the section choice.
const char* SectionCaption(int sectionPart);
