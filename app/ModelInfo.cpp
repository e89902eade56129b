#include "ModelInfo.h"

#include <QJsonArray>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <limits>

#include "BodyPartNames.h"
#include "ObjReader.h"

QJsonObject BuildModelInfo(const ObjModel& m) {
  QJsonObject o;
  o[QStringLiteral("vertices")] = static_cast<qint64>(m.vertexCount);
  o[QStringLiteral("normals")] = static_cast<qint64>(m.normalCount);
  o[QStringLiteral("texCoords")] = static_cast<qint64>(m.texCoordCount);
  o[QStringLiteral("triangles")] = static_cast<qint64>(m.triangleCount);
  QJsonArray materials;
  for (const ObjMaterial& mat : m.materials) {
    materials.append(QString::fromStdString(mat.name));
  }
  o[QStringLiteral("materials")] = materials;
  QJsonArray groups;
  bool covered[kBodyPartCount] = {};
  for (const ObjGroup& g : m.groups) {
    QJsonObject go;
    go[QStringLiteral("name")] = QString::fromStdString(g.name);
    go[QStringLiteral("triangles")] = static_cast<qint64>(g.triangleCount);
    go[QStringLiteral("material")] = g.material < m.materials.size()
                                         ? QJsonValue(QString::fromStdString(m.materials[g.material].name))
                                         : QJsonValue();
    const int part = BodyPartOfName(NormaliseGroupName(g.name, false));
    go[QStringLiteral("part")] = part >= 0 ? QJsonValue(QString::fromLatin1(kBodyPartNames[part])) : QJsonValue();
    if (part >= 0 && g.triangleCount > 0) {
      covered[part] = true;
    }
    groups.append(go);
  }
  o[QStringLiteral("groups")] = groups;
  QJsonArray missing;
  for (int p = 0; p < kBodyPartCount; ++p) {
    if (!covered[p]) {
      missing.append(QString::fromLatin1(kBodyPartNames[p]));
    }
  }
  o[QStringLiteral("missingParts")] = missing;

  float lo[3], hi[3];
  for (int i = 0; i < 3; ++i) {
    lo[i] = std::numeric_limits<float>::infinity();
    hi[i] = -lo[i];
  }
  for (std::uint32_t v = 1; v <= m.vertexCount; ++v) {
    for (int i = 0; i < 3; ++i) {
      const float x = m.vertices[3 * v + static_cast<std::uint32_t>(i)] * kModelScale;
      if (!std::isfinite(x)) {
        continue;
      }
      lo[i] = std::min(lo[i], x);
      hi[i] = std::max(hi[i], x);
    }
  }
  QJsonArray mn, mx;
  for (int i = 0; i < 3; ++i) {
    mn.append(std::isfinite(lo[i]) ? QJsonValue(static_cast<double>(lo[i])) : QJsonValue());
    mx.append(std::isfinite(hi[i]) ? QJsonValue(static_cast<double>(hi[i])) : QJsonValue());
  }
  o[QStringLiteral("bounds")] = QJsonObject{{QStringLiteral("min"), mn}, {QStringLiteral("max"), mx}};
  return o;
}

QString FormatModelInfo(const QJsonObject& o) {
  QString out;
  QTextStream s(&out);
  s << "Vertices    " << o[QStringLiteral("vertices")].toInteger() << "\n";
  s << "Normals     " << o[QStringLiteral("normals")].toInteger() << "\n";
  s << "TexCoords   " << o[QStringLiteral("texCoords")].toInteger() << "\n";
  s << "Triangles   " << o[QStringLiteral("triangles")].toInteger() << "\n";
  QStringList mats;
  for (const auto& v : o[QStringLiteral("materials")].toArray()) {
    mats << v.toString();
  }
  s << "Materials   " << (mats.isEmpty() ? QStringLiteral("(none)") : mats.join(QStringLiteral(", "))) << "\n\n";
  s << "Group                              Triangles  Material          Part\n";
  for (const auto& v : o[QStringLiteral("groups")].toArray()) {
    const QJsonObject g = v.toObject();
    s << Qt::left << qSetFieldWidth(34) << ('"' + g[QStringLiteral("name")].toString() + '"') << qSetFieldWidth(0)
      << " " << Qt::right << qSetFieldWidth(9) << g[QStringLiteral("triangles")].toInteger() << qSetFieldWidth(0)
      << "  " << Qt::left << qSetFieldWidth(16)
      << (g[QStringLiteral("material")].isNull() ? QStringLiteral("-") : g[QStringLiteral("material")].toString())
      << qSetFieldWidth(0) << "  "
      << (g[QStringLiteral("part")].isNull() ? QStringLiteral("-") : g[QStringLiteral("part")].toString()) << "\n";
  }
  QStringList missing;
  for (const auto& v : o[QStringLiteral("missingParts")].toArray()) {
    missing << v.toString();
  }
  s << "\nParts without a group: " << (missing.isEmpty() ? QStringLiteral("none") : missing.join(QStringLiteral(", ")))
    << "\n";
  auto triple = [](const QJsonValue& v) {
    QStringList l;
    for (const auto& x : v.toArray()) {
      l << (x.isNull() ? QStringLiteral("-") : QString::number(x.toDouble(), 'f', 3));
    }
    return l.join(QStringLiteral(", "));
  };
  const QJsonObject b = o[QStringLiteral("bounds")].toObject();
  s << "Bounds (x " << kModelScale << "): min (" << triple(b[QStringLiteral("min")]) << ")  max ("
    << triple(b[QStringLiteral("max")]) << ")\n";
  return out;
}
