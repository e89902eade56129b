"""Run folders for the module's tests, written the way a simulation writes
them: printf's shapes, tab-separated, a trailing tab where the files have one."""

import os
import random

import pytest

PARTS = ["Head", "Trunk", "Arm", "Hand", "Leg", "Foot"]


def _value(rng, shape):
    # Magnitudes a run holds: temperatures, rates of 1e-7, pressures of 1e3.
    v = rng.choice([rng.uniform(20, 40), rng.uniform(-1e-6, 1e-6), rng.uniform(0, 5000), rng.uniform(0, 1)])
    return shape % v


def _write(folder, name, rows, end="\t\n"):
    # One line a row, its fields parted by tabs.
    with open(os.path.join(folder, name), "w") as f:
        f.writelines("\t".join(row) + end for row in rows)


def write_run(folder, shape="%f", samples=5, interval=0.1, start=2.0, clothed=("Trunk", "Leg"), layers=3,
              nodes=4, seed=1, ninth=False):
    """A whole run in `folder`; returns the folder. Times start at `start`
    minutes, `interval` apart, as "%f" writes them (a simulation's clock)."""
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    clothing = ["1" if p in clothed else "0" for p in PARTS]
    with open(os.path.join(folder, "configure.dat"), "w") as f:
        f.write("Selected model:2\n")
        f.write("\t".join(["1", shape % 25.5, shape % 0.45, "0.1"] + clothing + [shape % 10.25, "58", "25"]) + "\n")
        f.write("\t".join(["2", shape % 31.25, shape % 0.7, "0.1"] + clothing + [shape % 20.5, "58", "25"]) + "\n")
    times = [start + k * interval for k in range(samples)]
    _write(folder, "bodyProperty.dat",
           ([shape % t, "%d" % p] + [_value(rng, shape) for _ in range(9)] for t in times for p in range(6)))
    _write(folder, "BodyDataforComfort.dat",
           ([shape % t, "%d" % p] + [shape % rng.uniform(-5, 105) for _ in range(3)] for t in times for p in range(6)))
    for part in clothed:
        _write(folder, f"fabrics{part}.dat",
               ([shape % t, shape % ((layer - 1) * 0.05 + n * 0.0125), "%d" % layer]
                + [_value(rng, shape) for _ in range(6 if ninth else 5)]
                for t in times for layer in range(1, layers + 1) for n in range(nodes)))
    _write(folder, "FiberTrunk_Cotton.dat",
           ([shape % t, shape % (n * 0.001), _value(rng, shape), _value(rng, shape)] for t in times for n in range(3)),
           end="\n")
    with open(os.path.join(folder, "id.dat"), "w") as f:
        f.write("model id:M1\nthe garment list:1\ngarment id:G1\n")
    return str(folder)


@pytest.fixture
def make_run(tmp_path):
    count = [0]

    def make(**kwargs):
        count[0] += 1
        return write_run(tmp_path / f"run{count[0]}", **kwargs)

    return make


@pytest.fixture(scope="session")
def corvane_bin():
    path = os.environ.get("CORVANE_BIN")
    if not path:
        pytest.skip("CORVANE_BIN names no corvane to compare with")
    return path


@pytest.fixture(scope="session")
def sample_run():
    path = os.environ.get("CORVANE_SAMPLE_RUN")
    if not path:
        pytest.skip("CORVANE_SAMPLE_RUN names no sample run")
    return path
