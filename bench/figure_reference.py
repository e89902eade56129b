#!/usr/bin/python3
# What a researcher would otherwise write for one chart of a run: the head's
# skin temperature over time from bodyProperty.dat, read with pandas and
# drawn with matplotlib as an 85 mm figure at 300 dpi. bench_figure times it
# against corvane --figure of the same chart.
#
#   figure_reference.py RUN_DIR OUT.(pdf|svg|png)
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import pandas as pd  # noqa: E402

run, out = sys.argv[1], sys.argv[2]
body = pd.read_csv(f"{run}/bodyProperty.dat", sep="\t", header=None, usecols=range(11))
head = body[body[1] == 0]
fig, ax = plt.subplots(figsize=(85 / 25.4, 85 / 25.4 * 0.625), dpi=300)
ax.plot(head[0], head[2], linewidth=1)
ax.set_xlabel("Time(min)", fontsize=8)
ax.set_ylabel("Temperature of Skin(Degree)", fontsize=8)
ax.set_title(f"{run.rstrip('/').split('/')[-1]} · Head · Body Property · Temperature of Skin(Degree)", fontsize=9)
ax.tick_params(labelsize=7)
ax.set_xlim(left=0)
fig.tight_layout()
fig.savefig(out, dpi=300)
