#include "BodyPartNames.h"

#include <cctype>
#include <cstdio>

namespace {
struct PartNames {
  const char* names[3];
};
const PartNames kPartNames[6] = {{{"HEAD", nullptr, nullptr}},       {{"TORSO", "TRUNK", "TRUNK1"}},
                                 {{"LEFTARM", "RIGHTARM", nullptr}}, {{"LEFTHAND", "RIGHTHAND", nullptr}},
                                 {{"LEFTLEG", "RIGHTLEG", nullptr}}, {{"LEFTFOOT", "RIGHTFOOT", nullptr}}};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The part whose names, each after `prefix`, include `name`; the head by
// containment when `headContains` is set.
int Match(std::string_view name, std::string_view prefix, bool headContains) {
  for (int p = 0; p < 6; ++p) {
    for (const char* n : kPartNames[p].names) {
      if (!n) {
        break;
      }
      std::string full(prefix);
      full += n;
      if (p == 0 && headContains ? name.find(full) != std::string_view::npos : name == full) {
        return p;
      }
    }
  }
  return -1;
}
}  // namespace

std::string NormaliseGroupName(std::string_view name, bool upperCase) {
  std::size_t b = 0, e = name.size();
  while (b < e && IsSpace(name[b])) {
    ++b;
  }
  while (e > b && IsSpace(name[e - 1])) {
    --e;
  }
  std::string out(name.substr(b, e - b));
  if (upperCase) {
    for (char& c : out) {
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

int BodyPartOfName(std::string_view normalised) { return Match(normalised, {}, false); }

FramePart AnimationFramePart(std::string_view normalised, int frame) {
  char body[24], garment[24];
  std::snprintf(body, sizeof body, "H%d_", frame);
  std::snprintf(garment, sizeof garment, "C%d_", frame);
  if (int p = Match(normalised, body, true); p >= 0) {
    return {p, false};
  }
  if (int p = Match(normalised, garment, true); p >= 0) {
    return {p, true};
  }
  return {};
}
