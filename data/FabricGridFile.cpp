#include "FabricGridFile.h"

#include <fast_float/fast_float.h>

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <functional>
#include <new>

#include "DecimalDigits.h"
#include "LineReader.h"
#include "TableFiles.h"
#include "internal/CharClass.h"
#include "internal/FabricGrid.h"
#include "internal/PagesAhead.h"
#include "internal/ScanFloatGeneral.h"
#include "internal/ScanNumbers.h"

namespace {

// One field of a line at p, read as the loader's two parsers read it: its
// double as the full-precision reading gives it and, with `single`, its
// float as the store's parser gives it. False for anything either would not
// take as it stands (no number, beyond a float's range, more digits than the
// fast scanner reads): such a file is the loader's.
[[gnu::always_inline]] inline bool ReadNumber(const char*& p, const char* end, double& value, float* single) {
  const char* q = p;
  const bool negative = *q == '-';
  if (*q == '+' || *q == '-') {
    ++q;
  }
  const char* number = q;
  std::uint64_t mantissa;
  int scale;
  const std::ptrdiff_t count = decimal::ReadDigits(q, end, mantissa, scale);
  if (count == 0 || count > 19 || !scanfields::ScanExponent(q, end, scale) || !(q == end || IsCSpace(*q))) {
    return false;
  }
  double v = 0;
  // One exact operation gives at most 2^53 x 10^22, well within a float's
  // range. Beyond it, the float parser refuses what overflows a float; near
  // that edge the loader decides.
  const bool read = decimal::ExactDouble(mantissa, scale, v) ||
                    (fast_float::from_chars(number, q, v).ptr == q && std::fabs(v) < 1e38);
  if (!read) {
    return false;
  }
  if (single != nullptr) {
    float f;
    if (!decimal::ExactFloat(mantissa, scale, f) && !scanfields::DecimalToFloat(number, q, &f)) {
      return false;
    }
    *single = negative ? -f : f;
  }
  value = negative ? -v : v;
  p = q;
  return true;
}

// The layer field, as the int parser reads it.
inline bool ReadLayer(const char*& p, const char* end, std::int32_t& layer) {
  const char* q = p;
  const bool negative = *q == '-';
  if (*q == '+' || *q == '-') {
    ++q;
  }
  const char* digits = q;
  long long v = 0;
  while (q < end && decimal::IsDigit(*q) && v <= scanfields::kIntLimit) {
    v = v * 10 + (*q++ - '0');
  }
  if (q == digits || !(q == end || IsCSpace(*q)) || v > scanfields::kIntLimit) {
    return false;
  }
  layer = static_cast<std::int32_t>(negative ? -v : v);
  p = q;
  return true;
}

inline void SkipSpace(const char*& p, const char* end) {
  while (p < end && IsCSpace(*p)) {
    ++p;
  }
}

// The times and layers, as the grid check asks for them.
struct TimesAndLayers {
  const std::vector<float>& times;
  const std::vector<std::int32_t>& layers;
  std::size_t size() const { return times.size(); }
  float Time(std::size_t i) const { return times[i]; }
  int Layer(std::size_t i) const { return layers[i]; }
};

}  // namespace

std::optional<CFabricGridColumns> ReadFabricGrid(const QString& path) {
  CLineReader reader;
  if (!reader.Open(path)) {
    return std::nullopt;
  }
  CFabricGridColumns out;
  std::vector<float> times;
  try {
    // No line of eight fields is shorter than sixteen bytes; what the
    // file does not fill is never given pages.
    const auto most = static_cast<std::size_t>(std::max<qint64>(0, QFileInfo(path).size())) / 16 + 1;
    out.m_values.reserve(most * CFabricGridColumns::kWidth);
    out.m_layers.reserve(most);
    times.reserve(most);
    AskLargePages(out.m_values.data(), out.m_values.capacity() * sizeof(double));
    AskLargePages(out.m_layers.data(), out.m_layers.capacity() * sizeof(std::int32_t));
    CPagesAhead valuesAhead, layersAhead, timesAhead;
    TextLine line{};
    while (reader.Next(line)) {
      if (line.tooLong) {
        return std::nullopt;
      }
      const char* p = line.text;
      const char* const end = p + line.length;
      double row[CFabricGridColumns::kWidth + 1];
      float time = 0;
      std::int32_t layer = 0;
      int fields = 0;
      for (; fields < 9; ++fields) {
        SkipSpace(p, end);
        if (p == end) {
          break;
        }
        const bool read = fields == 2
                              ? ReadLayer(p, end, layer)
                              : ReadNumber(p, end, row[fields - (fields > 2 ? 1 : 0)], fields == 0 ? &time : nullptr);
        if (!read) {
          return std::nullopt;
        }
      }
      SkipSpace(p, end);
      if (fields < 8 || p != end) {
        return std::nullopt;
      }
      if (fields == 8) {
        row[CFabricGridColumns::kWidth - 1] = 0;  // as the store's row holds it
      }
      out.m_bNinth = out.m_bNinth || fields == 9;
      valuesAhead.Reach(out.m_values.data() + out.m_values.size(), out.m_values.data() + out.m_values.capacity());
      layersAhead.Reach(out.m_layers.data() + out.m_layers.size(), out.m_layers.data() + out.m_layers.capacity());
      timesAhead.Reach(times.data() + times.size(), times.data() + times.capacity());
      out.m_values.insert(out.m_values.end(), row, row + CFabricGridColumns::kWidth);
      out.m_layers.push_back(layer);
      times.push_back(time);
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // the loader says what a file too big for memory is
  }
  if (times.empty()) {
    return std::nullopt;
  }
  out.m_nRows = times.size();
  const TimesAndLayers table{times, out.m_layers};
  out.m_layout = FirstStepCounts(table);
  if (!IsFabricGrid(table, out.m_layout)) {
    return std::nullopt;
  }
  const std::size_t perStep = static_cast<std::size_t>(out.m_layout.layers) * out.m_layout.nodes;
  for (std::size_t r = 0; r < times.size(); r += perStep) {
    out.m_stepTimes.push_back(times[r]);
  }
  return out;
}

CFabricGridColumns CFabricGridColumns::FromPlaced(std::vector<double>&& values, std::vector<float> stepTimes,
                                                  const FabricLayout& layout, bool ninth) {
  constexpr std::size_t kFrom = 9, kTo = kWidth, kLayer = 2;
  CFabricGridColumns out;
  out.m_values = std::move(values);
  const std::size_t rows = out.m_values.size() / kFrom;
  out.m_layers.resize(rows);
  double* v = out.m_values.data();
  // Each row moves down to where its shorter self starts, never over a
  // row not moved yet.
  for (std::size_t r = 0; r < rows; ++r) {
    const double* from = v + r * kFrom;
    double* to = v + r * kTo;
    out.m_layers[r] = static_cast<std::int32_t>(from[kLayer]);
    const double row[kTo] = {from[0], from[1], from[3], from[4], from[5], from[6], from[7], from[8]};
    std::copy(row, row + kTo, to);
  }
  out.m_values.resize(rows * kTo);
  out.m_nRows = rows;
  out.m_stepTimes = std::move(stepTimes);
  out.m_layout = layout;
  out.m_bNinth = ninth;
  return out;
}

FabricGrids ReadFabricGrids(const QString& dir, const std::array<QString, kBodyPartCount>& names, unsigned threads) {
  FabricGrids out;
  std::atomic<bool> stop{false};
  std::vector<std::function<void()>> tasks;
  for (std::size_t p = 0; p < names.size(); ++p) {
    tasks.emplace_back([&out, &stop, path = dir + names[p], p] {
      if (stop || !QFileInfo::exists(path)) {
        return;
      }
      try {
        out[p] = ReadFabricGrid(path);
      } catch (const std::exception&) {
        out[p].reset();  // (memory, most likely) the loader's to say
      }
      if (!out[p]) {
        stop = true;
      }
    });
  }
  RunTasks(tasks, threads);
  return out;
}
