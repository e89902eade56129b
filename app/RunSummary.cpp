#include "RunSummary.h"

#include <QJsonArray>
#include <QTextStream>
#include <charconv>
#include <cmath>

#include "SimulationData.h"

namespace {

// A float as the shortest decimal that reads back to it, so 0.65f prints as
// 0.65 and not as its double expansion. A value the files did not give (a
// field that held no number leaves NaN) is null: the files' numbers are all
// finite, and JSON has no number for anything else.
QJsonValue Num(float f) {
  if (!std::isfinite(f)) {
    return QJsonValue(QJsonValue::Null);
  }
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, f);
  return QByteArray(buf, static_cast<qsizetype>(r.ptr - buf)).toDouble();
}

template <class T, class F>
QJsonArray PerPart(const T& values, F convert) {
  QJsonArray a;
  for (int p = 0; p < kBodyPartCount; ++p) {
    a.append(convert(values[p]));
  }
  return a;
}

QJsonArray Range(float lo, float hi) { return QJsonArray{Num(lo), Num(hi)}; }

// A value as text: numbers as numbers, words (ids) as they are, and "none"
// for a value the files did not give.
QString Text(const QJsonValue& v) {
  if (v.isNull()) {
    return QStringLiteral("none");
  }
  return v.isString() ? v.toString() : QString::number(v.toDouble());
}

QString Join(const QJsonArray& a) {
  QStringList parts;
  for (const auto& v : a) {
    parts << Text(v);
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

QJsonObject BuildRunSummary(const CSimulationData& d, bool loaded,
                            const std::vector<CRecordingMessageSink::Entry>& messages) {
  QJsonObject o;
  o[QStringLiteral("loaded")] = loaded;
  o[QStringLiteral("selectedModel")] = d.Run().m_nSelectedModel;
  QJsonArray phases;
  for (int i = 0; i < d.Run().m_nEnvPhases && i < kMaxEnvPhases; ++i) {
    const EnvironmentPhase& e = d.Run().m_env[static_cast<std::size_t>(i)];
    QJsonObject ph;
    ph[QStringLiteral("start")] = Num(e.m_fStart);
    ph[QStringLiteral("temperature")] = Num(e.m_fTemperature);
    ph[QStringLiteral("humidity")] = Num(e.m_fHumidity);
    ph[QStringLiteral("clothed")] = PerPart(e.m_fClothed, Num);
    phases.append(ph);
  }
  o[QStringLiteral("phases")] = phases;
  o[QStringLiteral("samples")] = d.Run().m_nSamples;
  o[QStringLiteral("sampleInterval")] = Num(d.Run().m_fSampleInterval);
  o[QStringLiteral("fabricInterval")] = Num(d.Run().m_fFabricInterval);
  auto asInt = [](int v) { return QJsonValue(v); };
  o[QStringLiteral("layers")] = PerPart(d.Run().m_nLayers, asInt);
  o[QStringLiteral("nodesPerLayer")] = PerPart(d.Run().m_nNodesPerLayer, asInt);
  // Rows read, not the places the tables hold: a hole is no row of the file.
  const RunTables& run = d.Run();
  QJsonArray fabricRows, comfortRows, fabricHoles, comfortHoles;
  for (int p = 0; p < kBodyPartCount; ++p) {
    fabricRows.append(static_cast<qint64>(run.m_fabric[p].size() - run.m_nFabricHoles[p]));
    fabricHoles.append(static_cast<qint64>(run.m_nFabricHoles[p]));
    comfortRows.append(static_cast<qint64>(run.m_comfort[p].size() - run.m_nComfortHoles[p]));
    comfortHoles.append(static_cast<qint64>(run.m_nComfortHoles[p]));
  }
  o[QStringLiteral("fabricRows")] = fabricRows;
  o[QStringLiteral("fabricHoles")] = fabricHoles;
  o[QStringLiteral("bodyRows")] = static_cast<qint64>(run.m_body.size() - run.m_nBodyHoles);
  o[QStringLiteral("bodyHoles")] = static_cast<qint64>(run.m_nBodyHoles);
  o[QStringLiteral("comfortRows")] = comfortRows;
  o[QStringLiteral("comfortHoles")] = comfortHoles;
  QJsonArray fibers;
  for (const FiberTable& f : d.Run().m_fibers) {
    fibers.append(QJsonObject{{QStringLiteral("name"), f.m_strName},
                              {QStringLiteral("rows"), static_cast<qint64>(f.m_rows.size())}});
  }
  o[QStringLiteral("fibers")] = fibers;
  o[QStringLiteral("ranges")] =
      QJsonObject{{QStringLiteral("temperature"), Range(d.Run().m_fTempMin, d.Run().m_fTempMax)},
                  {QStringLiteral("humidity"), Range(d.Run().m_fHumidityMin, d.Run().m_fHumidityMax)},
                  {QStringLiteral("sweat"), Range(d.Run().m_fSweatMin, d.Run().m_fSweatMax)}};
  QJsonArray scale;
  for (float t : d.Colours().m_fScale) {
    scale.append(Num(t));
  }
  o[QStringLiteral("scale")] = scale;
  o[QStringLiteral("modelId")] = d.Run().m_strModelId;
  o[QStringLiteral("garmentIds")] = QJsonArray::fromStringList(d.Run().m_garmentIds);
  QJsonArray msgs;
  for (const auto& m : messages) {
    msgs.append(QJsonObject{{QStringLiteral("caption"), m.caption}, {QStringLiteral("text"), m.text}});
  }
  o[QStringLiteral("messages")] = msgs;
  return o;
}

QString FormatRunSummary(const QJsonObject& o) {
  QString out;
  QTextStream s(&out);
  s << "Run " << (o[QStringLiteral("loaded")].toBool() ? "loaded" : "NOT loaded") << "\n";
  s << "Selected model  " << o[QStringLiteral("selectedModel")].toInt() << "\n";
  s << "Model id        " << o[QStringLiteral("modelId")].toString() << "\n";
  s << "Garment ids     " << Join(o[QStringLiteral("garmentIds")].toArray()) << "\n";
  s << "Samples         " << o[QStringLiteral("samples")].toInt() << " every "
    << Text(o[QStringLiteral("sampleInterval")]) << " min; fabric every " << Text(o[QStringLiteral("fabricInterval")])
    << " min\n\n";

  s << "Phase  Start(min)  Temp   Humidity  Clothed (Head..Foot)\n";
  int i = 0;
  for (const auto& v : o[QStringLiteral("phases")].toArray()) {
    const QJsonObject ph = v.toObject();
    s << qSetFieldWidth(5) << Qt::right << i++ << qSetFieldWidth(0) << "  " << qSetFieldWidth(10)
      << Text(ph[QStringLiteral("start")]) << qSetFieldWidth(0) << "  " << qSetFieldWidth(5)
      << Text(ph[QStringLiteral("temperature")]) << qSetFieldWidth(0) << "  " << qSetFieldWidth(8)
      << Text(ph[QStringLiteral("humidity")]) << qSetFieldWidth(0) << "  "
      << Join(ph[QStringLiteral("clothed")].toArray()) << "\n";
  }
  s << "\nPart    Layers  Nodes  FabricRows  ComfortRows\n";
  const QJsonArray layers = o[QStringLiteral("layers")].toArray(), nodes = o[QStringLiteral("nodesPerLayer")].toArray(),
                   fabric = o[QStringLiteral("fabricRows")].toArray(),
                   comfort = o[QStringLiteral("comfortRows")].toArray();
  for (int p = 0; p < kBodyPartCount; ++p) {
    s << Qt::left << qSetFieldWidth(6) << kBodyPartNames[p] << qSetFieldWidth(0) << Qt::right << "  "
      << qSetFieldWidth(6) << layers[p].toInt() << qSetFieldWidth(0) << "  " << qSetFieldWidth(5) << nodes[p].toInt()
      << qSetFieldWidth(0) << "  " << qSetFieldWidth(10) << fabric[p].toInteger() << qSetFieldWidth(0) << "  "
      << qSetFieldWidth(11) << comfort[p].toInteger() << qSetFieldWidth(0) << "\n";
  }
  s << "\nBody rows       " << o[QStringLiteral("bodyRows")].toInteger() << "\n";
  for (const auto& v : o[QStringLiteral("fibers")].toArray()) {
    s << "Fibre file      " << v[QStringLiteral("name")].toString() << " (" << v[QStringLiteral("rows")].toInteger()
      << " rows)\n";
  }
  const QJsonObject ranges = o[QStringLiteral("ranges")].toObject();
  s << "Temperature     " << Join(ranges[QStringLiteral("temperature")].toArray()) << "\n";
  s << "Humidity        " << Join(ranges[QStringLiteral("humidity")].toArray()) << "\n";
  s << "Sweating rate   " << Join(ranges[QStringLiteral("sweat")].toArray()) << "\n";
  s << "Colour scale    " << Join(o[QStringLiteral("scale")].toArray()) << "\n";
  const QJsonArray msgs = o[QStringLiteral("messages")].toArray();
  if (!msgs.isEmpty()) {
    s << "\nMessages:\n";
    for (const auto& v : msgs) {
      s << "  [" << v[QStringLiteral("caption")].toString() << "] " << v[QStringLiteral("text")].toString() << "\n";
    }
  }
  return out;
}
