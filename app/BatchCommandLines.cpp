// The command lines of many outputs or many runs: --batch, whose file lists
// the outputs, and --study, a row of figures per run.

#include <QCommandLineParser>

#include "BatchCommand.h"
#include "BatchShares.h"
#include "StudyCommand.h"
#include "internal/CommandLines.h"

namespace cli {

int BatchCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  // The batch file is the command line of all its outputs: nothing beside
  // it but the share of a cluster's array job. Nor does a batch list a
  // batch (`use.plan`: one is planning its outputs).
  const int shareOptions = (parser.isSet(o.task) ? 1 : 0) + (parser.isSet(o.tasks) ? 1 : 0);
  if (!parser.positionalArguments().isEmpty() || parser.optionNames().size() != qsizetype{1} + shareOptions ||
      use.plan) {
    return Refuse(
        QStringLiteral("--batch FILE [--task K --tasks N] takes nothing else; the file lists the outputs "
                       "and their options."));
  }
  TaskChoice share;
  if (shareOptions > 0) {
    share = ChooseTask(parser.isSet(o.task) ? parser.value(o.task) : QString(), parser.value(o.tasks));
    if (!parser.isSet(o.task)) {
      share.error = QStringLiteral("--tasks N goes with --task K");
    }
    if (!share.error.isEmpty()) {
      return Refuse(QStringLiteral("%1.").arg(share.error));
    }
  }
  return use.checkOnly ? 0 : RunBatchCommand(parser.value(o.batch), share.task, share.tasks);
}

int StudyCommand(const QCommandLineParser& parser, const CommandUse& use) {
  const Options& o = TheOptions();
  if (const int refused = RefuseShareOptions(parser)) {
    return refused;
  }
  // The runs are the positional arguments, one row each; nothing else.
  const QStringList runs = parser.positionalArguments();
  if (runs.isEmpty() || parser.optionNames().size() != 1) {
    return Refuse(QStringLiteral("--study FILE RUN... takes the runs of the study and nothing else."));
  }
  return PlanOrRun(StudyOptions{parser.value(o.study), runs}, use,
                   [](const StudyOptions& study) { return RunStudyCommand(study); });
}

}  // namespace cli
