#include "RunComparison.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "SimulationData.h"

std::vector<QString> RunLabels(const std::vector<QString>& dirs) {
  // By the names alone: a folder being compared may be gone from the disk.
  std::vector<QFileInfo> folders;
  std::vector<QString> names;
  for (const QString& d : dirs) {
    folders.emplace_back(QDir::cleanPath(d));
    names.push_back(folders.back().fileName());
  }
  auto shared = [](const std::vector<QString>& all, std::size_t i) {
    return std::count(all.begin(), all.end(), all[i]) > 1;
  };
  std::vector<QString> labels = names;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (shared(names, i)) {
      const QString parent = QFileInfo(folders[i].path()).fileName();
      labels[i] = parent.isEmpty() ? names[i] : parent + QLatin1Char('/') + names[i];
    }
  }
  std::vector<QString> numbered = labels;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const auto earlier = std::count(labels.begin(), labels.begin() + static_cast<std::ptrdiff_t>(i), labels[i]);
    if (earlier > 0) {
      numbered[i] += QStringLiteral(" (%1)").arg(earlier + 1);
    }
  }
  return numbered;
}

std::vector<QString> RunLabels(const CSimulationData& first, const std::vector<const CSimulationData*>& others) {
  std::vector<QString> dirs{first.Run().m_strDataDir};
  for (const CSimulationData* o : others) {
    dirs.push_back(o->Run().m_strDataDir);
  }
  return RunLabels(dirs);
}

QString RunList(const std::vector<QString>& names) {
  if (names.size() < 2) {
    return names.empty() ? QString() : names.front();
  }
  QStringList head;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    head << names[i];
  }
  return QStringLiteral("%1 and %2").arg(head.join(QStringLiteral(", ")), names.back());
}

QString DelimitedField(const QString& text, QChar separator) {
  if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}
