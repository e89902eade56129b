#include "PlainLoader.h"

#include <cstdio>

namespace {
template <class F>
std::size_t EachLine(const std::string& path, F f) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return 0;
  char buf[256];
  std::size_t bytes = 0;
  while (std::fgets(buf, sizeof buf, file)) {
    f(buf);
    for (const char* p = buf; *p; ++p) ++bytes;
  }
  std::fclose(file);
  return bytes;
}

void Fibers(const std::string& path, std::vector<FiberRow>& out, std::size_t& bytes) {
  bytes += EachLine(path, [&](const char* line) {
    FiberRow r;
    if (std::sscanf(line, "%f\t%f\t%f\t%f\n", &r.m_fTime, &r.m_fPosition, &r.m_fValue1, &r.m_fValue2) == 4)
      out.push_back(r);
  });
}
}  // namespace

PlainRun PlainLoad(const std::string& dir, const std::string& fiber1, const std::string& fiber2) {
  PlainRun run;
  static const char* const kFabric[] = {"fabricsHead.dat", "fabricsTrunk.dat", "fabricsArm.dat",
                                        "fabricsHand.dat", "fabricsLeg.dat",   "fabricsFoot.dat"};
  Fibers(dir + fiber1, run.fibers[0], run.bytes);
  Fibers(dir + fiber2, run.fibers[1], run.bytes);
  for (int p = 0; p < kBodyPartCount; ++p) {
    run.bytes += EachLine(dir + kFabric[p], [&](const char* line) {
      FabricRow r;
      int n = std::sscanf(line, "%f\t%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f", &r.m_fTime, &r.m_fPosition, &r.m_nLayer,
                          &r.m_fVaporConc, &r.m_fMeanVaporConc, &r.m_fEvapRate, &r.m_fHumidity, &r.m_fTemperature,
                          &r.m_fLiquidFraction);
      if (n >= 8) {
        if (n == 8) r.m_fLiquidFraction = 0;
        run.fabric[p].push_back(r);
      }
    });
  }
  run.bytes += EachLine(dir + "bodyProperty.dat", [&](const char* line) {
    BodyPropertyRow r;
    if (std::sscanf(line, "%f\t%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t\n", &r.m_fTime, &r.m_nPart, &r.m_fSkinTemp,
                    &r.m_fCoreTemp, &r.m_fMetabolism, &r.m_fSkinHumidity, &r.m_fBloodFlow, &r.m_fSweatRate,
                    &r.m_fSweatAccum, &r.m_fEvapHeat, &r.m_fSkinPressure) == 11)
      run.body.push_back(r);
  });
  run.bytes += EachLine(dir + "BodyDataforComfort.dat", [&](const char* line) {
    ComfortRow r;
    int part = 0;
    if (std::sscanf(line, "%f\t%d\t%f\t%f\t%f\t\n", &r.m_fTime, &part, &r.m_fThermal, &r.m_fDampness, &r.m_fComfort) ==
            5 &&
        part >= 0 && part < kBodyPartCount)
      run.comfort[part].push_back(r);
  });
  return run;
}
