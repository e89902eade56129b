#include "TableFiles.h"

#include <sys/mman.h>

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <bit>
#include <new>
#include <thread>

#include "ExactFields.h"
#include "LineReader.h"
#include "LoadCancel.h"
#include "internal/CharClass.h"
#include "internal/LineFormats.h"
#include "internal/PagesAhead.h"

void CLineMap::AddRow(std::size_t row, std::uint64_t line) {
  if (line != m_lastRowLine + 1) {
    m_breaks.push_back({row, line});
  }
  m_lastRowLine = line;
}

void CLineMap::AddUnreadable(std::uint64_t line) {
  if (!m_runs.empty()) {
    Run& last = m_runs.back();
    if (line < last.first + last.count) {
      return;  // the rest of a line already kept
    }
    if (line == last.first + last.count) {
      ++last.count;
      return;
    }
  }
  if (m_runs.size() == kMaxRuns) {
    return;
  }
  const std::uint64_t before = m_runs.empty() ? 0 : m_runs.back().before + m_runs.back().count;
  m_runs.push_back({line, 1, before});
}

std::uint64_t CLineMap::LineOf(std::size_t row) const {
  auto it =
      std::upper_bound(m_breaks.begin(), m_breaks.end(), row, [](std::size_t r, const Break& b) { return r < b.row; });
  if (it == m_breaks.begin()) {
    return row + 1;
  }
  --it;
  return it->line + (row - it->row);
}

std::uint64_t CLineMap::UnreadableUpTo(std::uint64_t line) const {
  auto it =
      std::upper_bound(m_runs.begin(), m_runs.end(), line, [](std::uint64_t l, const Run& r) { return l < r.first; });
  if (it == m_runs.begin()) {
    return 0;
  }
  --it;
  return it->before + std::min(it->count, line - it->first + 1);
}

std::uint64_t CLineMap::UnreadableBetween(std::uint64_t a, std::uint64_t b) const {
  if (b <= a + 1) {
    return 0;
  }
  return UnreadableUpTo(b - 1) - UnreadableUpTo(a);
}

std::uint64_t CLineMap::NthUnreadableAfter(std::uint64_t a, std::uint64_t k) const {
  const std::uint64_t target = UnreadableUpTo(a) + k;
  auto it = std::upper_bound(m_runs.begin(), m_runs.end(), target,
                             [](std::uint64_t t, const Run& r) { return t < r.before; });
  if (it == m_runs.begin()) {
    return 0;
  }
  --it;
  return it->first + (target - it->before);
}

namespace {
// A field's text as a message shows it: printable ASCII as it stands, any
// other byte as \xNN, and at most 24 characters of it.
QString Shown(const char* text, std::size_t length) {
  QString out;
  for (std::size_t i = 0; i < length && i < 24; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    out += c >= 0x20 && c < 0x7f ? QString(QLatin1Char(static_cast<char>(c)))
                                 : QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
  }
  return length > 24 ? out + QStringLiteral("...") : out;
}
}  // namespace

void CBadNumbers::Add(std::uint64_t lineNo, const char* text, std::size_t length, std::uint32_t bad, bool rowLeftOut) {
  for (int i = 0; i < 32; ++i) {
    if ((bad & (std::uint32_t{1} << i)) == 0) {
      continue;
    }
    if (m_named.size() == kNamed) {
      ++m_more;
      continue;
    }
    std::size_t n = 0;
    const char* field = FieldText(text, text + length, i, &n);
    m_named.push_back({lineNo, i + 1, Shown(field, n), rowLeftOut});
  }
}

QString CBadNumbers::Text(const QString& file) const {
  QStringList lines;
  for (const Named& n : m_named) {
    lines << QStringLiteral("%1: line %2, column %3 holds \"%4\", which is no number; %5")
                 .arg(file)
                 .arg(n.line)
                 .arg(n.column)
                 .arg(n.text,
                      n.rowLeftOut ? QStringLiteral("the line is left out") : QStringLiteral("that value is left out"));
  }
  if (m_more > 0) {
    lines << QStringLiteral("and %1 more %2 no number")
                 .arg(m_more)
                 .arg(m_more == 1 ? QStringLiteral("field holds") : QStringLiteral("fields hold"));
  }
  return lines.join(QLatin1Char('\n'));
}

namespace {

// A line of nothing but white space (a trailing blank line): never the reason
// a value is missing.
bool IsBlank(const TextLine& line) {
  return std::all_of(line.text, line.text + line.length, [](char c) { return IsCSpace(c); });
}

// Scans one line the way the 256-byte line buffer sees it: a too-long line
// yields nothing. With `values`, each field's value at full precision lands
// there too, from the same reading of its digits.
inline ScanResult Scan(const TextLine& line, const ScanSpec& format, void* const* outs, double* values = nullptr) {
  if (line.tooLong) {
    return ScanResult{};
  }
  if (values != nullptr) [[unlikely]] {
    return ScanLineExact(line.text, line.text + line.length, format, outs, values);
  }
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
      AskLargePages(m_blocks.back().data(), kBlockRows * sizeof(Row));
      m_pages = CPagesAhead{};
    }
    std::vector<Row>& block = m_blocks.back();
    m_pages.Reach(block.data() + block.size(), block.data() + kBlockRows);
    block.push_back(row);
    ++m_count;
  }
  std::size_t Count() const { return m_count; }
  std::vector<Row> Join() {
    std::vector<Row> all;
    if (m_blocks.size() == 1) {
      return std::move(m_blocks.front());
    }
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
  CPagesAhead m_pages;  // of the last block
};

// Room for a file's values at full precision: no field is shorter than two
// bytes with its tab, so a quarter of its size in doubles is more than it
// needs; what is never written is never given pages, and growing never
// copies what was read.
void MakeRoom(const QString& path, std::vector<double>* exact) {
  if (exact != nullptr) {
    exact->reserve(exact->size() + static_cast<std::size_t>(std::max<qint64>(0, QFileInfo(path).size())) / 4);
    AskLargePages(exact->data(), exact->capacity() * sizeof(double));
  }
}

// A verdict of the line rules, and for a kept row its values at full
// precision (Scan's `values`) when they are asked for: they are read in the
// same pass, so that they stand row for row beside the floats.
inline int KeepExact(int verdict, const ScanSpec& format, const double* values, std::vector<double>* exact) {
  if (verdict == 1 && exact != nullptr) [[unlikely]] {
    exact->insert(exact->end(), values, values + format.count);
  }
  return verdict;
}

// Reads `path` line by line, keeping a row whenever `accept` says the scanned
// line is one and counting the other lines as unreadable. A field of a kept
// row that held no number is named for the message; so is one that made a
// line of numbers unreadable when `nameLeftOut` (in a file whose rows are
// placed on a grid, the hole such a line leaves names it already). A file
// too big for memory is reported as one that cannot be read, never as an
// abort.
template <class Row, class Setup, class Accept>
ParsedFile<Row> ParseRows(const QString& path, bool nameLeftOut, Setup setup, Accept accept) {
  ParsedFile<Row> out;
  CLineReader reader;
  if (!reader.Open(path)) {
    return out;
  }
  try {
    CRowBlocks<Row> rows;
    Row row{};
    void* outs[kMaxConversions];
    setup(row, outs);
    TextLine line{};
    std::uint64_t lineNo = 1;
    while (reader.Next(line)) {
      const std::uint64_t here = lineNo;
      if (line.hasBreak) {
        ++lineNo;  // the head of a long line and its rest share a number
      }
      out.empty = false;
      ScanResult scan;
      const int verdict = accept(line, row, outs, scan);
      if (scan.bad != 0) [[unlikely]] {
        // A header or a line of words is an unreadable line, not a number.
        const bool numbers = scan.fields > std::popcount(scan.bad);
        if (verdict == 1 || (nameLeftOut && numbers && verdict == 0)) {
          out.badNumbers.Add(here, line.text, line.length, scan.bad, verdict != 1);
        }
      }
      switch (verdict) {
        case 1:
          out.lines.AddRow(rows.Count(), here);
          rows.Push(row);
          break;
        case 0:
          ++out.unreadable;
          if (!line.tooLong && !IsBlank(line)) {
            out.lines.AddUnreadable(here);
          }
          break;
        default:
          break;  // skipped, not counted
      }
      out.lines.SetLines(here);
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

ParsedFile<FiberRow> ParseFiberFile(const QString& path, std::vector<double>* exact) {
  MakeRoom(path, exact);
  return ParseRows<FiberRow>(
      path, true,
      [](FiberRow& r, void** o) {
        o[0] = &r.m_fTime;
        o[1] = &r.m_fPosition;
        o[2] = &r.m_fValue1;
        o[3] = &r.m_fValue2;
      },
      [exact](const TextLine& line, FiberRow&, void** o, ScanResult& scan) {
        double values[kMaxConversions];
        scan = Scan(line, LineFormats::kFiber, o, exact != nullptr ? values : nullptr);
        return KeepExact(scan.fields == 4 && (scan.bad & LineFormats::kFiberKeys) == 0 ? 1 : 0, LineFormats::kFiber,
                         values, exact);
      });
}

ParsedFile<FabricRow> ParseFabricFile(const QString& path, std::vector<double>* exact) {
  MakeRoom(path, exact);
  bool ninth = false;
  ParsedFile<FabricRow> parsed = ParseRows<FabricRow>(
      path, false,
      [](FabricRow& r, void** o) {
        o[0] = &r.m_fTime;
        o[1] = &r.m_fPosition;
        o[2] = &r.m_nLayer;
        o[3] = &r.m_fVaporConc;
        o[4] = &r.m_fMeanVaporConc;
        o[5] = &r.m_fEvapRate;
        o[6] = &r.m_fHumidity;
        o[7] = &r.m_fTemperature;
        o[8] = &r.m_fLiquidFraction;
      },
      [&ninth, exact](const TextLine& line, FabricRow& r, void** o, ScanResult& scan) {
        if (!line.tooLong && line.CStringShorterThan(9)) {
          return -1;
        }
        r.m_fLiquidFraction = 0;
        double values[kMaxConversions];
        scan = Scan(line, LineFormats::kFabric, o, exact != nullptr ? values : nullptr);
        if (scan.fields < 8 || (scan.bad & LineFormats::kFabricKeys) != 0) {
          return 0;
        }
        ninth = ninth || scan.fields == 9;
        KeepExact(1, LineFormats::kFabric, values, exact);
        if (exact != nullptr && scan.fields == 8) {
          exact->back() = 0;  // as the row holds it: a line without the ninth value
        }
        return 1;
      });
  parsed.ninthColumn = ninth;
  return parsed;
}

ParsedFile<BodyPropertyRow> ParseBodyFile(const QString& path, std::vector<double>* exact) {
  MakeRoom(path, exact);
  return ParseRows<BodyPropertyRow>(
      path, false,
      [](BodyPropertyRow& r, void** o) {
        o[0] = &r.m_fTime;
        o[1] = &r.m_nPart;
        o[2] = &r.m_fSkinTemp;
        o[3] = &r.m_fCoreTemp;
        o[4] = &r.m_fMetabolism;
        o[5] = &r.m_fSkinHumidity;
        o[6] = &r.m_fBloodFlow;
        o[7] = &r.m_fSweatRate;
        o[8] = &r.m_fSweatAccum;
        o[9] = &r.m_fEvapHeat;
        o[10] = &r.m_fSkinPressure;
      },
      [exact](const TextLine& line, BodyPropertyRow&, void** o, ScanResult& scan) {
        double values[kMaxConversions];
        scan = Scan(line, LineFormats::kBody, o, exact != nullptr ? values : nullptr);
        return KeepExact(scan.fields == 11 && (scan.bad & LineFormats::kBodyKeys) == 0 ? 1 : 0, LineFormats::kBody,
                         values, exact);
      });
}

ParsedComfort ParseComfortFile(const QString& path, std::vector<double>* exact) {
  MakeRoom(path, exact);
  struct Tagged {
    ComfortRow row;
    int part;
  };
  ParsedFile<Tagged> tagged = ParseRows<Tagged>(
      path, false,
      [](Tagged& t, void** o) {
        o[0] = &t.row.m_fTime;
        o[1] = &t.part;
        o[2] = &t.row.m_fThermal;
        o[3] = &t.row.m_fDampness;
        o[4] = &t.row.m_fComfort;
      },
      [exact](const TextLine& line, Tagged& t, void** o, ScanResult& scan) {
        double values[kMaxConversions];
        scan = Scan(line, LineFormats::kComfort, o, exact != nullptr ? values : nullptr);
        if (scan.fields != 5 || (scan.bad & LineFormats::kComfortKeys) != 0) {
          return 0;
        }
        return KeepExact(t.part >= 0 && t.part < kBodyPartCount ? 1 : -1, LineFormats::kComfort, values, exact);
      });
  ParsedComfort out;
  out.opened = tagged.opened;
  out.tooBig = tagged.tooBig;
  out.empty = tagged.empty;
  out.unreadable = tagged.unreadable;
  out.lines = std::move(tagged.lines);
  out.badNumbers = std::move(tagged.badNumbers);
  try {
    out.partOf.reserve(tagged.rows.size());
    for (const Tagged& t : tagged.rows) {
      out.parts[t.part].push_back(t.row);
      out.partOf.push_back(static_cast<std::uint8_t>(t.part));
    }
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
    for (std::size_t i; (i = next.fetch_add(1)) < tasks.size();) {
      tasks[i]();
    }
  };
  std::vector<std::thread> helpers;
  const std::size_t extra =
      std::min<std::size_t>(threads > 1 ? threads - 1 : 0, tasks.size() > 1 ? tasks.size() - 1 : 0);
  for (std::size_t i = 0; i < extra; ++i) {
    helpers.emplace_back(work);
  }
  work();
  for (std::thread& t : helpers) {
    t.join();
  }
}
