// Reading a run folder into the store. The big tables are parsed ahead on
// several threads; their rows are then applied one file after the other in
// the fixed order, so derived values and messages are as if read in turn.

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>
#include <thread>

#include "ExactFields.h"
#include "IdFile.h"
#include "LineReader.h"
#include "SimulationData.h"
#include "TableFiles.h"
#include "internal/CharClass.h"
#include "internal/ExactPlacement.h"
#include "internal/LineFormats.h"
#include "internal/Prefetched.h"
#include "internal/RowGrid.h"

namespace {

void Widen(float value, float& lo, float& hi) {
  if (value > hi) {
    hi = value;
  }
  if (value < lo) {
    lo = value;
  }
}

// "Selected model:%d": the blank matches any run of white space (none
// included); a number beyond the range of int is no number.
bool ReadSelectedModel(std::string_view s, int& model) {
  std::size_t p = 0;
  for (const char c : std::string_view("Selected model:")) {
    if (c == ' ') {
      while (p < s.size() && IsCSpace(s[p])) {
        ++p;
      }
    } else if (p < s.size() && s[p] == c) {
      ++p;
    } else {
      return false;
    }
  }
  void* out[1] = {&model};
  const ScanResult r = ScanLine(s.data() + p, s.data() + s.size(), LineFormats::kSelectedModelNumber, out);
  return r.fields == 1 && r.bad == 0;
}

// A file parsed ahead, or parsed now; with `exact`, its values at full
// precision land there too.
template <class T>
T Take(std::map<QString, T>& ahead, std::map<QString, std::vector<double>>& values, const QString& key,
       T (*parse)(const QString&, std::vector<double>*), const QString& path, std::vector<double>* exact) {
  auto it = ahead.find(key);
  if (it == ahead.end()) {
    return parse(path, exact);
  }
  T result = std::move(it->second);
  ahead.erase(it);
  if (auto v = values.find(key); v != values.end()) {
    if (exact != nullptr) {
      *exact = std::move(v->second);
    }
    values.erase(v);
  }
  return result;
}

// The parsers as the loader calls them: the values at full precision
// (ExactTables.h) land in `exact` when it is given.
ParsedFile<FiberRow> ParseFiber(const QString& path, std::vector<double>* exact) { return ParseFiberFile(path, exact); }
ParsedFile<BodyPropertyRow> ParseBody(const QString& path, std::vector<double>* exact) {
  return ParseBodyFile(path, exact);
}
ParsedComfort ParseComfort(const QString& path, std::vector<double>* exact) { return ParseComfortFile(path, exact); }

}  // namespace

PlacedFabric ParseAndPlaceFabric(const QString& path, std::vector<double>* exact) {
  PlacedFabric placed;
  placed.parsed = ParseFabricFile(path, exact);
  if (placed.parsed.opened) {
    // Each row stands where its time, layer and position put it.
    placed.layout = PlaceFabricRows(placed.parsed.rows, placed.parsed.lines, exact ? &placed.from : nullptr);
    // The humidity scale of the 3D views is in fractions; the file's percent
    // stays in the row, as the charts and exports show it.
    for (const FabricRow& row : placed.parsed.rows) {
      Widen(row.m_fHumidity / 100, placed.humidityMin, placed.humidityMax);
    }
  }
  return placed;
}

CSimulationData::~CSimulationData() = default;

void CSimulationData::Prefetch(const QStringList& fiberFiles, LoadScope scope) {
  auto ahead = std::make_unique<Prefetched>();
  struct Job {
    qint64 size;
    std::function<void()> run;
  };
  std::vector<Job> jobs;
  auto add = [&](auto& table, const QString& name, auto parse) {
    auto& slot = table[name];
    std::vector<double>* exact = m_bReadExact ? &ahead->values[name] : nullptr;
    const QString path = PathOf(name);
    jobs.push_back({QFileInfo(path).size(), [&slot, path, parse, exact] { slot = parse(path, exact); }});
  };
  for (const QString& name : fiberFiles) {
    add(ahead->fibers, name, ParseFiber);
  }
  for (int p = 0; p < kBodyPartCount && scope == LoadScope::Whole; ++p) {
    if (m_run.m_env[0].IsClothed(p)) {
      add(ahead->fabrics, m_run.m_fabricFileNames[p], ParseAndPlaceFabric);
    }
  }
  add(ahead->bodies, QStringLiteral("bodyProperty.dat"), ParseBody);
  add(ahead->comforts, QStringLiteral("BodyDataforComfort.dat"), ParseComfort);
  // Biggest first, so the threads finish together.
  std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.size > b.size; });
  std::vector<std::function<void()>> tasks;
  tasks.reserve(jobs.size());
  for (Job& j : jobs) {
    tasks.push_back(std::move(j.run));
  }
  const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  RunTasks(tasks, cores);
  m_pPrefetched = std::move(ahead);
}

bool CSimulationData::Load(const QString& dir, LoadScope scope) {
  Reset();
  m_run.m_strDataDir = dir;
  if (!m_run.m_strDataDir.isEmpty() && !m_run.m_strDataDir.endsWith(QLatin1Char('/'))) {
    m_run.m_strDataDir += QLatin1Char('/');
  }

  if (!LoadEnvironment()) {
    return false;
  }

  const QStringList fibers =
      scope != LoadScope::BodyAndComfort
          ? QDir(m_run.m_strDataDir).entryList({QStringLiteral("Fiber*.dat")}, QDir::Files, QDir::Name)
          : QStringList();
  Prefetch(fibers, scope);
  struct Release {
    std::unique_ptr<Prefetched>& p;
    ~Release() { p.reset(); }
  } release{m_pPrefetched};

  for (const QString& name : fibers) {
    if (!LoadFiberFile(name)) {
      Report(QStringLiteral("Error"), name + QString::fromLatin1(LoadMessages::kFiberSuffix));
    }
  }

  if (scope == LoadScope::Whole) {
    LoadFabrics();
  }

  if (!LoadBodyProperties(QStringLiteral("bodyProperty.dat"))) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoBody));
    return false;
  }
  if (!LoadComfort()) {
    return false;
  }
  LoadIds();

  m_run.m_bLoaded = true;
  m_pExact = std::make_unique<CExactTables>(m_run, m_pSink);
  if (m_pReadAhead) {
    m_pExact->Adopt(std::move(*m_pReadAhead));
    m_pReadAhead.reset();
  }
  ++m_nGeneration;
  return true;
}

bool CSimulationData::LoadEnvironment() {
  const QString noData = QString::fromLatin1(LoadMessages::kNoEnvironment);
  CLineReader reader;
  if (!reader.Open(PathOf(QStringLiteral("configure.dat")))) {
    Report(QStringLiteral("Error"), noData);
    return false;
  }
  TextLine line{};
  std::uint64_t lineNo = 1;
  if (reader.Next(line) && !line.tooLong) {
    lineNo += line.hasBreak ? 1 : 0;
    int model = 0;
    if (ReadSelectedModel(std::string_view(line.text, line.length), model)) {
      m_run.m_nSelectedModel = model;
    }
  }
  m_run.m_nEnvPhases = 0;
  int unreadable = 0;
  bool tooMany = false;
  float v[13];
  void* outs[13];
  for (int i = 0; i < 13; ++i) {
    outs[i] = &v[i];
  }
  CBadNumbers badNumbers;
  std::vector<double> environment;  // at full precision, when asked for
  while (reader.Next(line)) {
    const std::uint64_t here = lineNo;
    lineNo += line.hasBreak ? 1 : 0;
    const ScanResult r =
        line.tooLong ? ScanResult{} : ScanLine(line.text, line.text + line.length, LineFormats::kEnvironment, outs);
    const bool phase = r.fields == 13 && (r.bad & LineFormats::kEnvironmentKeys) == 0;
    // A header or a line of words is an unreadable line, not a number.
    if (r.bad != 0 && r.fields > std::popcount(r.bad)) {
      badNumbers.Add(here, line.text, line.length, r.bad, !phase);
    }
    if (!phase) {
      ++unreadable;
      continue;
    }
    if (m_run.m_nEnvPhases >= kMaxEnvPhases) {
      tooMany = true;
      continue;
    }
    if (m_pReadAhead) {
      AppendExactFields(line.text, line.text + line.length, LineFormats::kEnvironment, r, environment);
    }
    EnvironmentPhase& e = m_run.m_env[static_cast<std::size_t>(m_run.m_nEnvPhases)];
    e.m_fTemperature = v[1];
    e.m_fHumidity = v[2];
    e.m_fColumn4 = v[3];
    for (int p = 0; p < kBodyPartCount; ++p) {
      e.m_fClothed[p] = v[4 + p];
    }
    e.m_fStart = v[10];
    e.m_fColumn12 = v[11];
    e.m_fColumn13 = v[12];
    Widen(e.m_fTemperature, m_run.m_fTempMin, m_run.m_fTempMax);
    ++m_run.m_nEnvPhases;
  }
  if (!badNumbers.Empty()) {
    Report(QStringLiteral("Environment Data"), badNumbers.Text(QStringLiteral("configure.dat")), MessageIcon::Warning);
  }
  if (m_run.m_nEnvPhases == 0) {
    m_run.m_env[0].m_fStart = m_run.m_env[0].m_fTemperature = m_run.m_env[0].m_fHumidity = 0;
    Report(QStringLiteral("Error"), noData);
    return false;
  }
  if (unreadable > 2) {
    ReportUnreadable("Environment Data");
  }
  if (tooMany) {
    Report(QStringLiteral("Environment Data"), QString::fromLatin1(LoadMessages::kTooManyPhases), MessageIcon::Warning);
  }
  if (m_pReadAhead) {
    m_pReadAhead->environment = EnvironmentValues(std::move(environment), static_cast<std::size_t>(m_run.m_nEnvPhases));
    m_pReadAhead->environmentRead = true;
  }
  float start = 0;
  for (int i = 0; i < m_run.m_nEnvPhases; ++i) {
    const float duration = m_run.m_env[static_cast<std::size_t>(i)].m_fStart;
    m_run.m_env[static_cast<std::size_t>(i)].m_fStart = start;
    start += duration;
  }
  return true;
}

bool CSimulationData::LoadFiberFile(const QString& name) {
  std::vector<double> values;
  std::vector<double>* exact = m_pReadAhead ? &values : nullptr;
  ParsedFile<FiberRow> parsed =
      m_pPrefetched ? Take(m_pPrefetched->fibers, m_pPrefetched->values, name, ParseFiber, PathOf(name), exact)
                    : ParseFiberFile(PathOf(name), exact);
  if (!parsed.opened) {
    return false;
  }
  if (!parsed.badNumbers.Empty()) {
    Report(QStringLiteral("Fiber Data"), parsed.badNumbers.Text(name), MessageIcon::Warning);
  }
  if (parsed.unreadable > 2) {
    ReportUnreadable("Fiber Data");
  }
  if (parsed.rows.empty()) {
    return false;
  }
  if (m_pReadAhead) {
    m_pReadAhead->fibers.push_back(FiberValues(std::move(values), parsed.rows.size()));
  }
  m_run.m_fibers.push_back({name, std::move(parsed.rows)});
  return true;
}

bool CSimulationData::LoadFabrics() {
  bool allRead = true;
  int unreadable = 0;
  bool intervalPending = true;
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (m_run.m_env[0].IsClothed(p)) {
      const QString& name = m_run.m_fabricFileNames[p];
      std::vector<double> values;
      std::vector<double>* exact = m_pReadAhead ? &values : nullptr;
      PlacedFabric placed = m_pPrefetched ? Take(m_pPrefetched->fabrics, m_pPrefetched->values, name,
                                                 ParseAndPlaceFabric, PathOf(name), exact)
                                          : ParseAndPlaceFabric(PathOf(name), exact);
      ParsedFile<FabricRow>& parsed = placed.parsed;
      if (!parsed.opened) {
        // Said, and the later parts still read: a file that cannot be read
        // loses that part's fabric alone.
        Report(QStringLiteral("Fabric Data"), name + QString::fromLatin1(LoadMessages::kCannotRead));
        allRead = false;
        if (unreadable > 2) {
          ReportUnreadable("Fabric Data");
        }
        continue;
      }
      // A clothed part's file without a row, empty or not, is said: an empty
      // one loaded as a fabric of no rows without a word, and a compared run
      // lost the part from its exports unseen.
      if (parsed.rows.empty()) {
        Report(QStringLiteral("Fabric Data"), name + QString::fromLatin1(LoadMessages::kFiberSuffix));
      }
      // What placing the rows found missing or left over is said here, and
      // an unreadable line that left a hole counts no more among those that
      // leave none.
      const FabricLayout& layout = placed.layout;
      unreadable += parsed.unreadable - static_cast<int>(std::min<std::uint64_t>(
                                            layout.report.causedLines, static_cast<std::uint64_t>(parsed.unreadable)));
      if (!parsed.badNumbers.Empty()) {
        Report(QStringLiteral("Fabric Data"), parsed.badNumbers.Text(name), MessageIcon::Warning);
      }
      if (!layout.report.Empty()) {
        Report(QStringLiteral("Fabric Data"), layout.report.Text(name), MessageIcon::Warning);
      }
      if (intervalPending && layout.hasInterval) {
        m_run.m_fFabricInterval = layout.interval;
        intervalPending = false;
      }
      if (placed.humidityMin <= placed.humidityMax) {
        Widen(placed.humidityMin, m_run.m_fHumidityMin, m_run.m_fHumidityMax);
        Widen(placed.humidityMax, m_run.m_fHumidityMin, m_run.m_fHumidityMax);
      }
      if (m_pReadAhead) {
        m_pReadAhead->fabric[p] = PlacedFabricValues(std::move(values), placed.from, parsed.rows);
        m_pReadAhead->fabricRead[p] = true;
      }
      m_run.m_fabric[p] = std::move(parsed.rows);
      m_run.m_nFabricHoles[p] = layout.report.holeCells;
      m_run.m_bLiquidFraction[p] = parsed.ninthColumn;
      m_run.m_nNodesPerLayer[p] = layout.nodes;
      m_run.m_nLayers[p] = layout.layers;
    }
    if (unreadable > 2) {
      ReportUnreadable("Fabric Data");
    }
  }
  return allRead;
}

bool CSimulationData::LoadBodyProperties(const QString& name) {
  std::vector<double> values;
  std::vector<double>* exact = m_pReadAhead ? &values : nullptr;
  ParsedFile<BodyPropertyRow> parsed =
      m_pPrefetched ? Take(m_pPrefetched->bodies, m_pPrefetched->values, name, ParseBody, PathOf(name), exact)
                    : ParseBodyFile(PathOf(name), exact);
  if (!parsed.opened) {
    return false;
  }
  if (!parsed.badNumbers.Empty()) {
    Report(QStringLiteral("BodyProperty Data"), parsed.badNumbers.Text(name), MessageIcon::Warning);
  }
  m_run.m_body = std::move(parsed.rows);
  // Less than one whole sample (six rows, Head ... Foot) is no body data.
  const bool enough = m_run.m_body.size() >= static_cast<std::size_t>(kBodyPartCount);
  BodyLayout layout;
  if (enough) {
    // Each row stands where its time and part put it; ranges come from the
    // rows kept, so that a row left out stretches no scale.
    PlacedFrom from;
    layout = PlaceBodyRows(m_run.m_body, parsed.lines, exact ? &from : nullptr);
    if (m_pReadAhead) {
      m_pReadAhead->body = PlacedBodyValues(std::move(values), from, m_run.m_body);
      m_pReadAhead->bodyRead = true;
    }
    if (!layout.report.Empty()) {
      Report(QStringLiteral("BodyProperty Data"), layout.report.Text(name), MessageIcon::Warning);
    }
  }
  for (const BodyPropertyRow& row : m_run.m_body) {
    Widen(row.m_fSkinTemp, m_run.m_fTempMin, m_run.m_fTempMax);
    Widen(row.m_fCoreTemp, m_run.m_fTempMin, m_run.m_fTempMax);
    Widen(row.m_fSkinHumidity / 100, m_run.m_fHumidityMin, m_run.m_fHumidityMax);
    Widen(row.m_fSweatRate, m_run.m_fSweatMin, m_run.m_fSweatMax);
  }
  if (parsed.unreadable - static_cast<std::int64_t>(layout.report.causedLines) > 2) {
    ReportUnreadable("BodyProperty Data");
  }
  // Rows that all fit no place (or less than a sample's worth of them) are
  // no body data either.
  if (!enough || layout.samples < 1) {
    return false;
  }
  for (int i = 0; i < m_run.m_nEnvPhases && i < kMaxEnvPhases; ++i) {
    Widen(m_run.m_env[static_cast<std::size_t>(i)].m_fHumidity, m_run.m_fHumidityMin, m_run.m_fHumidityMax);
  }
  m_run.m_nSamples = layout.samples;
  m_run.m_fSampleInterval = layout.interval;
  m_run.m_nBodyHoles = layout.report.holeCells;
  return true;
}

bool CSimulationData::LoadComfort() {
  const QString name = QStringLiteral("BodyDataforComfort.dat");
  std::vector<double> values;
  std::vector<double>* exact = m_pReadAhead ? &values : nullptr;
  ParsedComfort parsed =
      m_pPrefetched ? Take(m_pPrefetched->comforts, m_pPrefetched->values, name, ParseComfort, PathOf(name), exact)
                    : ParseComfortFile(PathOf(name), exact);
  if (!parsed.opened) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoComfort));
    return false;
  }
  if (!parsed.badNumbers.Empty()) {
    Report(QStringLiteral("BodyDataforComfort Data"), parsed.badNumbers.Text(name), MessageIcon::Warning);
  }
  // Each part's series by its times: a missing time is a row of no values.
  PlacedFrom from[kBodyPartCount];
  const GridReport report = PlaceComfortRows(parsed.parts, parsed.lines, parsed.partOf, exact ? &from : nullptr);
  if (m_pReadAhead) {
    PlacedComfortValues(std::move(values), parsed.partOf, from, parsed.parts, m_pReadAhead->comfort);
    m_pReadAhead->comfortRead = true;
  }
  if (!report.Empty()) {
    Report(QStringLiteral("BodyDataforComfort Data"), report.Text(name), MessageIcon::Warning);
  }
  bool anyRow = false;
  for (int p = 0; p < kBodyPartCount; ++p) {
    anyRow = anyRow || !parsed.parts[p].empty();
    m_run.m_comfort[p] = std::move(parsed.parts[p]);
    m_run.m_nComfortHoles[p] = report.partHoles[p];
  }
  // A file with lines but no row is said, however few its lines are.
  if (parsed.unreadable - static_cast<std::int64_t>(report.causedLines) > 2 || (!parsed.empty && !anyRow)) {
    ReportUnreadable("BodyDataforComfort Data");
  }
  return true;
}

void CSimulationData::LoadIds() {
  std::string text;
  if (!ReadWholeFile(PathOf(QStringLiteral("id.dat")), text)) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoIds));
    return;
  }
  IdFileContent ids = ParseIdFile(text);
  if (!text.empty() && !ids.hasModelId) {
    Report(QStringLiteral("Error"), QString::fromLatin1(LoadMessages::kNoIds));
  }
  if (ids.hasModelId) {
    m_run.m_strModelId = ids.modelId;
  }
  m_run.m_garmentIds += ids.garmentIds;
}
