#include "BatchShares.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace {
// Runs joined into groups: each output joins its run and its compared runs.
class CGroups {
 public:
  std::size_t Of(const QString& run) {
    const auto [it, added] = m_index.emplace(run, m_parent.size());
    if (added) {
      m_parent.push_back(m_parent.size());
    }
    return Root(it->second);
  }
  void Join(std::size_t a, std::size_t b) { m_parent[Root(a)] = Root(b); }
  std::size_t Root(std::size_t i) {
    while (m_parent[i] != i) {
      i = m_parent[i] = m_parent[m_parent[i]];
    }
    return i;
  }

 private:
  std::map<QString, std::size_t> m_index;
  std::vector<std::size_t> m_parent;
};
}  // namespace

std::vector<std::size_t> BatchShare(const std::vector<BatchOutput>& outputs, int task, int tasks) {
  CGroups groups;
  for (const BatchOutput& out : outputs) {
    const std::size_t run = groups.Of(out.run);
    for (const QString& c : out.compared) {
      groups.Join(groups.Of(c), run);
    }
  }
  // Each group's outputs, the groups in the order of their first output.
  std::map<std::size_t, std::size_t> slotOf;
  std::vector<std::vector<std::size_t>> members;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::size_t root = groups.Root(groups.Of(outputs[i].run));
    const auto [it, added] = slotOf.emplace(root, members.size());
    if (added) {
      members.emplace_back();
    }
    members[it->second].push_back(i);
  }
  // The biggest group first, each to the share with the fewest outputs so
  // far (the lower share on a tie): the same shares on every node.
  std::vector<std::size_t> order(members.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return members[a].size() > members[b].size(); });
  std::vector<std::size_t> load(static_cast<std::size_t>(std::max(1, tasks)), 0);
  std::vector<std::size_t> mine;
  for (const std::size_t g : order) {
    const auto least = static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
    load[least] += members[g].size();
    if (least == static_cast<std::size_t>(task)) {
      mine.insert(mine.end(), members[g].begin(), members[g].end());
    }
  }
  std::sort(mine.begin(), mine.end());
  return mine;
}

TaskChoice ChooseTask(const QString& task, const QString& tasks) {
  TaskChoice choice;
  bool okN = true;
  const int n = tasks.isEmpty() ? -1 : tasks.toInt(&okN);
  if (!okN || (!tasks.isEmpty() && n < 1)) {
    choice.error = QStringLiteral("--tasks takes the number of shares, from 1, not \"%1\"").arg(tasks);
    return choice;
  }
  if (task == QLatin1String("auto")) {
    bool okId = false, okMin = false, okCount = false;
    const int id = qEnvironmentVariable("SLURM_ARRAY_TASK_ID").toInt(&okId);
    const int min = qEnvironmentVariable("SLURM_ARRAY_TASK_MIN").toInt(&okMin);
    const int count = qEnvironmentVariable("SLURM_ARRAY_TASK_COUNT").toInt(&okCount);
    if (!okId || !okMin || !okCount || count < 1) {
      choice.error = QStringLiteral(
          "--task auto is for a Slurm array job: SLURM_ARRAY_TASK_ID, "
          "SLURM_ARRAY_TASK_MIN and SLURM_ARRAY_TASK_COUNT are not set, or disagree");
      return choice;
    }
    // The ids of --array=0-21:3 are 0, 3, ... 21, a step apart; a list of
    // ids (1,4,9) is no range, and its tasks cannot tell their share.
    bool okStep = true, okMax = true;
    const int step = qEnvironmentVariableIsSet("SLURM_ARRAY_TASK_STEP")
                         ? qEnvironmentVariable("SLURM_ARRAY_TASK_STEP").toInt(&okStep)
                         : 1;
    const int max = qEnvironmentVariableIsSet("SLURM_ARRAY_TASK_MAX")
                        ? qEnvironmentVariable("SLURM_ARRAY_TASK_MAX").toInt(&okMax)
                        : min + (count - 1) * std::max(step, 1);
    if (!okStep || !okMax || step < 1 || id < min || (id - min) % step != 0 || (id - min) / step >= count ||
        max != min + (count - 1) * step) {
      choice.error = QStringLiteral(
          "--task auto takes an array of evenly spaced ids (--array=0-7, or 0-21:3); for another, give each "
          "task --task K --tasks N");
      return choice;
    }
    if (n >= 1 && n != count) {
      choice.error = QStringLiteral("--tasks %1 does not match the array job's %2 tasks").arg(n).arg(count);
      return choice;
    }
    choice.task = (id - min) / step;
    choice.tasks = count;
    return choice;
  }
  bool okK = false;
  const int k = task.toInt(&okK);
  if (n < 1) {
    choice.error = QStringLiteral("--task K goes with --tasks N (or --task auto in a Slurm array job)");
    return choice;
  }
  if (!okK || k < 0 || k >= n) {
    choice.error = QStringLiteral("--task takes a share from 0 to %1, or auto, not \"%2\"").arg(n - 1).arg(task);
    return choice;
  }
  choice.task = k;
  choice.tasks = n;
  return choice;
}
