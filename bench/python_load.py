#!/usr/bin/python3
"""bench/python_load.py RUN_DIR... [--runs N]: reading a whole run into
DataFrames, as a researcher does it in Python, in whole processes:

  corvane   corvane.load(run) and every DataFrame of it (body, comfort,
            environment, each part's fabric, each fibre file);
  pandas    pandas.read_csv of every table file, its default parser (what
            scripts do today);
  pandas-rt the same with float_precision="round_trip", the parser that gives
            the files' own values, as corvane does.

Each in a process of its own: the reading's time (from before the first read
to the last frame, the interpreter and its imports ready, which both pay
alike), the whole process's wall time from start to exit, and its peak memory
(the maximum resident set, every frame held to the end), medians of N runs each, the three taken in turns so that each sees the
same machine; and, once, whether corvane's values equal pandas-rt's.
Run with Debian's /usr/bin/python3 and PYTHONPATH naming the module (BUILD/python).
"""

import os
import statistics
import subprocess
import sys
import time

CORVANE = """
import sys, time, corvane
start = time.perf_counter()
run = corvane.load(sys.argv[1])
frames = [run.body, run.comfort, run.environment, *(run.fabric(p) for p in corvane.PARTS), *run.fibres.values()]
print(time.perf_counter() - start, sum(len(f) for f in frames))
"""

PANDAS = """
import os, sys, time, pandas as pd
d, mode = sys.argv[1], sys.argv[2]
extra = {"float_precision": "round_trip"} if mode == "rt" else {}
start = time.perf_counter()
frames = {}
for name in sorted(os.listdir(d)):
    if name.endswith(".dat") and name != "id.dat":
        skip = 1 if name == "configure.dat" else 0
        frames[name] = pd.read_csv(os.path.join(d, name), sep="\\t", header=None, skiprows=skip, **extra)
print(time.perf_counter() - start, sum(len(f) for f in frames.values()))
"""

CHECK = """
import os, sys, numpy as np, pandas as pd, corvane
d = sys.argv[1]
run = corvane.load(d)
def read(name):
    f = pd.read_csv(os.path.join(d, name), sep="\\t", header=None, float_precision="round_trip")
    return f.dropna(axis=1, how="all").to_numpy(np.float64)
body = read("bodyProperty.dat")
same = np.array_equal(run.body.iloc[:, 2:].to_numpy(), body[:, 2:], equal_nan=True)
for p in corvane.PARTS:
    if os.path.exists(os.path.join(d, f"fabrics{p}.dat")) and not run.fabric(p).empty:
        t = read(f"fabrics{p}.dat")
        same = same and np.array_equal(run.fabric(p).iloc[:, 4:4 + t.shape[1] - 3].to_numpy(), t[:, 3:], equal_nan=True)
print("equal" if same else "DIFFERENT")
"""


def timed(args):
    start = time.perf_counter()
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"python_load: {' '.join(args[:3])} failed")
    return seconds, float(out.split()[0]), usage.ru_maxrss / 1024.0  # MB


def measure(run, runs):
    size = sum(e.stat().st_size for e in os.scandir(run) if e.is_file()) / 1e6
    py = sys.executable
    kinds = {
        "corvane": [py, "-c", CORVANE, run],
        "pandas": [py, "-c", PANDAS, run, "default"],
        "pandas-rt": [py, "-c", PANDAS, run, "rt"],
    }
    for args in kinds.values():
        timed(args)  # the run's files in the page cache for each
    seen = {k: [] for k in kinds}
    for _ in range(runs):
        for k, args in kinds.items():
            seen[k].append(timed(args))
    check = subprocess.run([py, "-c", CHECK, run], capture_output=True, text=True).stdout.strip()
    print(f"run: {run}, {size:.1f} MB on disk; medians of {runs} runs; values {check}")
    med = {k: tuple(statistics.median(x[i] for x in v) for i in range(3)) for k, v in seen.items()}
    for k, (s, op, m) in med.items():
        print(f"  {k:10s} process {s:6.2f} s   reading {op:6.2f} s   peak {m:8.1f} MB")
    c = med["corvane"]
    for k in ("pandas", "pandas-rt"):
        print(
            f"  corvane against {k}: reading {med[k][1] / c[1]:.2f}x faster, process {med[k][0] / c[0]:.2f}x,"
            f" {c[2] / med[k][2]:.2f} of its peak memory"
        )


def main(argv):
    runs = 3
    if "--runs" in argv:
        i = argv.index("--runs")
        runs = int(argv[i + 1])
        del argv[i : i + 2]
    if not argv:
        sys.exit(__doc__)
    for run in argv:
        measure(run, runs)


if __name__ == "__main__":
    main(sys.argv[1:])
