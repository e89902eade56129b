#!/usr/bin/python3
"""bench/python_load.py RUN_DIR... [--runs N]: reading a whole run into
DataFrames, as a researcher does it in Python, in whole processes:

  corvane   corvane.load(run) and every DataFrame of it (body, comfort,
            environment, each part's fabric, each fibre file);
  pandas    pandas.read_csv of every table file, its default parser (what
            scripts do today);
  pandas-rt the same with float_precision="round_trip", the parser that gives
            the files' own values, as corvane does.

Wall time from start to exit and peak memory (the process's maximum resident
set), medians of N runs each, the three taken in turns so that each sees the
same machine; and, once, whether corvane's values equal pandas-rt's.
Run with Debian's /usr/bin/python3 and PYTHONPATH naming the module (BUILD/python).
"""

import os
import statistics
import subprocess
import sys
import time

CORVANE = """
import sys, corvane
run = corvane.load(sys.argv[1])
frames = [run.body, run.comfort, run.environment, *(run.fabric(p) for p in corvane.PARTS), *run.fibres.values()]
print(sum(len(f) for f in frames))
"""

PANDAS = """
import glob, os, sys, pandas as pd
d, mode = sys.argv[1], sys.argv[2]
extra = {"float_precision": "round_trip"} if mode == "rt" else {}
rows = 0
for name in sorted(os.listdir(d)):
    if name.endswith(".dat") and name != "id.dat":
        skip = 1 if name == "configure.dat" else 0
        rows += len(pd.read_csv(os.path.join(d, name), sep="\\t", header=None, skiprows=skip, **extra))
print(rows)
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
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"python_load: {' '.join(args[:3])} failed")
    return seconds, usage.ru_maxrss / 1024.0  # MB


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
    med = {k: (statistics.median(s for s, _ in v), statistics.median(m for _, m in v)) for k, v in seen.items()}
    for k, (s, m) in med.items():
        print(f"  {k:10s} {s:8.2f} s   peak {m:8.1f} MB")
    c = med["corvane"]
    for k in ("pandas", "pandas-rt"):
        print(f"  corvane against {k}: {med[k][0] / c[0]:.2f}x faster, {c[1] / med[k][1]:.2f} of its peak memory")


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
