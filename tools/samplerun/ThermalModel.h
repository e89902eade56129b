#pragma once
// A small, physically sound model of a clothed body in a changing climate,
// used to make sample runs: per body part a core and a skin node exchanging
// heat through tissue and blood; sweating above set points; and a garment of
// fabric layers through which heat and water vapour pass by conduction and
// diffusion, with fibres that take up and give off moisture.

#include <array>
#include <vector>

#include "BodyParts.h"

namespace samplerun {

constexpr int kParts = kBodyPartCount;

struct Phase {
  float durationMin;
  float airTemp;     // deg C
  float humidity;    // relative, 0..1
  float airSpeed;    // m/s
  float metabolism;  // W/m^2
};

struct PartState {
  double core, skin;    // deg C
  double bloodFlow;     // l/(h m^2)
  double metabolism;    // W/m^2
  double sweatRate;     // g/(h m^2)
  double sweatAccum;    // W/m^2 equivalent of sweat left on the skin
  double evapHeat;      // W/m^2
  double skinHumidity;  // 0..1
  double skinPressure;  // Pa, water vapour at the skin
};

struct FabricNode {
  double position;     // cm from the skin
  int layer;           // 1-based
  double temperature;  // deg C
  double vaporConc;    // kg/m^3
  double relHumidity;  // 0..1
  double regain;       // kg water per kg fibre
  double evapRate;     // kg/(m^3 s), positive when water evaporates from fibres
  double liquid;       // liquid volume fraction, percent
};

struct Garment {
  int layers = 0;
  int nodesPerLayer = 0;
  std::vector<FabricNode> nodes;  // layer-major, skin side first
};

class CThermalModel {
 public:
  CThermalModel(const std::array<int, kParts>& layers, int nodesPerLayer);

  // Advances the whole model by dt seconds in the given climate.
  void Step(const Phase& phase, double dt);

  const PartState& Part(int p) const { return m_parts[p]; }
  const Garment& Clothing(int p) const { return m_garments[p]; }

  static double SaturationPressure(double tempC);                     // Pa
  static double VaporConcentration(double pressurePa, double tempC);  // kg/m^3

 private:
  void StepPart(int p, const Phase& phase, double dt);
  void StepGarment(int p, const Phase& phase, double dt);

  std::array<PartState, kParts> m_parts{};
  std::array<Garment, kParts> m_garments;
};

}  // namespace samplerun
