#pragma once
// The scientific view's arithmetic, apart from its widgets: option ids, the
// options a part lists, the panel column's glide, and the points and curves
// of each quantity taken from the data store.

#include <QString>
#include <optional>
#include <vector>

#include "LinePlot.h"
#include "OptionKind.h"

class CSimulationData;
class CExactTable;
struct FiberTable;

struct OptionId {
  int part = 0;
  OptionKind kind{};
  int index = 0;
};
int EncodeOption(int part, OptionKind kind, int index);
OptionId DecodeOption(int id);

// The text under which fibre file `fileName` is listed in part `part`'s
// panel ("Fibers: COTTON" for FiberHead_Cotton.dat under Head), or none when
// the name holds no tag of that part.
std::optional<QString> FiberOptionText(const QString& fileName, int part);
// "1st Layer Fabric", "2st Layer Fabric", ... for layer 0, 1, ...
QString LayerOptionText(int layer);

// The entries of part `part`'s option panel, in order: body properties,
// comfort, each fabric layer, the fibres whose file names carry the part.
struct PanelOption {
  QString text;
  int id = 0;
};
std::vector<PanelOption> PanelOptions(const CSimulationData& data, int part);
// Whether a user can choose option `id` in this run (a panel lists it).
bool RunListsOption(const CSimulationData& data, int id);

// The panel column's glide: one tick covers a third of the way left (at
// least a pixel), and where the mouse at height y of a page of `height`
// pixels asks a column of `column` pixels to be.
int GlideStep(int current, int target);
int ScrollTarget(int column, int height, int y);

struct ChartPoint {
  double x, y;
};
// Quantity q of part `part` over time: a body property (rows of that part in
// table order), or a comfort rating limited to 0 ... 100. The store's floats,
// or with `exact` (the table ExactBodyOf, ExactComfortOf ... give) the files'
// own values, as writers give them.
std::vector<ChartPoint> BodyPropertyPoints(const CSimulationData& data, int part, int q,
                                           const CExactTable* exact = nullptr);
std::vector<ChartPoint> ComfortPoints(const CSimulationData& data, int part, int q, const CExactTable* exact = nullptr);

// Fabric quantity q of layer `layer` of part `part`: one curve per node of
// the layer, followed over time, as (position, time, value). The liquid
// volume fraction (q 5) has curves only when the part's file carries it.
std::vector<PlotCurve> FabricCurves(const CSimulationData& data, int part, int layer, int q,
                                    const CExactTable* exact = nullptr);
// Fibre quantity q: one curve per position, over time. The positions of one
// time step are the rows that share the table's first time. Quantity 2
// (moisture content) has no column in the files: no curves.
std::vector<PlotCurve> FiberCurves(const FiberTable& table, int q, const CExactTable* exact = nullptr);
