#include "internal/TableFiles.h"

#include <QFileInfo>
#include <atomic>
#include <thread>

#include "LineFormats.h"
#include "LineReader.h"

namespace {

// Scans one line the way the 256-byte line buffer and sscanf see it: a
// too-long line yields nothing.
inline int Scan(const TextLine& line, const ScanSpec& format, void* const* outs) {
  if (line.tooLong) return 0;
  return ScanLine(line.text, line.text + line.length, format, outs);
}

// Room for the rows of a file whose lines are at least `lineBytes` long, so
// the table never grows by copying; pages never written cost nothing.
std::size_t EstimateRows(const QString& path, std::size_t lineBytes) {
  const qint64 size = QFileInfo(path).size();
  return size > 0 ? static_cast<std::size_t>(size) / lineBytes + 16 : 16;
}

// Reads `path` line by line, appending a row whenever `accept` says the
// scanned line is one and counting the other lines as unreadable.
template <class Row, class Setup, class Accept>
ParsedFile<Row> ParseRows(const QString& path, std::size_t lineBytes, Setup setup, Accept accept) {
  ParsedFile<Row> out;
  CLineReader reader;
  if (!reader.Open(path)) return out;
  out.opened = true;
  out.rows.reserve(EstimateRows(path, lineBytes));
  Row row{};
  void* outs[kMaxConversions];
  setup(row, outs);
  TextLine line{};
  while (reader.Next(line)) {
    switch (accept(line, row, outs)) {
      case 1:
        out.rows.push_back(row);
        break;
      case 0:
        ++out.unreadable;
        break;
      default:
        break;  // skipped, not counted
    }
  }
  return out;
}

}  // namespace

ParsedFile<FiberRow> ParseFiberFile(const QString& path) {
  return ParseRows<FiberRow>(
      path, 24,
      [](FiberRow& r, void** o) { o[0] = &r.m_fTime, o[1] = &r.m_fPosition, o[2] = &r.m_fValue1, o[3] = &r.m_fValue2; },
      [](const TextLine& line, FiberRow&, void** o) { return Scan(line, LineFormats::kFiber, o) == 4 ? 1 : 0; });
}

ParsedFile<FabricRow> ParseFabricFile(const QString& path) {
  return ParseRows<FabricRow>(
      path, 40,
      [](FabricRow& r, void** o) {
        o[0] = &r.m_fTime, o[1] = &r.m_fPosition, o[2] = &r.m_nLayer, o[3] = &r.m_fVaporConc;
        o[4] = &r.m_fMeanVaporConc, o[5] = &r.m_fEvapRate, o[6] = &r.m_fHumidity, o[7] = &r.m_fTemperature;
        o[8] = &r.m_fLiquidFraction;
      },
      [](const TextLine& line, FabricRow& r, void** o) {
        if (!line.tooLong && line.CStringLength() < 9) return -1;
        r.m_fLiquidFraction = 0;
        if (Scan(line, LineFormats::kFabric, o) < 8) return 0;
        r.m_fHumidity /= 100;
        return 1;
      });
}

ParsedFile<BodyPropertyRow> ParseBodyFile(const QString& path) {
  return ParseRows<BodyPropertyRow>(
      path, 48,
      [](BodyPropertyRow& r, void** o) {
        o[0] = &r.m_fTime, o[1] = &r.m_nPart, o[2] = &r.m_fSkinTemp, o[3] = &r.m_fCoreTemp;
        o[4] = &r.m_fMetabolism, o[5] = &r.m_fSkinHumidity, o[6] = &r.m_fBloodFlow, o[7] = &r.m_fSweatRate;
        o[8] = &r.m_fSweatAccum, o[9] = &r.m_fEvapHeat, o[10] = &r.m_fSkinPressure;
      },
      [](const TextLine& line, BodyPropertyRow&, void** o) { return Scan(line, LineFormats::kBody, o) == 11 ? 1 : 0; });
}

ParsedComfort ParseComfortFile(const QString& path) {
  struct Tagged {
    ComfortRow row;
    int part;
  };
  ParsedFile<Tagged> tagged = ParseRows<Tagged>(
      path, 16,
      [](Tagged& t, void** o) {
        o[0] = &t.row.m_fTime, o[1] = &t.part, o[2] = &t.row.m_fThermal, o[3] = &t.row.m_fDampness;
        o[4] = &t.row.m_fComfort;
      },
      [](const TextLine& line, Tagged& t, void** o) {
        if (Scan(line, LineFormats::kComfort, o) != 5) return 0;
        return t.part >= 0 && t.part < kBodyPartCount ? 1 : -1;
      });
  ParsedComfort out;
  out.opened = tagged.opened;
  out.unreadable = tagged.unreadable;
  for (const Tagged& t : tagged.rows) out.parts[t.part].push_back(t.row);
  return out;
}

void RunTasks(std::vector<std::function<void()>>& tasks, unsigned threads) {
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < tasks.size();) tasks[i]();
  };
  std::vector<std::thread> helpers;
  const std::size_t extra =
      std::min<std::size_t>(threads > 1 ? threads - 1 : 0, tasks.size() > 1 ? tasks.size() - 1 : 0);
  for (std::size_t i = 0; i < extra; ++i) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
}
