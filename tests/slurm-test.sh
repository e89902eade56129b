#!/usr/bin/env bash
# slurm-test.sh CORVANE SAMPLE_RUN: a batch as a Slurm array job on a one-node
# cluster of its own (munge and Slurm's two daemons, configured here in a
# temporary folder, on free ports), against the same batch in one process:
# the union of the tasks' files must equal the single process's, byte for
# byte. Skips (77) where Slurm cannot run: not root, or no Slurm installed.
set -euo pipefail
corvane=$1
sample=$2
if [ "$(id -u)" != 0 ] || ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
  echo "slurm-test: needs root and Debian's slurm-wlm and munge; skipped" >&2
  exit 77
fi
work=$(mktemp -d)
cleanup() {
  SLURM_CONF=$work/slurm.conf scontrol shutdown >/dev/null 2>&1 || true
  local pids=()
  for file in "$work"/slurmctld.pid "$work"/slurmd.pid "$work"/munged.pid; do
    if [ -f "$file" ]; then pids+=("$(cat "$file")"); fi
  done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # The daemons write their last words as they go: the folder goes after them.
  for _ in $(seq 100); do
    alive=0
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" = 0 ] && break
    sleep 0.1
  done
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work" || true
}
trap cleanup EXIT

# Two free ports, one for each daemon.
free_port() {
  while :; do
    local port=$((20000 + RANDOM % 30000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
}
ctld_port=$(free_port)
slurmd_port=$(free_port)
while [ "$slurmd_port" = "$ctld_port" ]; do slurmd_port=$(free_port); done

mkdir -p "$work"/{state,spool,log,runs,single,array}
head -c 1024 /dev/urandom >"$work/munge.key"
chmod 400 "$work/munge.key"
# A machine where the daemons cannot start is said in their own words and
# skipped: the array's shares are tested as separate processes all the same
# (test_cli, Batch.TheSharesOfAnArrayJobMakeWhatOneProcessMakes).
if ! munged --force --key-file="$work/munge.key" --socket="$work/munge.sock" --pid-file="$work/munged.pid" \
  --log-file="$work/log/munged.log" --seed-file="$work/munge.seed"; then
  echo "slurm-test: munged does not start here; skipped:" >&2
  cat "$work/log/munged.log" >&2 || true
  exit 77
fi
host=$(hostname)
cat >"$work/slurm.conf" <<CONF
ClusterName=corvane-test
SlurmctldHost=$host
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
AuthType=auth/munge
AuthInfo=socket=$work/munge.sock
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MpiDefault=none
JobCompType=jobcomp/none
AccountingStorageType=accounting_storage/none
NodeName=$host CPUs=$(nproc) State=UNKNOWN
PartitionName=corvane Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF=$work/slurm.conf
slurmctld -f "$SLURM_CONF"
slurmd -f "$SLURM_CONF"
# The node takes jobs once it has registered (a minute at the most).
for _ in $(seq 600); do
  if sinfo -h -o %t 2>/dev/null | grep -qE '^(idle|mix|alloc)'; then break; fi
  sleep 0.1
done
if ! sinfo -h -o %t 2>/dev/null | grep -qE '^(idle|mix|alloc)'; then
  echo "slurm-test: a one-node Slurm does not come up here; skipped. The daemons said:" >&2
  tail -20 "$work/log/slurmctld.log" "$work/log/slurmd.log" >&2 || true
  exit 77
fi

# Three fabrics; a comparison links two of them into one group.
for run in wool cotton silk; do cp -r "$sample" "$work/runs/$run"; done
for where in single array; do
  cat >"$work/$where/paper.toml" <<TOML
[[output]]
figure = "wool.pdf"
run = "../runs/wool"
option = 2100
quantity = [0, 1]
width-mm = 85
dpi = 300

[[output]]
csv = "cotton-silk.csv"
run = "../runs/cotton"
option = 2100
compare = ["../runs/silk"]

[[output]]
figure = "silk.png"
run = "../runs/silk"
option = 1100
size = "400x300"

[[output]]
screenshot = "wool.png"
run = "../runs/wool"
view = "static"
size = "160x120"

[[output]]
csv = "silk.csv"
run = "../runs/silk"
option = 1100
TOML
done
"$corvane" --batch "$work/single/paper.toml" 2>"$work/log/single.txt"

cat >"$work/job.sh" <<JOB
#!/bin/bash
exec "$corvane" --batch "$work/array/paper.toml" --task auto
JOB
chmod +x "$work/job.sh"
sbatch --quiet --wait --array=0-2 --output="$work/log/task-%a.txt" "$work/job.sh" || {
  echo "slurm-test: the array job failed:" >&2
  cat "$work"/log/task-*.txt >&2
  exit 1
}
cat "$work"/log/task-*.txt >&2

# The same files, each made by one task alone.
single=$(cd "$work/single" && ls | grep -v paper.toml)
array=$(cd "$work/array" && ls | grep -v paper.toml)
if [ "$single" != "$array" ]; then
  echo "slurm-test: the tasks made [$array], one process [$single]" >&2
  exit 1
fi
for f in $single; do
  case "$f" in
    *.pdf) cmp <(grep -av CreationDate "$work/single/$f") <(grep -av CreationDate "$work/array/$f") ;;
    *) cmp "$work/single/$f" "$work/array/$f" ;;
  esac
done
made=$(grep -h '^\[' "$work"/log/task-*.txt | sed 's/^\[[0-9]*\/[0-9]*\] //' | sort | uniq -d)
if [ -n "$made" ]; then
  echo "slurm-test: made by more than one task: $made" >&2
  exit 1
fi
echo "slurm-test: 3 array tasks made the 5 files one process makes"
