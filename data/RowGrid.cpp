#include "internal/RowGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>

#include "internal/FabricGrid.h"

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// Holes a file may leave beyond the rows it holds. A time of 1e30 or a layer
// number of 2e9 then costs no more than about twice what the file holds; rows
// that would need more are left out and said.
constexpr std::size_t kHoleSlack = 1024;
constexpr std::int64_t kOffAxis = -1;                 // no step: before the first, or no time at all
constexpr std::int64_t kFar = std::int64_t{1} << 50;  // beyond any grid that could be kept
const float kNaN = std::numeric_limits<float>::quiet_NaN();

QString Minutes(float t) { return QString::number(static_cast<double>(t), 'g', 6); }

// The most common value; on a tie the larger, so that a step or a layer one
// row short in as many places as it is whole leaves holes rather than losing
// the whole ones' rows.
std::size_t Mode(std::vector<std::size_t>& values) {
  std::sort(values.begin(), values.end());
  std::size_t best = 0, bestCount = 0;
  for (std::size_t i = 0; i < values.size();) {
    std::size_t j = i;
    while (j < values.size() && values[j] == values[i]) {
      ++j;
    }
    if (j - i >= bestCount) {
      best = values[i];
      bestCount = j - i;
    }
    i = j;
  }
  return best;
}

// The times of a file as steps of one interval: the interval is the most
// common difference between neighbouring times, so that one bad time does not
// set it; a time's step is counted from the last time before it that lay on a
// step (a time between steps does not shift the later ones), and the first
// step is the first time that has a neighbour within a few intervals (a lone
// time far before the others is no start).
class CTimeAxis {
 public:
  // `times`: the times met (repeats need not be left out). `preferred`: the
  // interval the file's first two steps give, kept exactly when it is the
  // common one.
  CTimeAxis(std::vector<float> times, float preferred) {
    times.erase(std::remove_if(times.begin(), times.end(), [](float t) { return !std::isfinite(t); }), times.end());
    std::sort(times.begin(), times.end());
    for (float t : times) {
      if (m_times.empty() || !SameTime(m_times.back(), t)) {
        m_times.push_back(t);
      }
    }
    m_steps.assign(m_times.size(), kOffAxis);
    if (m_times.empty()) {
      return;
    }
    m_steps[0] = 0;
    if (m_times.size() == 1) {
      return;
    }
    std::vector<double> diffs;
    for (std::size_t k = 0; k + 1 < m_times.size(); ++k) {
      diffs.push_back(static_cast<double>(m_times[k + 1]) - m_times[k]);
    }
    std::sort(diffs.begin(), diffs.end());
    // Differences within 2% of each other are one: times far from 0 keep
    // few digits of their fraction.
    std::size_t bestBegin = 0, bestCount = 0;
    for (std::size_t i = 0, j = 0; i < diffs.size(); ++i) {
      j = std::max(j, i);
      while (j < diffs.size() && diffs[j] <= diffs[i] * 1.02) {
        ++j;
      }
      if (j - i > bestCount) {
        bestBegin = i;
        bestCount = j - i;
      }
    }
    const double typical = diffs[bestBegin + bestCount / 2];
    m_fInterval =
        preferred > 0 && std::fabs(preferred - typical) <= 0.02 * typical ? preferred : static_cast<float>(typical);
    m_bInterval = true;
    const double d = m_fInterval;
    m_steps[0] = kOffAxis;
    m_origin = 0;
    for (std::size_t k = 0; k + 1 < m_times.size(); ++k) {
      if (static_cast<double>(m_times[k + 1]) - m_times[k] <= 8 * d) {
        m_origin = k;
        break;
      }
    }
    m_steps[m_origin] = 0;
    double anchorTime = m_times[m_origin];
    std::int64_t anchorStep = 0;
    for (std::size_t k = m_origin + 1; k < m_times.size(); ++k) {
      const double q = (m_times[k] - anchorTime) / d;
      if (!(q < 1e15)) {
        m_steps[k] = kFar;
        continue;
      }
      const double whole = std::round(q);
      m_steps[k] = std::min(kFar, anchorStep + static_cast<std::int64_t>(whole));
      if (std::fabs(q - whole) < 0.1 && m_steps[k] < kFar) {
        anchorTime = m_times[k];
        anchorStep = m_steps[k];
      }
    }
  }

  bool HasInterval() const { return m_bInterval; }
  float Interval() const { return m_fInterval; }

  std::int64_t StepOf(float t) const {
    if (!std::isfinite(t)) {
      return kOffAxis;
    }
    auto it = std::lower_bound(m_times.begin(), m_times.end(), t);
    const std::size_t k = static_cast<std::size_t>(it - m_times.begin());
    if (k < m_times.size() && SameTime(m_times[k], t)) {
      return m_steps[k];
    }
    if (k > 0 && SameTime(m_times[k - 1], t)) {
      return m_steps[k - 1];
    }
    return kOffAxis;
  }

  // The time of a step: its rows' time, or one reckoned from the step before.
  float TimeOf(std::int64_t step) const {
    if (m_times.empty()) {
      return kNaN;
    }
    if (!m_bInterval) {
      return m_times[0];
    }
    const auto first = m_steps.begin() + static_cast<std::ptrdiff_t>(m_origin);
    auto it = std::lower_bound(first, m_steps.end(), step);
    if (it != m_steps.end() && *it == step) {
      return m_times[static_cast<std::size_t>(it - m_steps.begin())];
    }
    if (it == first) {
      return m_times[m_origin];
    }
    const std::size_t k = static_cast<std::size_t>(it - m_steps.begin()) - 1;
    return static_cast<float>(m_times[k] + static_cast<double>(step - m_steps[k]) * m_fInterval);
  }

 private:
  std::vector<float> m_times;         // distinct, ascending
  std::vector<std::int64_t> m_steps;  // the step of each
  std::size_t m_origin = 0;
  float m_fInterval = 0;
  bool m_bInterval = false;
};

// The times met in file order, each run of one time once.
template <class Row>
std::vector<float> TimesOf(const std::vector<Row>& rows) {
  std::vector<float> times;
  for (const Row& r : rows) {
    if (std::isfinite(r.m_fTime) && (times.empty() || times.back() != r.m_fTime)) {
      times.push_back(r.m_fTime);
    }
  }
  return times;
}

// How many steps a grid of `perStep` cells may hold, given the rows each step
// brings (`steps`: the step of every row to be placed, any order; at most
// `perStep` of a step count). Holes stay within the rows read plus a slack.
std::int64_t BoundSteps(std::vector<std::int64_t> steps, std::size_t perStep, std::size_t rowsRead) {
  std::sort(steps.begin(), steps.end());
  const std::uint64_t cap = rowsRead + kHoleSlack;
  std::uint64_t placed = 0;
  std::int64_t bound = 0;
  for (std::size_t i = 0; i < steps.size();) {
    std::size_t j = i;
    while (j < steps.size() && steps[j] == steps[i]) {
      ++j;
    }
    const std::uint64_t here = std::min<std::uint64_t>(j - i, perStep);
    if (steps[i] >= 0 && steps[i] < kFar) {
      if (static_cast<std::uint64_t>(steps[i]) + 1 > (cap + placed + here) / perStep) {
        break;
      }
      placed += here;
      bound = steps[i] + 1;
    }
    i = j;
  }
  return bound;
}

struct Subject {
  QString text;
  bool plural;
};

// Names the holes of cells [0, cells) of a grid. `src` holds the row placed
// in each cell (kNone: a hole), `fileRow` turns it into the file's row count
// that `lines` knows. A hole is put down to an unreadable line when one lies
// between the rows around it (the nearest to the next row first), and is
// otherwise said to be missing before the next row's line; neighbouring holes
// of one `key` are named together.
void ReportHoles(const std::vector<std::size_t>& src, std::size_t cells, const CLineMap& lines,
                 const std::function<std::size_t(std::size_t)>& fileRow,
                 const std::function<std::size_t(std::size_t)>& key,
                 const std::function<Subject(std::size_t, std::size_t)>& describe, GridReport& report) {
  auto add = [&](std::size_t count, const std::function<QString()>& text) {
    if (report.holes.size() < GridReport::kNamed) {
      report.holes << text();
    } else {
      report.moreHoles += count;
    }
  };
  for (std::size_t c = 0; c < cells;) {
    if (src[c] != kNone) {
      ++c;
      continue;
    }
    std::size_t e = c;
    while (e < cells && src[e] == kNone) {
      ++e;
    }
    report.holeCells += e - c;
    const bool hasPrev = c > 0, hasNext = e < cells;
    const std::uint64_t lp = hasPrev ? lines.LineOf(fileRow(src[c - 1])) : 0;
    const std::uint64_t ln = hasNext ? lines.LineOf(fileRow(src[e])) : lines.Lines() + 1;
    const std::uint64_t between = lines.UnreadableBetween(lp, ln);
    const std::size_t caused = static_cast<std::size_t>(std::min<std::uint64_t>(between, e - c));
    report.causedLines += caused;
    const std::size_t firstCaused = e - caused;
    for (std::size_t i = c; i < firstCaused;) {
      std::size_t j = i + 1;
      while (j < firstCaused && key(j) == key(i)) {
        ++j;
      }
      add(j - i, [&] {
        const Subject s = describe(i, j - i);
        QString text = s.text + (s.plural ? QLatin1String(" are missing") : QLatin1String(" is missing"));
        if (hasNext) {
          text += QStringLiteral(" before line %1").arg(ln);
        } else if (hasPrev) {
          text += QStringLiteral(" after line %1").arg(lp);
        }
        return text;
      });
      i = j;
    }
    for (std::size_t i = firstCaused; i < e; ++i) {
      add(1, [&] {
        const Subject s = describe(i, 1);
        return QStringLiteral("line %1 cannot be read; %2 %3 missing")
            .arg(lines.NthUnreadableAfter(lp, between - caused + (i - firstCaused)))
            .arg(s.text, s.plural ? QStringLiteral("are") : QStringLiteral("is"));
      });
    }
    c = e;
  }
}

// A row that fits no place: its place is taken, its layer or part is none of
// the run's, or its time lies before the first step or beyond what is kept.
struct Extra {
  std::size_t fileRow;
  float time;
  int index;  // layer number or part
};

void ReportExtras(std::vector<Extra>& extras, const CLineMap& lines, const std::function<QString(const Extra&)>& what,
                  GridReport& report) {
  std::sort(extras.begin(), extras.end(), [](const Extra& a, const Extra& b) { return a.fileRow < b.fileRow; });
  for (const Extra& x : extras) {
    if (report.extras.size() < GridReport::kNamed) {
      report.extras << QStringLiteral("line %1 (%2) fits no place in the table and is left out")
                           .arg(lines.LineOf(x.fileRow))
                           .arg(what(x));
    } else {
      ++report.moreExtras;
    }
  }
}

QString PartName(int part) {
  return part >= 0 && part < kBodyPartCount ? QLatin1String(kBodyPartNames[part]) : QStringLiteral("part %1").arg(part);
}

// ---- fabric ----

}  // namespace

QString GridReport::Text(const QString& file) const {
  QStringList parts = holes;
  if (moreHoles == 1) {
    parts << QStringLiteral("1 more %1 is missing").arg(QLatin1String(holeNoun));
  } else if (moreHoles > 1) {
    parts << QStringLiteral("%1 more %2s are missing").arg(moreHoles).arg(QLatin1String(holeNoun));
  }
  parts += extras;
  if (moreExtras == 1) {
    parts << QStringLiteral("1 more line is left out");
  } else if (moreExtras > 1) {
    parts << QStringLiteral("%1 more lines are left out").arg(moreExtras);
  }
  for (qsizetype i = 1; i < parts.size(); ++i) {
    if (!parts[i].isEmpty()) {
      parts[i][0] = parts[i][0].toUpper();
    }
  }
  return file + QStringLiteral(": ") + parts.join(QStringLiteral(". "));
}

FabricLayout PlaceFabricRows(std::vector<FabricRow>& rows, const CLineMap& lines, PlacedFrom* from) {
  if (from != nullptr) {
    from->clear();
  }
  if (rows.empty()) {
    return FabricLayout{};
  }
  const FabricRowsOf<std::vector<FabricRow>> view{rows};
  FabricLayout first = FirstStepCounts(view);
  if (IsFabricGrid(view, first)) {
    return first;
  }

  const CTimeAxis axis(TimesOf(rows), first.hasInterval ? first.interval : 0.0f);
  // Runs of neighbouring rows of one step and layer, then sorted: a group of
  // runs is one (step, layer), its rows in file order.
  struct Run {
    std::int64_t step;
    int layer;
    std::size_t first, count;
  };
  std::vector<Run> runs;
  float cachedTime = kNaN;
  std::int64_t cachedStep = kOffAxis;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const FabricRow& r = rows[i];
    if (!(r.m_fTime == cachedTime)) {
      cachedTime = r.m_fTime;
      cachedStep = axis.StepOf(r.m_fTime);
    }
    if (!runs.empty() && runs.back().step == cachedStep && runs.back().layer == r.m_nLayer) {
      ++runs.back().count;
    } else {
      runs.push_back({cachedStep, r.m_nLayer, i, 1});
    }
  }
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return std::tie(a.step, a.layer, a.first) < std::tie(b.step, b.layer, b.first);
  });
  struct Group {
    std::int64_t step;
    int layer;
    std::size_t begin, end, size;  // runs [begin, end)
  };
  std::vector<Group> groups;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (groups.empty() || groups.back().step != runs[i].step || groups.back().layer != runs[i].layer) {
      groups.push_back({runs[i].step, runs[i].layer, i, i, 0});
    }
    groups.back().end = i + 1;
    groups.back().size += runs[i].count;
  }
  auto onAxis = [](std::int64_t s) { return s >= 0 && s < kFar; };

  // Layers: what most steps hold; nodes: what most (step, layer) groups hold.
  std::vector<std::size_t> layersPerStep, sizes;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (!onAxis(groups[g].step)) {
      continue;
    }
    sizes.push_back(groups[g].size);
    if (g == 0 || groups[g - 1].step != groups[g].step) {
      layersPerStep.push_back(0);
    }
    ++layersPerStep.back();
  }
  if (sizes.empty()) {
    return first;
  }
  const std::size_t L = Mode(layersPerStep), N = Mode(sizes);
  // No grid of that shape fits in what the file holds: kept as read.
  if (L > (rows.size() + kHoleSlack) / N) {
    return first;
  }
  const std::size_t LN = L * N;

  // The layers' numbers, in file order, from the first step that holds them all.
  std::vector<int> layerNumbers;
  for (std::size_t g = 0; g < groups.size() && layerNumbers.empty();) {
    std::size_t h = g;
    while (h < groups.size() && groups[h].step == groups[g].step) {
      ++h;
    }
    if (onAxis(groups[g].step) && h - g == L) {
      std::vector<std::pair<std::size_t, int>> byRow;
      for (std::size_t k = g; k < h; ++k) {
        byRow.push_back({runs[groups[k].begin].first, groups[k].layer});
      }
      std::sort(byRow.begin(), byRow.end());
      for (const auto& [row, layer] : byRow) {
        layerNumbers.push_back(layer);
      }
    }
    g = h;
  }
  std::vector<std::pair<int, std::size_t>> layerIndex;
  for (std::size_t l = 0; l < layerNumbers.size(); ++l) {
    layerIndex.push_back({layerNumbers[l], l});
  }
  std::sort(layerIndex.begin(), layerIndex.end());
  auto indexOf = [&](int layer) -> std::size_t {
    auto it = std::lower_bound(layerIndex.begin(), layerIndex.end(), std::make_pair(layer, std::size_t{0}));
    return it != layerIndex.end() && it->first == layer ? it->second : kNone;
  };

  // Each layer's node positions, from the first step where it is whole; a
  // row of a group that is not matches the nearest within half the smallest gap.
  std::vector<float> refPos(LN, kNaN);
  std::vector<std::pair<float, std::size_t>> sortedRef(LN);
  std::vector<float> tolerance(L, std::numeric_limits<float>::infinity());
  std::vector<char> hasRef(L, 0);
  for (const Group& g : groups) {
    const std::size_t l = indexOf(g.layer);
    if (!onAxis(g.step) || l == kNone || hasRef[l] || g.size != N) {
      continue;
    }
    // Positions that are not finite numbers give no reference to match by.
    bool finite = true;
    for (std::size_t k = g.begin; k < g.end; ++k) {
      for (std::size_t r = runs[k].first; r < runs[k].first + runs[k].count; ++r) {
        finite = finite && std::isfinite(rows[r].m_fPosition);
      }
    }
    if (!finite) {
      continue;
    }
    hasRef[l] = 1;
    std::size_t n = 0;
    for (std::size_t k = g.begin; k < g.end; ++k) {
      for (std::size_t r = runs[k].first; r < runs[k].first + runs[k].count; ++r, ++n) {
        refPos[l * N + n] = rows[r].m_fPosition;
        sortedRef[l * N + n] = {rows[r].m_fPosition, n};
      }
    }
    std::sort(sortedRef.begin() + static_cast<std::ptrdiff_t>(l * N),
              sortedRef.begin() + static_cast<std::ptrdiff_t>((l + 1) * N));
    for (std::size_t k = l * N + 1; k < (l + 1) * N; ++k) {
      tolerance[l] = std::min(tolerance[l], (sortedRef[k].first - sortedRef[k - 1].first) / 2);
    }
  }

  std::vector<std::int64_t> placeable;
  for (const Group& g : groups) {
    if (indexOf(g.layer) != kNone) {
      placeable.insert(placeable.end(), std::min(g.size, N), g.step);
    }
  }
  const std::int64_t steps = BoundSteps(std::move(placeable), LN, rows.size());
  const std::size_t cells = static_cast<std::size_t>(steps) * LN;

  std::vector<std::size_t> src(cells, kNone);
  std::vector<Extra> extras;
  for (const Group& g : groups) {
    const std::size_t l = indexOf(g.layer);
    const bool placed = onAxis(g.step) && g.step < steps && l != kNone;
    const std::size_t base = placed ? (static_cast<std::size_t>(g.step) * L + l) * N : 0;
    std::size_t next = 0;
    for (std::size_t k = g.begin; k < g.end; ++k) {
      for (std::size_t r = runs[k].first; r < runs[k].first + runs[k].count; ++r) {
        std::size_t node = kNone;
        if (!placed) {
        } else if (g.size == N || !hasRef[l]) {
          while (next < N && src[base + next] != kNone) {
            ++next;
          }
          node = next < N ? next : kNone;
        } else {
          const auto begin = sortedRef.begin() + static_cast<std::ptrdiff_t>(l * N),
                     end = begin + static_cast<std::ptrdiff_t>(N);
          const float pos = rows[r].m_fPosition;
          auto it = std::lower_bound(begin, end, std::make_pair(pos, std::size_t{0}));
          float best = std::numeric_limits<float>::infinity();
          for (auto c : {it, it == begin ? end : it - 1}) {
            if (c != end && std::fabs(c->first - pos) < best) {
              best = std::fabs(c->first - pos);
              node = c->second;
            }
          }
          if (node == kNone || !(best <= tolerance[l]) || src[base + node] != kNone) {
            node = kNone;
          }
        }
        if (node == kNone) {
          extras.push_back({r, rows[r].m_fTime, rows[r].m_nLayer});
        } else {
          src[base + node] = r;
        }
      }
    }
  }

  std::vector<FabricRow> table(cells);
  std::int64_t timeStep = -1;
  float stepTime = kNaN;
  for (std::size_t c = 0; c < cells; ++c) {
    if (src[c] != kNone) {
      table[c] = rows[src[c]];
      continue;
    }
    const std::int64_t s = static_cast<std::int64_t>(c / LN);
    if (s != timeStep) {
      timeStep = s;
      stepTime = axis.TimeOf(s);
    }
    FabricRow& hole = table[c];
    hole.m_fTime = stepTime;
    hole.m_nLayer = layerNumbers[c / N % L];
    hole.m_fPosition = refPos[c % LN];
    hole.m_fVaporConc = hole.m_fMeanVaporConc = hole.m_fEvapRate = kNaN;
    hole.m_fHumidity = hole.m_fTemperature = hole.m_fLiquidFraction = kNaN;
  }

  FabricLayout out;
  out.layers = static_cast<int>(L);
  out.nodes = static_cast<int>(N);
  out.hasInterval = axis.HasInterval();
  out.interval = axis.Interval();
  out.report.holeNoun = "value";
  ReportHoles(
      src, cells, lines, [](std::size_t r) { return r; }, [N](std::size_t c) { return c / N; },
      [&](std::size_t c, std::size_t count) {
        const QString where =
            QStringLiteral(" of layer %1 at %2 min").arg(table[c].m_nLayer).arg(Minutes(table[c].m_fTime));
        return count == 1 ? Subject{QStringLiteral("one value") + where, false}
                          : Subject{QStringLiteral("%1 values").arg(count) + where, true};
      },
      out.report);
  ReportExtras(
      extras, lines,
      [](const Extra& x) { return QStringLiteral("layer %1 at %2 min").arg(x.index).arg(Minutes(x.time)); },
      out.report);
  rows = std::move(table);
  if (from != nullptr) {
    *from = std::move(src);
  }
  return out;
}

// ---- body ----

namespace {

// Whether the rows already are whole samples of the six parts in order, one
// time per sample, each sample one interval after the last; rows of a last,
// incomplete sample (the file ends part-way through one) need only be in order.
bool IsBodyGrid(const std::vector<BodyPropertyRow>& rows) {
  const std::size_t whole = rows.size() / kBodyPartCount * kBodyPartCount;
  const float interval = whole > kBodyPartCount ? rows[kBodyPartCount].m_fTime - rows[0].m_fTime : 0.0f;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t p = i % kBodyPartCount;
    if (rows[i].m_nPart != static_cast<int>(p)) {
      return false;
    }
    const float time = rows[i - p].m_fTime;
    if (!SameTime(rows[i].m_fTime, time)) {
      return false;
    }
    if (p == 0 && i >= kBodyPartCount && i < whole) {
      const float previous = rows[i - kBodyPartCount].m_fTime;
      if (interval == 0 ? !SameTime(time, previous) : !NextStep(previous, time, interval)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

BodyLayout PlaceBodyRows(std::vector<BodyPropertyRow>& rows, const CLineMap& lines, PlacedFrom* from) {
  if (from != nullptr) {
    from->clear();
  }
  BodyLayout out;
  const float first = rows.size() > kBodyPartCount ? rows[kBodyPartCount].m_fTime - rows[0].m_fTime : 0.0f;
  out.samples = static_cast<int>(std::min<std::size_t>(rows.size() / kBodyPartCount, INT_MAX));
  out.interval = first == 0 ? 1.0f : first;
  out.report.holeNoun = "row";
  if (IsBodyGrid(rows)) {
    return out;
  }

  const CTimeAxis axis(TimesOf(rows), first);
  // Without a second time, the k-th row of a part is its k-th sample.
  const bool byOrder = !axis.HasInterval();
  std::vector<std::int64_t> sampleOf(rows.size(), kOffAxis);
  std::int64_t seen[kBodyPartCount] = {};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int p = rows[i].m_nPart;
    if (p < 0 || p >= kBodyPartCount) {
      continue;
    }
    sampleOf[i] = byOrder ? seen[p]++ : axis.StepOf(rows[i].m_fTime);
  }
  const std::int64_t bound = BoundSteps(sampleOf, kBodyPartCount, rows.size());
  const std::size_t cells = static_cast<std::size_t>(bound) * kBodyPartCount;
  std::vector<std::size_t> src(cells, kNone);
  std::vector<Extra> extras;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::int64_t s = sampleOf[i];
    const std::size_t c = s >= 0 && s < bound ? static_cast<std::size_t>(s) * kBodyPartCount + rows[i].m_nPart : kNone;
    if (c != kNone && src[c] == kNone) {
      src[c] = i;
    } else {
      extras.push_back({i, rows[i].m_fTime, rows[i].m_nPart});
    }
  }

  // A last sample that holds Head ... some part and nothing after is one the
  // run stopped writing: as ever not a sample, its rows kept after the last.
  std::size_t samples = static_cast<std::size_t>(bound), tail = 0;
  if (samples > 0) {
    const std::size_t last = (samples - 1) * kBodyPartCount;
    std::size_t k = 0;
    while (k < kBodyPartCount && src[last + k] != kNone) {
      ++k;
    }
    bool prefix = k < kBodyPartCount;
    for (std::size_t p = k; p < kBodyPartCount; ++p) {
      prefix = prefix && src[last + p] == kNone;
    }
    if (prefix) {
      tail = k;
      --samples;
      while (samples > 0 && std::all_of(src.begin() + static_cast<std::ptrdiff_t>((samples - 1) * kBodyPartCount),
                                        src.begin() + static_cast<std::ptrdiff_t>(samples * kBodyPartCount),
                                        [](std::size_t r) { return r == kNone; })) {
        --samples;
      }
      for (std::size_t p = 0; p < tail; ++p) {
        src[samples * kBodyPartCount + p] = src[last + p];
      }
    }
  }
  const std::size_t kept = samples * kBodyPartCount;

  std::vector<BodyPropertyRow> table(kept + tail);
  for (std::size_t c = 0; c < kept + tail; ++c) {
    if (src[c] != kNone) {
      table[c] = rows[src[c]];
      continue;
    }
    BodyPropertyRow& hole = table[c];
    hole.m_fTime = axis.TimeOf(static_cast<std::int64_t>(c / kBodyPartCount));
    hole.m_nPart = static_cast<int>(c % kBodyPartCount);
    hole.m_fSkinTemp = hole.m_fCoreTemp = hole.m_fMetabolism = hole.m_fSkinHumidity = hole.m_fBloodFlow = kNaN;
    hole.m_fSweatRate = hole.m_fSweatAccum = hole.m_fEvapHeat = hole.m_fSkinPressure = kNaN;
  }

  out.samples = static_cast<int>(std::min<std::size_t>(samples, INT_MAX));
  out.interval = byOrder ? 1.0f : axis.Interval();
  ReportHoles(
      src, kept, lines, [](std::size_t r) { return r; }, [](std::size_t c) { return c / kBodyPartCount; },
      [&](std::size_t c, std::size_t count) {
        QString names;
        for (std::size_t k = 0; k < count; ++k) {
          if (k > 0) {
            names += k + 1 == count ? QStringLiteral(" and ") : QStringLiteral(", ");
          }
          names += PartName(table[c + k].m_nPart);
        }
        return Subject{QStringLiteral("the values of %1 at %2 min").arg(names, Minutes(table[c].m_fTime)), true};
      },
      out.report);
  ReportExtras(
      extras, lines,
      [](const Extra& x) { return QStringLiteral("%1 at %2 min").arg(PartName(x.index), Minutes(x.time)); },
      out.report);
  rows = std::move(table);
  if (from != nullptr) {
    src.resize(kept + tail);
    *from = std::move(src);
  }
  return out;
}

// ---- comfort ----

GridReport PlaceComfortRows(std::vector<ComfortRow> (&parts)[kBodyPartCount], const CLineMap& lines,
                            const std::vector<std::uint8_t>& partOf, PlacedFrom (*from)[kBodyPartCount]) {
  GridReport report;
  report.holeNoun = "row";
  std::vector<std::size_t> fileRows[kBodyPartCount];  // each part's rows in the file's row count
  std::vector<Extra> extras;
  for (int p = 0; p < kBodyPartCount; ++p) {
    std::vector<ComfortRow>& rows = parts[p];
    if (from != nullptr) {
      (*from)[p].clear();
    }
    // A series one interval apart, or all at one time, is kept as it is.
    bool regular = true;
    const float interval = rows.size() > 1 ? rows[1].m_fTime - rows[0].m_fTime : 0.0f;
    for (std::size_t i = 1; i < rows.size() && regular; ++i) {
      regular = interval == 0 ? SameTime(rows[i].m_fTime, rows[0].m_fTime)
                              : NextStep(rows[i - 1].m_fTime, rows[i].m_fTime, interval);
    }
    if (regular) {
      continue;
    }
    const CTimeAxis axis(TimesOf(rows), interval);
    if (!axis.HasInterval()) {
      continue;
    }
    if (fileRows[0].empty() && fileRows[1].empty() && fileRows[2].empty() && fileRows[3].empty() &&
        fileRows[4].empty() && fileRows[5].empty()) {
      for (std::size_t i = 0; i < partOf.size(); ++i) {
        fileRows[partOf[i]].push_back(i);
      }
    }
    const std::vector<std::size_t>& toFile = fileRows[p];

    std::vector<std::int64_t> steps(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      steps[i] = axis.StepOf(rows[i].m_fTime);
    }
    const std::int64_t bound = BoundSteps(steps, 1, rows.size());
    const std::size_t cells = static_cast<std::size_t>(bound);
    std::vector<std::size_t> src(cells, kNone);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (steps[i] >= 0 && steps[i] < bound && src[static_cast<std::size_t>(steps[i])] == kNone) {
        src[static_cast<std::size_t>(steps[i])] = i;
      } else {
        extras.push_back({i < toFile.size() ? toFile[i] : i, rows[i].m_fTime, p});
      }
    }
    std::vector<ComfortRow> table(cells);
    const std::size_t holesBefore = report.holeCells;
    for (std::size_t c = 0; c < cells; ++c) {
      if (src[c] != kNone) {
        table[c] = rows[src[c]];
      } else {
        table[c] = {axis.TimeOf(static_cast<std::int64_t>(c)), kNaN, kNaN, kNaN};
      }
    }
    ReportHoles(
        src, cells, lines, [&toFile](std::size_t r) { return r < toFile.size() ? toFile[r] : r; },
        [](std::size_t) { return std::size_t{0}; },
        [&](std::size_t c, std::size_t count) {
          const QString span = count == 1 ? QStringLiteral("at %1 min").arg(Minutes(table[c].m_fTime))
                                          : QStringLiteral("from %1 to %2 min")
                                                .arg(Minutes(table[c].m_fTime), Minutes(table[c + count - 1].m_fTime));
          return Subject{QStringLiteral("the comfort values of %1 %2").arg(PartName(p), span), true};
        },
        report);
    report.partHoles[p] = report.holeCells - holesBefore;
    rows = std::move(table);
    if (from != nullptr) {
      (*from)[p] = std::move(src);
    }
  }
  ReportExtras(
      extras, lines,
      [](const Extra& x) { return QStringLiteral("%1 at %2 min").arg(PartName(x.index), Minutes(x.time)); }, report);
  return report;
}
