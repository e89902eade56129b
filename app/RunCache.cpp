#include "RunCache.h"

#include <QDir>
#include <QFileInfo>

#include "MessageSink.h"
#include "SimulationData.h"

CRunCache::CRunCache() = default;
CRunCache::~CRunCache() = default;

QString CRunCache::KeyOf(const QString& dir) {
  // One run however its folder is named (a trailing separator, "..", a link).
  const QString canonical = QFileInfo(dir).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : canonical;
}

CSimulationData* CRunCache::Get(const QString& dir) {
  const QString key = KeyOf(dir);
  auto it = m_runs.find(key);
  if (it == m_runs.end()) {
    auto run = std::make_unique<CSimulationData>();
    run->SetMessageSink(&CStderrMessageSink::Instance());
    ++m_loads;
    const auto scope = m_scopes.find(key);
    if (!run->Load(dir, scope == m_scopes.end() ? LoadScope::Whole : scope->second)) {
      run.reset();
    }
    it = m_runs.emplace(key, std::move(run)).first;
  }
  CSimulationData* run = it->second.get();
  if (run) {
    // What an earlier output showed (a step, a layer, labels) is not this one's.
    run->State().Restart();
    run->State().SetOutlinedLabels(false);
    run->SetMessageSink(&CStderrMessageSink::Instance());
  }
  return run;
}

std::unique_ptr<CSimulationData> CRunCache::Lend(const QString& dir) {
  if (!Get(dir)) {
    return nullptr;
  }
  return std::move(m_runs[KeyOf(dir)]);
}

void CRunCache::Return(const QString& dir, std::unique_ptr<CSimulationData> run) {
  if (run) {
    m_runs[KeyOf(dir)] = std::move(run);
  }
}

void CRunCache::SetScope(const QString& dir, LoadScope scope) { m_scopes[KeyOf(dir)] = scope; }

void CRunCache::Release(const QString& dir) { m_runs.erase(KeyOf(dir)); }
