#include "Probe.h"

#include <charconv>
#include <cmath>

#include "ExactFields.h"
#include "SimulationData.h"

namespace {
enum class Where { Core, Skin, Layer };

// The column of the run's full-precision tables (ExactTables.h) that holds
// what ShownValue takes at `where`; -1 for a value the run has none of.
int ExactColumnOf(int content, Where where) {
  if (where == Where::Layer) {
    return content == ContentTemperature ? ExactColumn::kFabricFirstValue + 4
           : content == ContentHumidity  ? ExactColumn::kFabricFirstValue + 3
                                         : -1;
  }
  switch (content) {
    case ContentTemperature:
      return ExactColumn::kBodyFirstValue + (where == Where::Core ? 1 : 0);
    case ContentHumidity:
      return where == Where::Core ? -1 : ExactColumn::kBodyFirstValue + 3;
    default:
      return where == Where::Core ? -1 : ExactColumn::kBodyFirstValue + 5;
  }
}

// Row `row`'s value in column `column` of `table` when the table holds the
// store's rows (it was read, and the file had not changed), else the
// store's own float.
QString FileValue(const CExactTable* table, std::size_t rows, std::size_t row, int column, float stored) {
  char buf[32];
  if (table == nullptr || table->Rows() != rows || row >= rows || column < 0) {
    if (std::isnan(stored)) {
      return QString();
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, stored);
    return QString::fromLatin1(buf, r.ptr - buf);
  }
  return QString::fromLatin1(buf, static_cast<qsizetype>(ShortestDouble(table->At(row, column), buf, sizeof buf)));
}

// The shown quantity's value at `where` from the body row or the fabric row
// (either may be missing), NaN where the run holds none: a core has a
// temperature alone, the sweating rate is the skin's alone.
float ShownValue(int content, Where where, const BodyPropertyRow* body, const FabricRow* fabric) {
  const float none = std::nanf("");
  if (where == Where::Layer) {
    if (!fabric || content == ContentSweatRate) {
      return none;
    }
    return content == ContentTemperature ? fabric->m_fTemperature : fabric->m_fHumidity;
  }
  if (!body) {
    return none;
  }
  switch (content) {
    case ContentTemperature:
      return where == Where::Core ? body->m_fCoreTemp : body->m_fSkinTemp;
    case ContentHumidity:  // relative humidity in percent, as the files hold it
      return where == Where::Core ? none : body->m_fSkinHumidity;
    default:
      return where == Where::Core ? none : body->m_fSweatRate;
  }
}

// The value with the quantity's unit, or `missing`.
QString Format(float v, int content, const QString& missing) {
  if (std::isnan(v)) {
    return missing;
  }
  const char* unit = content == ContentTemperature ? " \u00b0C" : content == ContentHumidity ? " %" : " SWR";
  return QString::number(static_cast<double>(v), 'f', 2) + QString::fromUtf8(unit);
}

const char* QuantityName(int content) {
  switch (content) {
    case ContentTemperature:
      return "Temperature";
    case ContentHumidity:
      return "Humidity";
    default:
      return "Sweating Rate";
  }
}
}  // namespace

std::vector<ProbeRow> ProbeRows(const CSimulationData& d, int part) {
  std::vector<ProbeRow> rows;
  if (part < 0 || part >= kBodyPartCount) {
    return rows;
  }
  const int content = d.State().Content();
  const QString noData = QStringLiteral("no data");
  const BodyPropertyRow* body = d.BodyRowAt(part);
  rows.push_back({QStringLiteral("Core"), Format(ShownValue(content, Where::Core, body, nullptr), content, noData)});
  rows.push_back({QStringLiteral("Skin"), Format(ShownValue(content, Where::Skin, body, nullptr), content, noData)});
  for (int l = 1; l <= d.Run().m_nLayers[part]; ++l) {
    const float v = ShownValue(content, Where::Layer, nullptr, d.LayerRowAt(part, l));
    rows.push_back({QStringLiteral("Layer %1").arg(l), Format(v, content, noData)});
  }
  return rows;
}

QString ProbeTitle(const CSimulationData& d, int part) {
  if (part < 0 || part >= kBodyPartCount) {
    return {};
  }
  return QStringLiteral("%1: %2").arg(QLatin1String(kBodyPartNames[part]),
                                      QLatin1String(QuantityName(d.State().Content())));
}

QString ProbeTsv(const CSimulationData& d, int part) {
  if (part < 0 || part >= kBodyPartCount) {
    return {};
  }
  const int content = d.State().Content();
  const char* unit = content == ContentTemperature ? "\u00b0C" : content == ContentHumidity ? "%" : "SWR";
  QString text = QStringLiteral("Time(min)\tPart\tPlace\t%1(%2)\n")
                     .arg(QLatin1String(QuantityName(content)), QString::fromUtf8(unit));
  // Numbers a spreadsheet reads: each as its file wrote it (the shortest
  // text that reads back to the file's decimal), its unit in the header; an
  // empty cell where the run holds none.
  const RunTables& run = d.Run();
  const CExactTables* exact = d.Exact();
  const BodyPropertyRow* body = d.BodyRowAt(part);
  const std::size_t bodyRow = body ? static_cast<std::size_t>(body - run.m_body.data()) : 0;
  const CExactTable* bodyTable = exact != nullptr && body != nullptr ? exact->Body() : nullptr;
  const QString time =
      body ? FileValue(bodyTable, run.m_body.size(), bodyRow, ExactColumn::kBodyTime, body->m_fTime) : QString();
  const QString name = QLatin1String(kBodyPartNames[part]);
  auto row = [&](const QString& place, const QString& value) {
    text += time + QLatin1Char('\t') + name + QLatin1Char('\t') + place + QLatin1Char('\t') + value + QLatin1Char('\n');
  };
  for (const Where where : {Where::Core, Where::Skin}) {
    const float v = ShownValue(content, where, body, nullptr);
    row(where == Where::Core ? QStringLiteral("Core") : QStringLiteral("Skin"),
        std::isnan(v) ? QString() : FileValue(bodyTable, run.m_body.size(), bodyRow, ExactColumnOf(content, where), v));
  }
  const std::vector<FabricRow>& fabric = run.m_fabric[part];
  const CExactTable* fabricTable = nullptr;
  for (int l = 1; l <= run.m_nLayers[part]; ++l) {
    const FabricRow* layer = d.LayerRowAt(part, l);
    const float v = ShownValue(content, Where::Layer, nullptr, layer);
    if (!std::isnan(v) && fabricTable == nullptr && exact != nullptr) {
      fabricTable = exact->Fabric(part);
    }
    row(QStringLiteral("Layer %1").arg(l),
        std::isnan(v) ? QString()
                      : FileValue(fabricTable, fabric.size(), static_cast<std::size_t>(layer - fabric.data()),
                                  ExactColumnOf(content, Where::Layer), v));
  }
  return text;
}

QString ProbeText(const CSimulationData& d, int part, int layer) {
  if (part < 0 || part >= kBodyPartCount) {
    return {};
  }
  const int content = d.State().Content();
  const QString noValue = QStringLiteral("no value");
  const QString skin = Format(ShownValue(content, Where::Skin, d.BodyRowAt(part), nullptr), content, noValue);
  QString text = QStringLiteral("%1: skin %2").arg(QLatin1String(kBodyPartNames[part]), skin);
  if (layer >= 1) {
    const float v = ShownValue(content, Where::Layer, nullptr, d.LayerRowAt(part, layer));
    text += QStringLiteral(", layer %1 %2").arg(layer).arg(Format(v, content, noValue));
  }
  return text;
}
