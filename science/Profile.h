#pragma once
// A thickness profile: one fabric quantity of a part against position
// through all its layers, at one fabric time step. The fabric table holds
// each step as its layers one after the other, each layer its nodes from the
// skin outwards, so a step's rows read straight through the clothing.

#include <QString>
#include <optional>
#include <vector>

struct RunTables;
struct FabricRow;
class CExactTable;

// Fabric quantity q (0 ... 5, as the property panel lists them) of one row.
float FabricValue(const FabricRow& row, int q);

struct ProfilePoint {
  float position = 0;  // cm from the skin
  int layer = 0;       // from 0, the innermost
  float value = 0;     // NaN where the run holds none
  // The same two as the file wrote them, in a profile made with the files'
  // own values (FabricProfile::exact), for what is written out.
  double exactPosition = 0, exactValue = 0;
};

// Where a layer lies: from its first node's position to its last one's.
struct ProfileLayer {
  int layer = 0;
  float from = 0, to = 0;
};

struct FabricProfile {
  float time = 0;      // minutes of the step
  bool exact = false;  // the points' exact values are the files' own
  std::vector<ProfilePoint> points;
  std::vector<ProfileLayer> layers;  // the layers that hold a placed node
  // Between neighbouring layers: halfway from one's outermost node to the
  // next one's innermost.
  std::vector<float> boundaries;
};

// The fabric time steps part `part` holds (a last step cut short counts).
int FabricStepCount(const RunTables& run, int part);
// Part `part`'s quantity q at fabric step `step`; a node whose row the table
// lacks is left out, one without a position too.
// With `exact`, the part's table at full precision (ExactTables.h), each
// point carries the file's own values too.
FabricProfile FabricProfileAt(const RunTables& run, int part, int step, int q, const CExactTable* exact = nullptr);
// The time of fabric step `step` of part `part`, as its first row says; NaN
// for a step the part does not hold.
float FabricStepTime(const RunTables& run, int part, int step);
// The fabric step nearest `minute` among those part `part` holds; between
// two equally near the earlier. None for no steps, a minute that is not a
// number, below 0, or after the last step by more than rounding.
std::optional<int> NearestFabricStep(const RunTables& run, int part, double minute);
// The least and greatest value of quantity q over every node and step of
// part `part`, so that a profile followed through the run keeps its scale;
// none when the part holds no value of it.
struct ValueRange {
  float lo = 0, hi = 0;
};
std::optional<ValueRange> ProfileValueRange(const RunTables& run, int part, int q);

// The fabric step the profile shows while the player stands at sample
// `sample`: the one the 3D views draw, or the only one of a run whose fabric
// interval is unknown.
int ProfileStepAt(const RunTables& run, int sample);
// The profile chart's title: "Trunk: Temperature(Degree) at 12.5 min", the
// time left out when there is none.
QString ProfileTitle(const QString& part, const QString& quantity, float minutes);

// The profile as text under a header naming the units:
// "Position(cm),Layer,<column>", the layer counted from 1, the cells parted
// by `separator`; a value the run does not hold is an empty cell. A profile
// of the files' own values writes those.
QString ProfileCsv(const FabricProfile& profile, const QString& column, QChar separator = QLatin1Char(','));

// A run's profile beside others', and the run's name.
struct RunProfile {
  FabricProfile profile;
  QString run;
};
// The profiles of several runs as text: "run,Position(cm),Layer,<column>",
// each run's rows in turn, led by its run's name.
QString ComparedProfileCsv(const std::vector<RunProfile>& runs, const QString& column,
                           QChar separator = QLatin1Char(','));

// first - second at every position both hold (the same decimal, within a
// millionth of a centimetre), each point in the first run's layer; nothing
// is interpolated. The first run's layers and boundaries.
FabricProfile DifferenceProfile(const FabricProfile& first, const FabricProfile& second);
