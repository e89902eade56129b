#pragma once
// Whether a fabric file's rows already are the grid its first step
// describes, asked of any table of times and layer numbers: the placed
// store's rows, or the columns a reader keeps of a file it reads straight
// into its final layout (FabricGridFile.h). Both must judge alike, so the
// judgement lives here once.

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "internal/RowGrid.h"

// Two times of one step. The files write one time per step, but a float far
// from 0 keeps fewer digits after the point.
inline bool SameTime(float a, float b) {
  return std::fabs(a - b) < std::max(0.00001f, 1e-6f * std::max(std::fabs(a), std::fabs(b)));
}

// A step follows the last at the interval: within a tenth of it, as printed
// times round.
inline bool NextStep(float previous, float time, float interval) {
  return std::fabs((time - previous) - interval) <= 0.1f * interval;
}

// The store's rows as such a table.
template <class Rows>
struct FabricRowsOf {
  const Rows& rows;
  std::size_t size() const { return rows.size(); }
  float Time(std::size_t i) const { return rows[i].m_fTime; }
  int Layer(std::size_t i) const { return rows[i].m_nLayer; }
};

// What the first time step gives, read as ever: layers are the changes of
// layer number plus one, nodes the rows of its first layer, the interval the
// distance to the first other time. `rows` is not empty.
template <class Table>
FabricLayout FirstStepCounts(const Table& rows) {
  FabricLayout out;
  const float t0 = rows.Time(0);
  int lastLayer = rows.Layer(0);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const float time = rows.Time(i);
    if (std::fabs(t0 - time) < 0.00001f) {
      if (rows.Layer(i) != lastLayer) {
        lastLayer = rows.Layer(i);
        ++out.layers;
      } else if (out.layers == 1) {
        ++out.nodes;
      }
    } else {
      out.interval = std::fabs(time - t0);
      out.hasInterval = true;
      break;
    }
  }
  return out;
}

// Whether the rows already are the grid the first step describes: whole steps
// of the same layers (ascending, each `nodes` rows), one time per step, each
// step one interval after the last.
template <class Table>
bool IsFabricGrid(const Table& rows, const FabricLayout& first) {
  const std::size_t n = rows.size(), layers = static_cast<std::size_t>(first.layers),
                    nodes = static_cast<std::size_t>(first.nodes);
  if (nodes > n / layers) {
    return false;
  }
  const std::size_t block = layers * nodes;
  if (n % block != 0 || (!first.hasInterval && n != block)) {
    return false;
  }
  for (std::size_t i = 0; i < block; ++i) {
    const int layer = rows.Layer(i - i % nodes);
    if (rows.Layer(i) != layer || (i % nodes == 0 && i > 0 && !(layer > rows.Layer(i - nodes)))) {
      return false;
    }
  }
  for (std::size_t b = 0; b < n; b += block) {
    const float time = rows.Time(b);
    if (b > 0 && !NextStep(rows.Time(b - block), time, first.interval)) {
      return false;
    }
    for (std::size_t i = 0; i < block; ++i) {
      if (rows.Layer(b + i) != rows.Layer(i) || !SameTime(rows.Time(b + i), time)) {
        return false;
      }
    }
  }
  return true;
}
