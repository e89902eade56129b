#!/usr/bin/python3
# What a researcher would otherwise write for a paper's twelve figures of a
# run: the skin and the core temperature of each of the six parts over time,
# read from bodyProperty.dat with pandas (once) and drawn with matplotlib as
# 85 mm PDF figures at 300 dpi. bench_batch times it against one
# `corvane --batch` of the same twelve figures.
#
#   batch_reference.py RUN_DIR OUT_DIR
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import pandas as pd  # noqa: E402

run, out = sys.argv[1], sys.argv[2]
name = run.rstrip("/").split("/")[-1]
body = pd.read_csv(f"{run}/bodyProperty.dat", sep="\t", header=None, usecols=range(11))
parts = ["Head", "Trunk", "Arm", "Hand", "Leg", "Foot"]
quantities = [(2, "Temperature of Skin(Degree)", "skin"), (3, "Temperature of Core(Degree)", "core")]
for p, part in enumerate(parts):
    rows = body[body[1] == p]
    for column, label, short in quantities:
        fig, ax = plt.subplots(figsize=(85 / 25.4, 85 / 25.4 * 0.625), dpi=300)
        ax.plot(rows[0], rows[column], linewidth=1)
        ax.set_xlabel("Time(min)", fontsize=8)
        ax.set_ylabel(label, fontsize=8)
        ax.set_title(f"{name} · {part} · Body Property · {label}", fontsize=9)
        ax.tick_params(labelsize=7)
        ax.set_xlim(left=0)
        fig.tight_layout()
        fig.savefig(f"{out}/{part.lower()}-{short}.pdf", dpi=300)
        plt.close(fig)
