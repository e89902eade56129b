#include "internal/TableFiles.h"

#include <atomic>
#include <new>
#include <thread>

#include "LineFormats.h"
#include "LineReader.h"
#include "LoadCancel.h"

namespace {

// Scans one line the way the 256-byte line buffer and sscanf see it: a
// too-long line yields nothing.
inline int Scan(const TextLine& line, const ScanSpec& format, void* const* outs) {
  if (line.tooLong) return 0;
  return ScanLine(line.text, line.text + line.length, format, outs);
}

// Rows gathered in blocks of a fixed size while a file is read: the memory
// grows with what the file holds (not with its size on disk, which may be
// anything), and growing never copies what was read before. A file's rows
// mostly fit one block, which becomes the table as it is; more blocks are
// joined at the end, each freed as soon as it is copied. A block (64 MiB of
// address space, of which only what rows use is ever touched) is above the
// allocator's largest mmap threshold, so a freed block goes back to the
// system at once instead of staying in the heap beside the joined table.
template <class Row>
class CRowBlocks {
 public:
  static constexpr std::size_t kBlockRows = (std::size_t{64} << 20) / sizeof(Row);
  void Push(const Row& row) {
    if (m_blocks.empty() || m_blocks.back().size() == kBlockRows) {
      m_blocks.emplace_back();
      m_blocks.back().reserve(kBlockRows);
    }
    m_blocks.back().push_back(row);
    ++m_count;
  }
  std::vector<Row> Join() {
    std::vector<Row> all;
    if (m_blocks.size() == 1) return std::move(m_blocks.front());
    all.reserve(m_count);
    for (std::vector<Row>& block : m_blocks) {
      all.insert(all.end(), block.begin(), block.end());
      std::vector<Row>().swap(block);
    }
    return all;
  }

 private:
  std::vector<std::vector<Row>> m_blocks;
  std::size_t m_count = 0;
};

// Reads `path` line by line, keeping a row whenever `accept` says the scanned
// line is one and counting the other lines as unreadable. A file too big for
// memory is reported as one that cannot be read, never as an abort.
template <class Row, class Setup, class Accept>
ParsedFile<Row> ParseRows(const QString& path, Setup setup, Accept accept) {
  ParsedFile<Row> out;
  CLineReader reader;
  if (!reader.Open(path)) return out;
  try {
    CRowBlocks<Row> rows;
    Row row{};
    void* outs[kMaxConversions];
    setup(row, outs);
    TextLine line{};
    while (reader.Next(line)) {
      out.empty = false;
      switch (accept(line, row, outs)) {
        case 1:
          rows.Push(row);
          break;
        case 0:
          ++out.unreadable;
          break;
        default:
          break;  // skipped, not counted
      }
    }
    out.rows = rows.Join();
    out.opened = true;
  } catch (const std::bad_alloc&) {
    out = ParsedFile<Row>{};
    out.tooBig = true;
  }
  return out;
}

}  // namespace

ParsedFile<FiberRow> ParseFiberFile(const QString& path) {
  return ParseRows<FiberRow>(
      path,
      [](FiberRow& r, void** o) { o[0] = &r.m_fTime, o[1] = &r.m_fPosition, o[2] = &r.m_fValue1, o[3] = &r.m_fValue2; },
      [](const TextLine& line, FiberRow&, void** o) { return Scan(line, LineFormats::kFiber, o) == 4 ? 1 : 0; });
}

ParsedFile<FabricRow> ParseFabricFile(const QString& path) {
  bool ninth = false;
  ParsedFile<FabricRow> parsed = ParseRows<FabricRow>(
      path,
      [](FabricRow& r, void** o) {
        o[0] = &r.m_fTime, o[1] = &r.m_fPosition, o[2] = &r.m_nLayer, o[3] = &r.m_fVaporConc;
        o[4] = &r.m_fMeanVaporConc, o[5] = &r.m_fEvapRate, o[6] = &r.m_fHumidity, o[7] = &r.m_fTemperature;
        o[8] = &r.m_fLiquidFraction;
      },
      [&ninth](const TextLine& line, FabricRow& r, void** o) {
        if (!line.tooLong && line.CStringShorterThan(9)) return -1;
        r.m_fLiquidFraction = 0;
        const int values = Scan(line, LineFormats::kFabric, o);
        if (values < 8) return 0;
        ninth = ninth || values == 9;
        r.m_fHumidity /= 100;
        return 1;
      });
  parsed.ninthColumn = ninth;
  return parsed;
}

ParsedFile<BodyPropertyRow> ParseBodyFile(const QString& path) {
  return ParseRows<BodyPropertyRow>(
      path,
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
      path,
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
  out.tooBig = tagged.tooBig;
  out.empty = tagged.empty;
  out.unreadable = tagged.unreadable;
  try {
    for (const Tagged& t : tagged.rows) out.parts[t.part].push_back(t.row);
  } catch (const std::bad_alloc&) {
    out = ParsedComfort{};
    out.tooBig = true;
  }
  return out;
}

void RunTasks(std::vector<std::function<void()>>& tasks, unsigned threads) {
  std::atomic<std::size_t> next{0};
  const std::atomic<bool>* cancel = CLoadCancelScope::Current();
  auto work = [&] {
    const CLoadCancelScope scope(cancel);
    for (std::size_t i; (i = next.fetch_add(1)) < tasks.size();) tasks[i]();
  };
  std::vector<std::thread> helpers;
  const std::size_t extra =
      std::min<std::size_t>(threads > 1 ? threads - 1 : 0, tasks.size() > 1 ? tasks.size() - 1 : 0);
  for (std::size_t i = 0; i < extra; ++i) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
}
