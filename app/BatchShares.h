#pragma once
// A batch cut into shares for a cluster's array job: share K of N holds whole
// groups of runs (outputs linked by a compared run stay with their runs, so
// that no run is loaded in two shares), the groups dealt out so that the
// shares' output counts stay even. Every output is in exactly one share; a
// share may be empty.

#include <QString>
#include <optional>
#include <vector>

#include "BatchFile.h"

// The outputs (their indices in `outputs`, in the file's order) of share
// `task` of `tasks`.
std::vector<std::size_t> BatchShare(const std::vector<BatchOutput>& outputs, int task, int tasks);

struct TaskChoice {
  int task = 0, tasks = 1;
  QString error;  // what is wrong with the values; empty when they hold
};
// --task K (from 0, or "auto") and --tasks N. With "auto" K and N come from
// a Slurm array job's environment: K = SLURM_ARRAY_TASK_ID minus
// SLURM_ARRAY_TASK_MIN, N = SLURM_ARRAY_TASK_COUNT (--tasks, when given,
// must agree).
TaskChoice ChooseTask(const QString& task, const QString& tasks);
