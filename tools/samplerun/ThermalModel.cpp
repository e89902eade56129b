#include "ThermalModel.h"

#include <algorithm>
#include <cmath>

namespace samplerun {
namespace {

// Per part: share of metabolic heat relative to the mean, tissue conductance
// core to skin (W/(m^2 K)), heat capacities (J/(m^2 K)) of core and skin.
struct PartConstants {
  double metabolicShare, conductance, coreCapacity, skinCapacity, layerThicknessCm;
};
constexpr PartConstants kConst[kParts] = {
    {1.4, 15.0, 180000, 20000, 0.10},  // head
    {1.3, 6.0, 320000, 24000, 0.12},   // trunk
    {0.8, 8.0, 120000, 14000, 0.10},   // arm
    {0.6, 10.0, 40000, 8000, 0.08},    // hand
    {0.9, 7.0, 200000, 18000, 0.11},   // leg
    {0.6, 9.0, 50000, 9000, 0.15},     // foot
};

constexpr double kLatentWhPerG = 0.68;           // W h per g of evaporated sweat
constexpr double kLewis = 16.5;                  // K/kPa
constexpr double kFabricConductivity = 0.045;    // W/(m K), fibre and air
constexpr double kVaporDiffusivity = 1.6e-5;     // m^2/s in fabric air spaces
constexpr double kFibreDensity = 1300.0 * 0.15;  // kg fibre per m^3 of fabric

double ConvectiveCoefficient(double airSpeed) { return 3.1 + 8.3 * std::sqrt(std::max(airSpeed, 0.1)); }

// Equilibrium regain of a hygroscopic fibre at a relative humidity.
double EquilibriumRegain(double rh) {
  rh = std::clamp(rh, 0.0, 1.0);
  return 0.08 * rh / (1.0 - 0.6 * rh);
}

}  // namespace

double CThermalModel::SaturationPressure(double t) { return 610.78 * std::exp(17.27 * t / (t + 237.3)); }

double CThermalModel::VaporConcentration(double pressure, double t) { return pressure / (461.5 * (t + 273.15)); }

CThermalModel::CThermalModel(const std::array<int, kParts>& layers, int nodesPerLayer) {
  for (int p = 0; p < kParts; ++p) {
    m_parts[p] = {36.9, 33.5 + 0.3 * (p == 1) - 1.0 * (p == 3 || p == 5), 6.0, 58.0, 0, 0, 8.0, 0.3, 1600};
    Garment& g = m_garments[p];
    g.layers = layers[p];
    g.nodesPerLayer = layers[p] > 0 ? nodesPerLayer : 0;
    double x = 0;
    const double dx = kConst[p].layerThicknessCm / std::max(1, nodesPerLayer);
    for (int l = 1; l <= g.layers; ++l) {
      for (int n = 0; n < g.nodesPerLayer; ++n) {
        x += dx;
        g.nodes.push_back({x, l, 30.0, 0.012, 0.5, EquilibriumRegain(0.5), 0, 0});
      }
    }
  }
}

void CThermalModel::Step(const Phase& phase, double dt) {
  for (int p = 0; p < kParts; ++p) {
    StepPart(p, phase, dt);
    StepGarment(p, phase, dt);
  }
}

void CThermalModel::StepPart(int p, const Phase& phase, double dt) {
  PartState& s = m_parts[p];
  const PartConstants& c = kConst[p];
  const Garment& g = m_garments[p];
  const double h = ConvectiveCoefficient(phase.airSpeed) + 4.7;  // convection + radiation

  // Thermoregulation: vasodilation and sweating from core and skin signals.
  const double coreSignal = s.core - 37.05, skinSignal = s.skin - 33.7;
  s.bloodFlow = std::clamp(
      6.3 + 75.0 * std::max(coreSignal, 0.0) + 8.0 * std::max(skinSignal, 0.0) - 2.0 * std::max(-skinSignal, 0.0), 1.0,
      90.0);
  s.sweatRate = std::clamp(170.0 * std::max(coreSignal, 0.0) + 12.0 * std::max(skinSignal, 0.0), 0.0, 500.0);
  s.metabolism = phase.metabolism * c.metabolicShare;

  // Resistances of the clothing to heat (m^2 K/W) and vapour (m^2 kPa/W).
  double rCl = 0.0;
  if (g.layers > 0) {
    rCl = g.layers * (c.layerThicknessCm * 0.01) / kFabricConductivity * 0.9;
  }
  const double rDry = rCl + 1.0 / h;
  const double reCl = rCl * 0.018 / 0.155 * 0.12;
  const double rEvap = reCl + 1.0 / (kLewis * h);

  const double pAir = phase.humidity * SaturationPressure(phase.airTemp);
  const double pSkinSat = SaturationPressure(s.skin);
  const double eMax = std::max((pSkinSat - pAir) / 1000.0 / rEvap, 1.0);
  const double eSweat = s.sweatRate * kLatentWhPerG;
  // Sweat left on the skin evaporates first; what cannot evaporate accumulates.
  const double available = eSweat + s.sweatAccum / 60.0;
  const double eRegulatory = std::min(available, eMax * 0.94);
  s.sweatAccum = std::clamp(s.sweatAccum + (eSweat - eRegulatory) * dt / 60.0, 0.0, 400.0);
  const double wetness = std::clamp(0.06 + 0.94 * eRegulatory / eMax, 0.06, 1.0);
  s.evapHeat = wetness * eMax;
  // The vapour pressure at the skin is what drives that evaporation through
  // the clothing: the air's, raised by the wetted share of the difference.
  s.skinPressure = std::clamp(pAir + wetness * (pSkinSat - pAir), 0.0, pSkinSat);
  s.skinHumidity = std::clamp(s.skinPressure / pSkinSat, 0.0, 1.0);

  const double qCoreSkin = (c.conductance + 1.163 * s.bloodFlow * 0.4) * (s.core - s.skin);
  const double respiration =
      0.0014 * s.metabolism * (34.0 - phase.airTemp) + 0.0173 * s.metabolism * (5.87 - pAir / 1000.0);
  const double qDry = (s.skin - phase.airTemp) / rDry;
  s.core += (s.metabolism - qCoreSkin - respiration) * dt / c.coreCapacity;
  s.skin += (qCoreSkin - qDry - s.evapHeat) * dt / c.skinCapacity;
}

void CThermalModel::StepGarment(int p, const Phase& phase, double dt) {
  Garment& g = m_garments[p];
  if (g.nodes.empty()) {
    return;
  }
  const PartState& s = m_parts[p];
  const double h = ConvectiveCoefficient(phase.airSpeed);
  const double thickness = g.nodes.back().position * 0.01;  // m
  const int n = static_cast<int>(g.nodes.size());

  // Heat: series conduction through the fabric, convection at the surface.
  const double rFabric = thickness / kFabricConductivity, rSurface = 1.0 / (h + 4.7);
  const double flux = (s.skin - phase.airTemp) / (rFabric + rSurface);
  // Vapour: diffusion through the air spaces, mass transfer at the surface.
  const double cSkin = VaporConcentration(s.skinPressure, s.skin);
  const double cAir = VaporConcentration(phase.humidity * SaturationPressure(phase.airTemp), phase.airTemp);
  const double dFabric = thickness / kVaporDiffusivity, dSurface = 1.0 / (h / 1200.0);
  const double vFlux = (cSkin - cAir) / (dFabric + dSurface);

  for (int i = 0; i < n; ++i) {
    FabricNode& node = g.nodes[i];
    const double x = node.position * 0.01;
    // The fabric's time constant (seconds) is far below the output interval,
    // so temperature and vapour follow their quasi-steady profiles; the
    // fibres' moisture uptake is slow and integrated in time.
    node.temperature = s.skin - flux * x / kFabricConductivity;
    double conc = cSkin - vFlux * x / kVaporDiffusivity;
    const double cSat = VaporConcentration(SaturationPressure(node.temperature), node.temperature);
    double condensing = 0.0;
    if (conc > cSat) {
      condensing = conc - cSat;
      conc = cSat;
    }
    node.vaporConc = conc;
    node.relHumidity = std::clamp(conc / cSat, 0.0, 1.0);
    const double target = EquilibriumRegain(node.relHumidity);
    const double rate = (target - node.regain) * (1.0 - std::exp(-dt / 600.0));
    node.regain += rate;
    node.evapRate = -rate * kFibreDensity / dt;  // uptake is condensation (negative)
    node.liquid = std::clamp(node.liquid + condensing * 50.0 * dt - 0.002 * dt * node.liquid, 0.0, 30.0);
  }
}

}  // namespace samplerun
