#include "FabricGridFile.h"

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <new>

#include "LineReader.h"
#include "TableFiles.h"
#include "internal/FabricGrid.h"
#include "internal/LineFormats.h"
#include "internal/PagesAhead.h"

namespace {

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
      // The loader's own line rules and field scanners: a line it would
      // skip, or one with a field that is no number (which it would name),
      // is the loader's.
      if (line.CStringShorterThan(9)) {
        return std::nullopt;
      }
      FabricRow r;
      void* outs[9] = {&r.m_fTime,     &r.m_fPosition, &r.m_nLayer,       &r.m_fVaporConc,     &r.m_fMeanVaporConc,
                       &r.m_fEvapRate, &r.m_fHumidity, &r.m_fTemperature, &r.m_fLiquidFraction};
      double read[9];
      const ScanResult scan = LineFormats::kFabric.fixedExact(line.text, line.text + line.length, outs, read);
      if (scan.fields < 8 || scan.bad != 0) {
        return std::nullopt;
      }
      const int fields = scan.fields;
      // Time and position, then the six quantities; a line of eight holds 0
      // as the ninth, as the store's row does.
      const double row[CFabricGridColumns::kWidth] = {read[0], read[1], read[3], read[4],
                                                      read[5], read[6], read[7], fields == 9 ? read[8] : 0.0};
      const float time = r.m_fTime;
      const std::int32_t layer = r.m_nLayer;
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
