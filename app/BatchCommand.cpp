#include "BatchCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <map>
#include <numeric>
#include <variant>

#include "BatchFile.h"
#include "BatchShares.h"
#include "CommandLine.h"
#include "FigureWriter.h"
#include "RunCache.h"
#include "ScienceLogic.h"
#include "ScreenshotCommand.h"

namespace {
// The parser's words about one output, without its own prefix and its
// pointer to --help: the batch names the output instead.
QString Reason(QString said) {
  said = said.trimmed();
  said.remove(QStringLiteral("\nTry 'corvane --help'."));
  if (said.startsWith(QLatin1String("corvane: "))) {
    said.remove(0, 9);
  }
  if (said.endsWith(QLatin1Char('.'))) {
    said.chop(1);
  }
  return said;
}

// Whether an output reads no more of its runs than their body and comfort
// files: a chart of a body or comfort option (its figure or CSV; not a
// thickness profile), or a study. Pictures of a whole page show every
// part's panel, and so its layers and fibres.
bool BodyAndComfortAlone(const PlannedCommand& plan) {
  auto chartOnly = [](int option, bool profile) {
    const OptionKind kind = DecodeOption(option).kind;
    return !profile && (kind == OptionKind::Body || kind == OptionKind::Comfort);
  };
  if (const auto* f = std::get_if<FigureOptions>(&plan)) {
    return chartOnly(f->option, f->profileAt.has_value());
  }
  if (const auto* e = std::get_if<ExportOptions>(&plan)) {
    return chartOnly(e->option, e->profileAt.has_value());
  }
  return std::holds_alternative<StudyOptions>(plan);
}

int Run(const PlannedCommand& plan, CRunCache& runs, CFigureWriter& figures) {
  return std::visit(
      [&runs, &figures](const auto& options) -> int {
        using T = std::decay_t<decltype(options)>;
        if constexpr (std::is_same_v<T, ExportOptions>) {
          return RunExportCsvCommand(options, &runs);
        } else if constexpr (std::is_same_v<T, FigureOptions>) {
          return RunFigureCommand(options, &runs, &figures);
        } else if constexpr (std::is_same_v<T, ScreenshotOptions>) {
          return RunScreenshotCommand(options, &runs);
        } else if constexpr (std::is_same_v<T, MovieOptions>) {
          return RunMovieCommand(options, &runs);
        } else if constexpr (std::is_same_v<T, StudyOptions>) {
          return RunStudyCommand(options, &runs);
        } else {
          return 2;
        }
      },
      plan);
}
}  // namespace

int RunBatchCommand(const QString& path, int task, int tasks) {
  const BatchFile batch = ReadBatchFile(path);
  if (!batch.error.isEmpty()) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(batch.error));
    return 2;
  }
  const QString name = QFileInfo(path).fileName();
  const QDir base = QFileInfo(path).absoluteDir();
  // Every output is checked before the first is made.
  std::vector<PlannedCommand> plans;
  for (const BatchOutput& out : batch.outputs) {
    PlannedCommand plan;
    QString said;
    if (PlanCommandLine(out.arguments, &plan, &said) != 0 || std::holds_alternative<std::monostate>(plan)) {
      std::fprintf(stderr, "corvane: %s: %s: %s.\n", qPrintable(name), qPrintable(out.Name()),
                   qPrintable(Reason(said)));
      return 2;
    }
    plans.push_back(std::move(plan));
  }
  std::vector<std::size_t> chosen(batch.outputs.size());
  std::iota(chosen.begin(), chosen.end(), 0);
  QString label = name;
  if (tasks > 1) {
    chosen = BatchShare(batch.outputs, task, tasks);
    label = QStringLiteral("%1 (share %2 of %3)").arg(name).arg(task).arg(tasks);
  }
  // A run goes once the last output that shows it is made.
  std::map<QString, std::size_t> lastUse;
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    const BatchOutput& out = batch.outputs[chosen[k]];
    lastUse[CRunCache::KeyOf(out.run)] = k;
    for (const QString& c : out.compared) {
      lastUse[CRunCache::KeyOf(c)] = k;
    }
  }
  CRunCache runs;
  // A run is read whole unless every output of this share that shows it
  // needs its body and comfort files alone (a big run's fabric files are
  // most of it).
  std::map<QString, bool> partial;
  for (const std::size_t i : chosen) {
    const BatchOutput& out = batch.outputs[i];
    const bool alone = BodyAndComfortAlone(plans[i]);
    for (const QString& dir : QStringList{out.run} + out.compared) {
      const QString key = CRunCache::KeyOf(dir);
      const auto it = partial.find(key);
      partial[key] = (it == partial.end() || it->second) && alone;
    }
  }
  for (const auto& [dir, alone] : partial) {
    runs.SetScope(dir, alone ? LoadScope::BodyAndComfort : LoadScope::Whole);
  }
  std::map<std::size_t, QString> failed;  // by the output's place in the share
  const std::size_t total = chosen.size();
  // Chart figures are written while the next output is made; the batch
  // says how each went once all are done, by the output it was queued for.
  CFigureWriter figures(QThread::idealThreadCount());
  struct Queued {
    std::size_t place;
    QString name;
  };
  std::vector<Queued> queued;
  for (std::size_t k = 0; k < total; ++k) {
    const std::size_t i = chosen[k];
    const BatchOutput& out = batch.outputs[i];
    const QString shown = base.relativeFilePath(out.file);
    std::fprintf(stderr, "[%zu/%zu] %s\n", k + 1, total, qPrintable(shown));
    std::fflush(stderr);
    const std::size_t before = figures.Queued();
    if (Run(plans[i], runs, figures) != 0) {
      std::fprintf(stderr, "corvane: %s: %s failed.\n", qPrintable(name), qPrintable(out.Name()));
      failed[k] = shown;
    } else if (figures.Queued() > before) {
      queued.push_back({k, out.Name()});
    }
    for (const auto& [run, last] : lastUse) {
      if (last == k) {
        runs.Release(run);
      }
    }
  }
  const std::vector<CFigureWriter::Outcome> written = figures.Finish();
  for (std::size_t j = 0; j < written.size() && j < queued.size(); ++j) {
    if (!written[j].written) {
      std::fprintf(stderr, "corvane: %s.\n", qPrintable(written[j].error));
      std::fprintf(stderr, "corvane: %s: %s failed.\n", qPrintable(name), qPrintable(queued[j].name));
      failed[queued[j].place] = base.relativeFilePath(written[j].path);
    }
  }
  std::fprintf(stderr, "corvane: %s: %zu of %zu outputs written, %d %s loaded", qPrintable(label),
               total - static_cast<std::size_t>(failed.size()), total, runs.Loads(),
               runs.Loads() == 1 ? "run" : "runs");
  if (!failed.empty()) {
    QStringList names;
    for (const auto& [place, shown] : failed) {
      names << shown;
    }
    std::fprintf(stderr, "; failed: %s", qPrintable(names.join(QStringLiteral(", "))));
  }
  std::fprintf(stderr, ".\n");
  return failed.empty() ? 0 : 1;
}
