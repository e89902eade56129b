#include "LegendLayout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string>

#include "SimulationData.h"

const char* LegendTitle(int contentKind) {
  switch (contentKind) {
    case 0:
      return "Temperature(  C)";
    case 1:
      return "Humidity";
    default:
      return "Sweating Rate";
  }
}

std::array<std::string, 5> LegendLabels(const float scale[5]) {
  const bool fixed = scale[4] > 1.0f;
  std::array<std::string, 5> out;
  for (int i = 0; i < 5; ++i) {
    // "%2.1f" / "%2.1e": one decimal; the width of 2 never pads a value
    // that already has at least three characters.
    char buf[64];
    const double v = scale[4 - i];
    auto r =
        std::to_chars(buf, buf + sizeof buf, v, fixed ? std::chars_format::fixed : std::chars_format::scientific, 1);
    out[static_cast<std::size_t>(i)].assign(buf, r.ptr);
  }
  return out;
}

std::vector<SectionDisc> SectionDiscs(const CSimulationData& data, int part) {
  std::vector<SectionDisc> discs;
  if (part < 0 || part >= kBodyPartCount) {
    return discs;
  }
  const int layers = data.Run().m_nLayers[part] > 0 ? data.Run().m_nLayers[part] : 0;
  const int n = layers + 2;
  const float w = 0.18f / static_cast<float>(n);
  for (int i = 0; i < n; ++i) {
    SectionDisc d;
    const float* colour;
    static const float kBlack[4] = {0, 0, 0, 1};
    if (i < layers) {
      const int k = layers - i;
      d.label = "Layer" + std::to_string(k);
      colour = k - 1 < kMaxLayerColours ? data.Colours().m_allLayerColours[k - 1][part] : kBlack;
    } else if (i == layers) {
      d.label = "Skin";
      colour = data.Colours().m_skinColours[part];
    } else {
      d.label = "Core";
      colour = data.Colours().m_coreColours[part];
    }
    d.radius = 0.18f - static_cast<float>(i) * w;
    d.colour[0] = colour[0];
    d.colour[1] = colour[1];
    d.colour[2] = colour[2];
    // The labels climb from the outermost ring's to the core's, 0.04 apart
    // from 0.14; where the core's would leave the panel (five rings or
    // more), from 0.10 and closer, so that the highest stays inside it.
    const bool fits = 0.14f + 0.04f * static_cast<float>(n - 1) <= kSectionLabelTop;
    const float start = fits ? 0.14f : 0.10f;
    const float step = fits || n < 2 ? 0.04f : std::min(0.04f, (kSectionLabelTop - start) / static_cast<float>(n - 1));
    d.labelY = start + step * static_cast<float>(i);
    discs.push_back(d);
  }
  return discs;
}

const char* SectionCaption(int sectionPart) {
  // The part's name in capitals, as the legend writes it.
  static const std::array<std::string, kBodyPartCount> kCaptions = [] {
    std::array<std::string, kBodyPartCount> out;
    for (int p = 0; p < kBodyPartCount; ++p) {
      for (const char* c = kBodyPartNames[p]; *c; ++c) {
        out[p] += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
      }
    }
    return out;
  }();
  return sectionPart >= 1 && sectionPart <= kBodyPartCount ? kCaptions[sectionPart - 1].c_str() : "";
}
